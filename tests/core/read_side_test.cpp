#include <gtest/gtest.h>

#include <vector>

#include "app/panel.h"
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

}  // namespace
}  // namespace korvel
