#include <gtest/gtest.h>

#include <cmath>

#include "app/accessibility.h"
#include "app/panel.h"
#include "fakes.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using testing::DrawCall;
using testing::Rig;

// A run whose craft the test puts where it likes.
struct StillRun : Rig {
    StillRun() {
        controls.box(kBoxTimeFactor) = "0";  // the craft stays put
        run();
    }
};

TEST(DistanceCaptionTest, DividesBySixPointFourMillionAndThePlanetRadiusBox) {
    StillRun rig;
    rig.state.posX[kCraft] = 2 * 6'400'000.0;
    rig.state.posY[kCraft] = 0;
    rig.tickAfter(0.01);
    EXPECT_EQ(rig.controls.bank(kBankDistance), "dist  2");

    rig.state.posX[kCraft] = 0;
    rig.state.posY[kCraft] = -kLengthUnit;
    rig.tickAfter(0.01);
    EXPECT_DOUBLE_EQ(rig.state.distReadout, 0.996875);
    EXPECT_EQ(rig.controls.bank(kBankDistance), "dist  0.996875");
    EXPECT_EQ(spokenDistance(rig.controls.bank(kBankDistance)), "distance 0.996875 planet radii");

    rig.controls.box(kBoxPlanetRadius) = "2";
    rig.tickAfter(0.01);
    EXPECT_DOUBLE_EQ(rig.state.distReadout, 0.996875 / 2);
    rig.controls.box(kBoxPlanetRadius) = "1e-300";
    rig.tickAfter(0.01);
    EXPECT_DOUBLE_EQ(rig.state.distReadout, 0.996875e300);
    EXPECT_EQ(spokenDistance(rig.controls.bank(kBankDistance)), "distance 9.96875e+299 planet radii");
    // A button too small for every digit shows fewer, rounded.
    EXPECT_EQ(distanceCaption(rig.controls.bank(kBankDistance), 2), "dist 1e+300");
    EXPECT_EQ(distanceCaption("dist  1.09500313630712", 9), "dist 1.09500314");
    EXPECT_EQ(distanceCaption("dist  0.99999996", 7), "dist 1");
    EXPECT_EQ(distanceCaption("dist ?", 7), "dist ?");
}

TEST(DistanceCaptionTest, WithoutANonZeroPlanetRadiusItReadsAQuestionMarkAndRunsOn) {
    for (const char* text : {"0", "", "abc", "1e999"}) {
        Rig rig;
        rig.run();
        rig.controls.box(kBoxPlanetRadius) = text;
        const double y0 = rig.state.posY[kCraft];
        rig.tickAfter(0.01);
        EXPECT_EQ(rig.controls.bank(kBankDistance), "dist ?") << text;
        EXPECT_EQ(spokenDistance(rig.controls.bank(kBankDistance)), "distance unknown") << text;
        EXPECT_TRUE(rig.timer.ticking()) << text;
        EXPECT_NE(rig.state.posY[kCraft], y0) << text;
        EXPECT_TRUE(rig.controls.messages.empty()) << text;
    }
}

TEST(DistanceCaptionTest, ADistanceBeyondTheDoubleRangeReadsAsAQuestionMark) {
    StillRun rig;
    rig.state.posX[kCraft] = 6'400'000.0;
    rig.tickAfter(0.01);
    const double kept = rig.state.distReadout;
    // A far craft over a tiny radius: the quotient overflows.
    rig.controls.box(kBoxPlanetRadius) = "1e-300";
    rig.state.posX[kCraft] = 1e20;
    rig.tickAfter(0.01);
    EXPECT_EQ(rig.controls.bank(kBankDistance), "dist ?");
    EXPECT_EQ(rig.state.distReadout, kept);
    EXPECT_TRUE(rig.timer.ticking());
}

TEST(TrailTest, PointColoursFollowTheClockPhase) {
    const Color phaseColor[3] = {rgb(215, 255, 255), rgb(255, 215, 255), rgb(255, 175, 255)};
    for (int phase = 0; phase < 3; ++phase) {
        StillRun rig;
        rig.clock.reading = 2001 + phase - 0.001;
        rig.run();
        rig.random.fallback = 0.5f;
        rig.clock.reading = 2001 + phase;  // 2001 - 2000 = 1, so phase 1 first
        rig.picture.calls.clear();
        rig.korvel.Timer1_Timer();
        const auto points = rig.picture.of(DrawCall::Point);
        ASSERT_EQ(points.size(), 200u);
        EXPECT_EQ(points[0].color, phaseColor[(1 + phase) % 3]);
        EXPECT_EQ(points[1].color, phaseColor[0]);
        // At the craft's place on the picture: the planet is at (3.4, 3).
        EXPECT_NEAR(points[0].x, 3.4 + 1.02, 1e-9);
        EXPECT_NEAR(points[0].y, 3, 1e-9);
    }
}

