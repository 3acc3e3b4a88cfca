#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/panel.h"
#include "fakes.h"

namespace korvel {
namespace {

using testing::DrawCall;
using testing::Rig;

constexpr Color kRing = rgb(50, 50, 50);
constexpr Color kBlue = rgb(0, 0, 255);
constexpr Color kRed = rgb(255, 0, 0);

std::vector<double> ringRadiiDrawn(const Rig& rig) {
    std::vector<double> radii;
    for (const DrawCall& c : rig.picture.of(DrawCall::Circle))
        if (c.color == kRing) radii.push_back(c.radius);
    return radii;
}

TEST(SetUpRunTest, DefaultPanelDrawsNineRingsLargestFirstThenTheDisk) {
    Rig rig;
    rig.run();
    const auto& calls = rig.picture.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), (DrawCall{DrawCall::BackColor, 0, 0, 0, kBlack}));
    EXPECT_EQ(rig.picture.of(DrawCall::Scale).at(0), (DrawCall{DrawCall::Scale, 6, 6.8, 0, 0}));

    const std::vector<double> expected = {5, 10.0 / 3, 2.5, 2, 5.0 / 3, 10.0 / 7, 1.25, 10.0 / 9, 1};
    const auto radii = ringRadiiDrawn(rig);
    ASSERT_EQ(radii.size(), expected.size());
    for (std::size_t i = 0; i < radii.size(); ++i) EXPECT_NEAR(radii[i], expected[i], 1e-12);
    for (std::size_t i = 1; i <= 9; ++i) EXPECT_NEAR(rig.state.ringRadius[i], expected[9 - i], 1e-12);

    const auto circles = rig.picture.of(DrawCall::Circle);
    for (const DrawCall& c : circles) {
        EXPECT_DOUBLE_EQ(c.x, 3.4);  // the centre of a 6.8 × 6 view
        EXPECT_DOUBLE_EQ(c.y, 3);
    }
    // The disk comes last, filled blue, and the fill goes back to black.
    EXPECT_EQ(circles.back().color, kBlue);
    EXPECT_DOUBLE_EQ(circles.back().radius, 1);
    const auto fills = rig.picture.of(DrawCall::FillColor);
    ASSERT_GE(fills.size(), 3u);
    EXPECT_EQ(fills[fills.size() - 2].color, kBlue);
    EXPECT_EQ(fills.back().color, kBlack);
    EXPECT_TRUE(rig.picture.of(DrawCall::Point).empty());  // no dotted circle by default
}

TEST(SetUpRunTest, TheViewDecidesHowManyRings) {
    struct Case {
        const char* scale;
        std::size_t rings;
    };
    // 0.85 and 2.3 put a ring just inside 1.4 times the scale and the next
    // just beyond it: the rule's factor is pinned on both sides.
    for (Case c : {Case{"100", 10}, Case{"0.5", 1}, Case{"-3", 1}, Case{"3", 9}, Case{"0.85", 3}, Case{"2.3", 8}}) {
        Rig rig;
        rig.controls.box(kBoxScreenScale) = c.scale;
        rig.run();
        EXPECT_EQ(ringRadiiDrawn(rig).size(), c.rings) << c.scale;
        // The state keeps the rings drawn and no more, as a kept run stores them.
        const auto& kept = rig.state.ringRadius;
        EXPECT_EQ(std::count_if(kept.begin(), kept.end(), [](double r) { return r != 0; }), c.rings) << c.scale;
    }
    Rig large;
    large.controls.box(kBoxScreenScale) = "100";
    large.run();
    EXPECT_NEAR(ringRadiiDrawn(large).front(), 10, 1e-9);
}

TEST(SetUpRunTest, DottedCircleWhenTheCircleRadiusStartsWithAPositiveNumber) {
    struct Case {
        const char* text;
        bool drawn;
    };
    for (Case c : {Case{"2", true}, Case{"2abc", true}, Case{"0", false}, Case{"abc", false}, Case{"-1", false}}) {
        Rig rig;
        rig.controls.box(kBoxCircleRadius) = c.text;
        rig.run();
        const auto points = rig.picture.of(DrawCall::Point);
        if (!c.drawn) {
            EXPECT_TRUE(points.empty()) << c.text;
            continue;
        }
        ASSERT_EQ(points.size(), 6280u) << c.text;
        for (const DrawCall& p : points) {
            EXPECT_EQ(p.color, kRed);
            EXPECT_NEAR(std::hypot(p.x - 3.4, p.y - 3), 2, 1e-9);
        }
        // It stops just short of a full turn.
        EXPECT_LT(std::atan2(points.back().y - 3, points.back().x - 3.4), 0);
    }
}

