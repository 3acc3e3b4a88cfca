#include <gtest/gtest.h>

#include <vector>

#include "app/panel.h"
#include "app/plot_axis.h"
#include "app/tool_placement.h"
#include "fakes.h"

namespace korvel {
namespace {

using testing::DrawCall;
using testing::Rig;
using Kind = RunEvent::Kind;

std::vector<Kind> kinds(const std::vector<RunEvent>& events) {
    std::vector<Kind> out;
    for (const RunEvent& e : events) out.push_back(e.kind);
    return out;
}

TEST(ReadSideTest, EachAcceptedActionIsOneEventAtItsSimulatedTime) {
    Rig rig;
    EXPECT_FALSE(rig.korvel.settings());
    rig.controls.box(kBoxTimeFactor) = "1000";
    rig.run();
    rig.tickAfter(1);
    rig.korvel.cmd_stop_simulation_Click();
    rig.korvel.cmd_stop_simulation_Click();  // already paused: nothing
    rig.clock.reading += 30;
    EXPECT_DOUBLE_EQ(rig.korvel.simulatedTime(), 1000);  // a pause stops it
    rig.korvel.cmd_continue_Click();
    rig.korvel.cmd_color_Click(kBankForward);  // no size yet: refused
    rig.korvel.cmd_color_Click(kBankImpulse1000 + 1);
    const Vec2 before{rig.state.velX[kCraft], rig.state.velY[kCraft]};
    rig.korvel.cmd_color_Click(kBankToLeft);
    rig.controls.box(kBoxDirection) = "up";
    rig.korvel.cmd_apply_Click();  // refused
    rig.controls.box(kBoxSecondPlanetMass) = "0.5";
    rig.controls.box(kBoxSecondPlanetDist) = "3";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);

    const std::vector<RunEvent> events = rig.korvel.drainEvents();
    EXPECT_EQ(kinds(events), (std::vector{Kind::RunStarted, Kind::RunPaused, Kind::RunContinued, Kind::SizeChosen,
                                          Kind::ImpulseFired, Kind::SecondPlanetPlaced}));
    EXPECT_FALSE(rig.korvel.hasEvents());
    EXPECT_EQ(events[0].simulatedTime, 0);
    for (std::size_t i = 1; i < events.size(); ++i) EXPECT_DOUBLE_EQ(events[i].simulatedTime, 1000);
    EXPECT_EQ(events[3].size, 100);
    const RunEvent& burn = events[4];
    EXPECT_EQ(burn.burn, Burn::ToLeft);
    EXPECT_EQ(burn.velocityBefore, before);
    EXPECT_EQ(burn.velocityAfter, (Vec2{rig.state.velX[kCraft], rig.state.velY[kCraft]}));
    // Each step in the energy comes with the event: the burn's in the
    // kinetic part, the second planet's in the potential.
    ASSERT_TRUE(burn.energyBefore && burn.energyAfter);
    EXPECT_EQ(burn.energyBefore->kinetic, (before.x * before.x + before.y * before.y) / 2);
    EXPECT_EQ(burn.energyAfter->potential, burn.energyBefore->potential);
    const RunEvent& placed = events[5];
    ASSERT_TRUE(placed.energyBefore && placed.energyAfter);
    EXPECT_LT(placed.energyAfter->potential, placed.energyBefore->potential);
    EXPECT_EQ(placed.energyAfter->kinetic, placed.energyBefore->kinetic);
    EXPECT_TRUE(rig.state.secondPlanetOn);

    // The settings are those the run started with, whatever the boxes say now.
    rig.controls.box(kBoxPlanetMass) = "7";
    ASSERT_TRUE(rig.korvel.settings());
    EXPECT_EQ(rig.korvel.settings()->planetMass, 1);
    EXPECT_EQ(rig.korvel.settings()->timeFactor, 1000);
    EXPECT_EQ(rig.korvel.settings()->view.screenScale(), 3);
}

TEST(ReadSideTest, AMotionOutOfRangePausesAsAnEvent) {
    Rig rig;
    rig.run();
    rig.korvel.drainEvents();
    rig.state.velX[kCraft] = 1e308;
    rig.tickAfter(1);
    EXPECT_EQ(kinds(rig.korvel.drainEvents()), std::vector{Kind::RunPaused});
}

TEST(ReadSideTest, TheViewGeometryIsTheMappingTheDrawingUses) {
    Rig rig;
    rig.controls.box(kBoxScreenScale) = "-2";
    rig.run();
    const ViewGeometry& view = rig.korvel.settings()->view;
    // The planet is drawn at the view's centre, and the picture's scale is the view's.
    const auto circles = rig.picture.of(DrawCall::Circle);
    ASSERT_FALSE(circles.empty());
    EXPECT_EQ(view.centre(), (Vec2{circles.back().x, circles.back().y}));
    const auto scale = rig.picture.of(DrawCall::Scale).back();
    EXPECT_EQ(scale.x, view.height());
    EXPECT_EQ(scale.y, view.width());
    // A negative scale flips: a point right of and above the planet lands
    // left of and below its centre.
    const Vec2 at = view.toPicture({kLengthUnit, kLengthUnit});
    EXPECT_DOUBLE_EQ(at.x, view.centre().x + 1);
    EXPECT_DOUBLE_EQ(at.y, view.centre().y - 1);
    EXPECT_NEAR(view.reach(), 2 * std::hypot(85.0 / 75, 1) * kLengthUnit, 1e-6);
    EXPECT_FALSE(ViewGeometry(1e308).finite());
}

TEST(PlotAxisTest, RoundBoundsOnAOneTwoFiveStepWithLocaleFreeLabels) {
    const Axis minutes = niceAxis(0, 7.3, 6);
    EXPECT_EQ(minutes.step, 2);
    EXPECT_EQ(minutes.low, 0);
    EXPECT_EQ(minutes.high, 8);
    EXPECT_EQ(minutes.tickCount(), 5);
    EXPECT_EQ(minutes.label(minutes.tick(4)), "8");

    const Axis energy = niceAxis(-0.12, 0.13, 5);
    EXPECT_NEAR(energy.step, 0.05, 1e-15);
    EXPECT_EQ(energy.label(energy.low), "-0.15");
    EXPECT_EQ(energy.label(-1e-18), "0.00");  // never "-0.00"

    // One value gets a band around it; a span that is not finite gets none.
    const Axis flat = niceAxis(-29, -29, 5);
    EXPECT_TRUE(flat.valid());
    EXPECT_LT(flat.low, -29);
    EXPECT_GT(flat.high, -29);
    EXPECT_FALSE(niceAxis(0, HUGE_VAL, 5).valid());
    EXPECT_EQ(niceAxis(0, HUGE_VAL, 5).tickCount(), 0);
}

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
