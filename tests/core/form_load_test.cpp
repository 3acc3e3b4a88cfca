#include <gtest/gtest.h>

#include "app/panel.h"
#include "app/view/window_layout.h"
#include "fakes.h"

namespace korvel {
namespace {

using testing::DrawCall;
using testing::Rig;

TEST(FormLoadTest, LaysThePanelOutOnItsGrid) {
    Rig rig;
    for (int i = 0; i < kLabelCount; ++i) {
        const int top = 1100 + 450 * i;
        EXPECT_EQ(rig.controls.labelRects[i], (TwipsRect{8650, top, 650, 375})) << i;
    }
    for (int i = 0; i < 12; ++i) EXPECT_EQ(rig.controls.boxRects[i], (TwipsRect{9400, 1100 + 450 * i, 750, 375})) << i;
    for (int i = 0; i < kBankCount; ++i)
        EXPECT_EQ(rig.controls.bankRects[i], (TwipsRect{10200, 1100 + 450 * i, 850, 450})) << i;
    EXPECT_EQ(rig.controls.boxRects[12], (TwipsRect{10200, 5600, 850, 375}));
    EXPECT_EQ(rig.controls.boxRects[13], (TwipsRect{10200, 6050, 850, 375}));
    // The readout button ends where box 12 begins.
    EXPECT_EQ(rig.controls.bankRects[9].top + rig.controls.bankRects[9].height, 5600);
}

// The panel keeps to the right edge, the drawing takes the room; smaller is no growth.
TEST(FormLoadTest, AGrownWindowMovesThePanelRightAndGrowsTheDrawing) {
    const TwipsRect run{9600, 120, 1200, 375};
    EXPECT_EQ(grownPanelRect(run, {300, 150}), (TwipsRect{9900, 120, 1200, 375}));
    EXPECT_EQ(grownPictureRect({300, 150}), (TwipsRect{120, 240, 8800, 7650}));
    EXPECT_EQ(grownPictureRect({-300, -150}), (TwipsRect{120, 240, 8500, 7500}));
}

TEST(FormLoadTest, WritesTheDefaultTextsAndCaptions) {
    Rig rig;
    EXPECT_EQ(rig.controls.labels[6], "impulse of 'burn'");
    EXPECT_EQ(rig.controls.boxes[6], "8000");
    EXPECT_EQ(rig.controls.boxes[4], "1.02");
    for (int i : {8, 10, 11}) EXPECT_EQ(rig.controls.boxes[i], "");
    EXPECT_EQ(rig.controls.boxes[12], "second planet mass as multiple of Earth mass (Moon = .0123)");
    EXPECT_EQ(rig.controls.boxes[13], "second planet dist as multiple of Earth radius (Moon = 60.2)");
    EXPECT_EQ(rig.controls.bankCaptions[0], "forward");
    EXPECT_EQ(rig.controls.bankCaptions[8], "2d planet");
    EXPECT_EQ(rig.controls.bankCaptions[9], "dist 1.02");
}

TEST(FormLoadTest, SeedsTheRandomSourceAndBlackensTheSurface) {
    Rig rig;
    ASSERT_EQ(rig.random.seeds.size(), 1u);
    EXPECT_EQ(rig.random.seeds[0], rig.clock.timeOfDay());
    EXPECT_EQ(rig.picture.calls, (std::vector<DrawCall>{{DrawCall::BackColor, 0, 0, 0, kBlack}}));
    EXPECT_FALSE(rig.state.secondPlanetOn);
    EXPECT_EQ(rig.state.impulseSize, 0);
    EXPECT_FALSE(rig.timer.ticking());
}

TEST(FormLoadTest, EditingABoxChangesNothingUntilItIsRead) {
    Rig rig;
    rig.controls.box(kBoxInitDistance) = "7";
    rig.controls.box(kBoxPlanetMass) = "9";
    EXPECT_EQ(rig.controls.bankCaptions[9], "dist 1.02");
    EXPECT_EQ(rig.state.planetMass, "");
}

TEST(FormLoadTest, TheSecondPlanetButtonWorksBeforeAnyRun) {
    Rig rig;
    rig.controls.box(kBoxSecondPlanetDist) = "2";
    rig.controls.box(kBoxSecondPlanetMass) = "1";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    EXPECT_DOUBLE_EQ(rig.state.posX[kSecondPlanet], 2 * 6'380'000.0);
}

}  // namespace
}  // namespace korvel