TEST(SetUpRunTest, PlacesTheCraftAndStartsTheTimer) {
    Rig rig;
    EXPECT_FALSE(rig.timer.ticking());
    rig.clock.reading = 250;
    rig.run();
    const SimulationState& s = rig.state;
    EXPECT_DOUBLE_EQ(s.posX[kCraft], 6'507'600);
    EXPECT_DOUBLE_EQ(s.posY[kCraft], 0);
    EXPECT_NEAR(s.velX[kCraft], 6.37, 0.01);
    EXPECT_NEAR(s.velY[kCraft], 7999.997, 0.001);
    EXPECT_DOUBLE_EQ(s.startRadius, 6'507'600);
    EXPECT_EQ(s.planetMass, "1");
    EXPECT_EQ(s.timeFactor, "1000");
    EXPECT_EQ(s.screenScale, "3");
    EXPECT_DOUBLE_EQ(s.runStartTime, 250);
    EXPECT_DOUBLE_EQ(s.lastTickTime, 250);
    EXPECT_EQ(rig.timer.interval, 1);
    EXPECT_TRUE(rig.timer.ticking());
}

TEST(SetUpRunTest, TheInitialPositionAndVelocityFollowTheirAngles) {
    Rig rig;
    rig.controls.box(kBoxInitDistance) = "2";
    rig.controls.box(kBoxInitAngle) = "3.14159265358979";
    rig.controls.box(kBoxBurn) = "100";
    rig.controls.box(kBoxDirection) = "0";
    rig.controls.box(kBoxPlanetRadius) = "7";  // only the readout uses it
    rig.run();
    EXPECT_NEAR(rig.state.posX[kCraft], -2.0 * kLengthUnit, 1e-3);
    EXPECT_NEAR(rig.state.posY[kCraft], 0, 1e-3);
    EXPECT_DOUBLE_EQ(rig.state.velX[kCraft], 100);
}

TEST(SetUpRunTest, ANewRunErasesTheTrailAndKeepsTheSecondPlanet) {
    Rig rig;
    rig.controls.box(kBoxSecondPlanetDist) = "10";
    rig.controls.box(kBoxSecondPlanetMass) = "0.5";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    rig.run();
    for (int i = 0; i < 10; ++i) rig.tickAfter(0.01);
    const double x2 = rig.state.posX[kSecondPlanet], y2 = rig.state.posY[kSecondPlanet];
    const double vy2 = rig.state.velY[kSecondPlanet];
    rig.picture.calls.clear();
    rig.run();
    EXPECT_EQ(rig.picture.calls.front().kind, DrawCall::BackColor);
    EXPECT_TRUE(rig.state.secondPlanetOn);
    EXPECT_EQ(rig.state.posX[kSecondPlanet], x2);
    EXPECT_EQ(rig.state.posY[kSecondPlanet], y2);
    EXPECT_EQ(rig.state.velY[kSecondPlanet], vy2);
    EXPECT_DOUBLE_EQ(rig.state.posX[kCraft], 6'507'600);  // the craft starts over
}

TEST(SetUpRunTest, EveryRefusedRunChangesNothingAndNamesTheBox) {
    struct Case {
        int box;
        std::string text;
        std::string message;
    };
    auto times = [](int n, const std::string& text) {
        std::string all;
        while (n-- > 0) all += text;
        return all;
    };
    const Case cases[] = {
        {kBoxPlanetMass, "abc", "\"planet mass\" must be a number; it holds \"abc\"."},
        {kBoxPlanetMass, "0", "\"planet mass\" must be above 0; it holds \"0\"."},
        {kBoxPlanetMass, "-2", "\"planet mass\" must be above 0; it holds \"-2\"."},
        {kBoxTimeFactor, "", "\"time factor\" must be a number; it holds \"\"."},
        {kBoxScreenScale, "abc", "\"screen scale\" must be a number; it holds \"abc\"."},
        {kBoxScreenScale, "0", "\"screen scale\" must not be 0; it holds \"0\"."},
        {kBoxScreenScale, "1e307", "\"screen scale\" is out of range; it holds \"1e307\"."},
        // A decimal comma is told what to type instead, where a point makes it a number.
        {kBoxInitDistance, "1,5", "\"init distance\" must be a number; it holds \"1,5\"; use a point: 1.5."},
        {kBoxTimeFactor, " -1,5e3 ", "\"time factor\" must be a number; it holds \" -1,5e3 \"; use a point: -1.5e3."},
        {kBoxBurn, "7,829,3", "\"impulse of 'burn'\" must be a number; it holds \"7,829,3\"."},
        {kBoxInitDistance, "1e305", "\"init distance\" is out of range; it holds \"1e305\"."},
        {kBoxInitAngle, "nan", "\"init ang pos\" must be a number; it holds \"nan\"."},
        {kBoxBurn, "1e999", "\"impulse of 'burn'\" is out of range; it holds \"1e999\"."},
        {kBoxBurn, "-1e999 ", "\"impulse of 'burn'\" is out of range; it holds \"-1e999 \"."},
        {kBoxDirection, "0x10", "\"dir of impulse\" must be a number; it holds \"0x10\"."},
        {kBoxCircleRadius, "1e999x", "\"circle radius\" is out of range; it holds \"1e999x\"."},
        // A quote is one line of at most 40 characters, however long the text.
        {kBoxInitAngle, times(32000, "é"), "\"init ang pos\" must be a number; it holds \"" + times(40, "é") + "…\"."},
        {kBoxInitAngle, "1\n2", "\"init ang pos\" must be a number; it holds \"1 2\"."},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.run();
        rig.tickAfter(0.01);
        rig.korvel.cmd_stop_simulation_Click();
        const SimulationState before = rig.state;
        const auto drawn = rig.picture.calls.size();
        rig.controls.box(c.box) = c.text;
        rig.run();
        EXPECT_EQ(rig.picture.calls.size(), drawn) << c.text;
        EXPECT_FALSE(rig.timer.enabled()) << c.text;
        EXPECT_EQ(rig.state.posX, before.posX) << c.text;
        EXPECT_EQ(rig.state.timeFactor, before.timeFactor) << c.text;
        EXPECT_EQ(rig.state.runStartTime, before.runStartTime) << c.text;
        ASSERT_FALSE(rig.controls.messages.empty());
        EXPECT_EQ(rig.controls.messages.back(), c.message);
    }
}