TEST(TrailTest, ARandomDrawBelowFourHundredthsLeavesATinyBlackDot) {
    StillRun rig;
    rig.random.script = {0.039f, 0.04f, 0.0f};
    rig.picture.calls.clear();
    rig.tickAfter(0.01);
    const auto& calls = rig.picture.calls;
    ASSERT_GE(calls.size(), 6u);
    EXPECT_EQ(calls[1].kind, DrawCall::Circle);
    EXPECT_EQ(calls[1].color, kBlack);
    EXPECT_DOUBLE_EQ(calls[1].radius, 0.003);
    EXPECT_EQ(calls[3].kind, DrawCall::Point);  // 0.04 is not below 0.04
    EXPECT_EQ(calls[5].kind, DrawCall::Circle);
    EXPECT_EQ(rig.picture.of(DrawCall::Circle).size(), 2u);
}

TEST(SecondPlanetRedrawTest, ErasesOnlyWhereItWasDrawnAndDrawsItGreenWhereItIs) {
    Rig rig;
    rig.controls.box(kBoxSecondPlanetDist) = "2";
    rig.controls.box(kBoxSecondPlanetMass) = "8";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    rig.run();
    rig.picture.calls.clear();
    rig.tickAfter(0.001);
    // Nothing was drawn before, so nothing is erased: no black disc in the planet.
    auto circles = rig.picture.of(DrawCall::Circle);
    ASSERT_EQ(circles.size(), 1u);
    const DrawCall draw = circles[0];
    EXPECT_EQ(draw.color, rgb(0, 255, 0));
    EXPECT_DOUBLE_EQ(draw.radius, 2);
    EXPECT_NEAR(draw.x, 3.4 + 2, 1e-6);

    // Placed anew, it is erased where it was last drawn.
    rig.controls.box(kBoxSecondPlanetDist) = "1";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    rig.picture.calls.clear();
    rig.tickAfter(0.001);
    circles = rig.picture.of(DrawCall::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0], (DrawCall{DrawCall::Circle, draw.x, draw.y, 2, kBlack}));
    EXPECT_NEAR(circles[1].x, 3.4 + 1, 1e-6);
}

TEST(ReadoutTest, ClockTimeSimulatedMinutesAndSpeed) {
    Rig rig;
    rig.clock.reading = 1000;
    rig.run();
    for (int i = 0; i < 600; ++i) rig.tickAfter(0.01);
    EXPECT_NEAR(*strictNumber(rig.controls.box(kBoxClockTime)), 6, 1e-5);
    EXPECT_NEAR(*strictNumber(rig.controls.box(kBoxRealtimeInterval)), 100, 1e-6);
    const double speed = std::hypot(rig.state.velX[kCraft], rig.state.velY[kCraft]);
    EXPECT_EQ(rig.controls.box(kBoxSpeed), plainNumberText(speed));
    EXPECT_NE(speed, 8000);
}

TEST(ReadoutTest, ReadoutsBeyondTheDoubleRangeShowAQuestionMark) {
    // A tick covers at most a second, so the run has been going 599 s already.
    StillRun kept;
    kept.korvel.cmd_stop_simulation_Click();
    Scenario scenario = kept.korvel.scenario();
    scenario.run->runClock = 599;
    scenario.run->sinceLastTick = 0;
    scenario.run->subSteps = Korvel::subStepsIn(599);
    scenario.run->state.timeFactor = "-1e308";
    StillRun rig;
    rig.korvel.openScenario(scenario);
    rig.korvel.cmd_continue_Click();
    rig.state.velX[kCraft] = 1.5e308;
    rig.state.velY[kCraft] = 1.5e308;  // speed overflows, each part does not
    rig.tickAfter(1);                  // 10 minutes at -1e308 overflows too
    EXPECT_EQ(rig.controls.box(kBoxRealtimeInterval), "?");
    EXPECT_EQ(rig.controls.box(kBoxSpeed), "?");
    EXPECT_EQ(rig.controls.box(kBoxClockTime), "600");
}

TEST(ReadoutTest, NothingIsDrawnOrWrittenWhilePaused) {
    Rig rig;
    rig.run();
    rig.tickAfter(0.01);
    rig.korvel.cmd_stop_simulation_Click();
    EXPECT_FALSE(rig.timer.ticking());  // so no tick comes to draw
}

}  // namespace
}  // namespace korvel
