#include "app/view/tool_placement.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>

namespace korvel {
namespace {

// The main window with its drawing at the left and the panel beside it.
Surroundings aroundMainAt(int left, int top, const ScreenRect& screen) {
    const ScreenRect main{left, top, 741, 602};
    return {main, {main.left + 9, main.top + 48, 568, 500}, screen, {}};
}

TEST(ToolPlacementTest, BesideTheMainWindowWhereThereIsRoomElseOverTheDrawingOnly) {
    const ScreenRect screen{0, 0, 1400, 900};
    // Room on the right, then on the left only.
    EXPECT_EQ(placeToolWindow(aroundMainAt(0, 150, screen), 626, 512).left, 749);
    EXPECT_EQ(placeToolWindow(aroundMainAt(659, 150, screen), 626, 512).right(), 651);
    // Centred, as window managers place it: over the drawing, clear of the
    // panel, on the screen, even when taller than the drawing.
    const Surroundings around = aroundMainAt(330, 150, screen);
    for (int height : {512, 880}) {
        const ScreenRect at = placeToolWindow(around, 626, height);
        EXPECT_FALSE(around.coversPanel(at));
        EXPECT_GE(at.left, screen.left);
        EXPECT_GE(at.top, screen.top);
        EXPECT_LE(at.bottom(), screen.bottom());
    }
}

TEST(ToolPlacementTest, ToolWindowsOpenedTogetherShareTheRoomAndNeverOneSpot) {
    // Orbit Data, Help, Keyboard Shortcuts and About This Scenario opened one
    // after another beside a centred main window, then on a screen with room
    // for none of them beside it.
    for (const Surroundings& start :
         {aroundMainAt(590, 239, {0, 0, 1920, 1080}), aroundMainAt(30, 20, {0, 0, 800, 800})}) {
        Surroundings around = start;
        for (const auto& [width, height] : {std::pair{504, 552}, {522, 586}, {422, 330}, {382, 300}}) {
            const ScreenRect at = placeToolWindow(around, width, height);
            EXPECT_FALSE(around.coversPanel(at)) << at.left << "," << at.top;
            for (const ScreenRect& other : around.others) EXPECT_FALSE(at.left == other.left && at.top == other.top);
            around.others.push_back(at);
        }
        // Where there is room, they do not overlap at all.
        if (start.screen.width == 1920)
            for (std::size_t i = 0; i < around.others.size(); ++i)
                for (std::size_t j = 0; j < i; ++j) {
                    const ScreenRect& a = around.others[i];
                    const ScreenRect& b = around.others[j];
                    EXPECT_TRUE(a.right() <= b.left || b.right() <= a.left || a.bottom() <= b.top ||
                                b.bottom() <= a.top);
                }
    }
}

TEST(ToolPlacementTest, AGrowingWindowGrowsAwayFromTheMainWindowOrClearOfThePanel) {
    const ScreenRect screen{0, 0, 1920, 1080};
    const Surroundings around = aroundMainAt(590, 239, screen);
    // Orbit Data beside the main window on the right, as opened: a preview
    // that fits there widens it to the right.
    ToolWindowPlace place;
    const ScreenRect right = placeToolWindow(around, 504, 552);
    EXPECT_EQ(right.left, around.main.right() + 8);
    EXPECT_EQ(place.resized(right, 572, 552, around).left, right.left);
    // One wider than the room goes over the drawing, never over the panel,
    // and back where it was once it narrows again.
    const ScreenRect wide = place.resized(right, 644, 552, around);
    EXPECT_FALSE(around.coversPanel(wide));
    EXPECT_LE(wide.right(), screen.right());
    EXPECT_EQ(place.resized(wide, 504, 552, around), right);

    // On the left it keeps its right edge, next to the main window.
    const ScreenRect left{around.main.left - 8 - 504, 239, 504, 552};
    EXPECT_EQ(place.resized(left, 560, 600, around).right(), left.right());
    // Over the drawing it keeps its corner, unless it would reach the panel.
    const ScreenRect over{around.drawing.left, around.drawing.top, 400, 300};
    EXPECT_EQ(place.resized(over, 500, 300, around).left, over.left);
    EXPECT_FALSE(around.coversPanel(place.resized(over, 600, 300, around)));
}

}  // namespace
}  // namespace korvel