TEST(RunWithoutClearingTest, KeepsTheDrawingAndRestartsTheCraft) {
    Rig rig;
    rig.run();
    for (int i = 0; i < 5; ++i) rig.tickAfter(0.01);
    rig.controls.box(kBoxDirection) = "0";
    rig.picture.calls.clear();
    rig.clock.reading = 500;
    rig.korvel.cmd_restart_Click();
    EXPECT_TRUE(rig.picture.calls.empty());  // nothing erased, no scene, no scale
    EXPECT_DOUBLE_EQ(rig.state.posX[kCraft], 6'507'600);
    EXPECT_DOUBLE_EQ(rig.state.velX[kCraft], 8000);
    EXPECT_DOUBLE_EQ(rig.state.runStartTime, 500);
    EXPECT_TRUE(rig.timer.ticking());
}

TEST(RunWithoutClearingTest, ANewScreenScaleDrawsOffsetFromTheOldScene) {
    Rig rig;
    rig.run();
    rig.controls.box(kBoxScreenScale) = "4";
    rig.controls.box(kBoxCircleRadius) = "1";
    rig.picture.calls.clear();
    rig.korvel.cmd_restart_Click();
    const auto points = rig.picture.of(DrawCall::Point);
    ASSERT_EQ(points.size(), 6280u);
    // Centred at (85 * 4 / 75, 4) in the old units, not at the old (3.4, 3).
    EXPECT_NEAR(points.front().x, 4 * 85.0 / 75 + 1, 1e-12);
    EXPECT_NEAR(points.front().y, 4, 1e-12);
    rig.tickAfter(0.001);
    const auto trail = rig.picture.of(DrawCall::Point).back();
    EXPECT_NEAR(trail.x, 4 * 85.0 / 75 + 1.02, 0.01);
}

TEST(RunWithoutClearingTest, APlanetMassOfZeroGivesAStraightLine) {
    Rig rig;
    rig.run();
    rig.controls.box(kBoxPlanetMass) = "0";
    rig.korvel.cmd_restart_Click();
    ASSERT_TRUE(rig.controls.messages.empty());
    for (int i = 0; i < 10; ++i) rig.tickAfter(0.01);
    EXPECT_NEAR(rig.state.velX[kCraft], 8000 * std::cos(1.57), 1e-9);
    // 10,000 sub-steps of 10 ms each, rounded at every one.
    EXPECT_NEAR(rig.state.posX[kCraft], 6'507'600 + 8000 * std::cos(1.57) * 100, 1e-5);
}

TEST(RunWithoutClearingTest, RefusesTextThatIsNotANumberAndChangesNothing) {
    for (int box :
         {kBoxPlanetMass, kBoxTimeFactor, kBoxScreenScale, kBoxInitDistance, kBoxInitAngle, kBoxBurn, kBoxDirection}) {
        Rig rig;
        rig.run();
        rig.tickAfter(0.01);
        const SimulationState before = rig.state;
        rig.controls.box(kBoxCircleRadius) = "2";
        rig.controls.box(box) = "x1";
        rig.picture.calls.clear();
        rig.korvel.cmd_restart_Click();
        EXPECT_TRUE(rig.picture.calls.empty()) << box;
        EXPECT_EQ(rig.state.posX, before.posX) << box;
        EXPECT_EQ(rig.state.planetMass, before.planetMass) << box;
        EXPECT_EQ(rig.controls.messages.size(), 1u) << box;
    }
}

TEST(RunWithoutClearingTest, BeforeAnyRunItStartsNoTicks) {
    Rig rig;
    rig.korvel.cmd_restart_Click();
    EXPECT_TRUE(rig.timer.enabled());
    EXPECT_FALSE(rig.timer.ticking());
}

}  // namespace
}  // namespace korvel
