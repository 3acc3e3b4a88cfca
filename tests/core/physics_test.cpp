#include "sim/physics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "app/panel.h"
#include "fakes.h"

namespace korvel {
namespace {

using testing::Rig;

constexpr double kUnit = kLengthUnit;

// A state as set-up leaves it, without a window.
SimulationState craftAt(double x, double y, double vx, double vy, const char* planetMass = "1") {
    SimulationState s;
    s.planetMass = planetMass;
    s.timeFactor = "1";
    s.screenScale = "3";
    s.posX[kCraft] = x;
    s.posY[kCraft] = y;
    s.velX[kCraft] = vx;
    s.velY[kCraft] = vy;
    return s;
}

void steps(SimulationState& s, double dt, int count, double planetMass = 1) {
    const StepConstants k = stepConstants(s, dt, planetMass);
    for (int i = 0; i < count; ++i) ASSERT_TRUE(advanceSubStep(s, k));
}

TEST(GravityTest, ACraftAtRestOneUnitOutFallsAtNinePointEight) {
    SimulationState s = craftAt(kUnit, 0, 0, 0);
    steps(s, 0.001, 1);
    EXPECT_DOUBLE_EQ(s.velX[kCraft], -9.8 * 0.001);
    EXPECT_DOUBLE_EQ(s.velY[kCraft], 0);
    // The position moves with the velocity just updated.
    EXPECT_DOUBLE_EQ(s.posX[kCraft], kUnit - 9.8 * 0.001 * 0.001);
}

TEST(GravityTest, PullFallsWithTheSquareOfDistanceAndGrowsWithMass) {
    SimulationState far = craftAt(0, -2 * kUnit, 0, 0);
    steps(far, 0.001, 1);
    EXPECT_NEAR(far.velY[kCraft], 9.8 / 4 * 0.001, 1e-15);

    SimulationState heavy = craftAt(0, -2 * kUnit, 0, 0, "3");
    steps(heavy, 0.001, 1, 3);
    EXPECT_NEAR(heavy.velY[kCraft], 3 * 9.8 / 4 * 0.001, 1e-15);
}

TEST(GravityTest, CircularOrbitKeepsItsDistanceOverManyOrbits) {
    const double r0 = 1.02 * kUnit;
    const double v0 = std::sqrt(9.8 * kUnit / 1.02);
    SimulationState s = craftAt(r0, 0, 0, v0);
    const double period = 2 * std::numbers::pi * r0 / v0;
    const double dt = 0.01;  // 1 ms ticks at time factor 1000
    const int count = static_cast<int>(3 * period / dt);
    const StepConstants k = stepConstants(s, dt, 1);
    double worst = 0;
    double turned = 0, lastAngle = 0;
    for (int i = 0; i < count; ++i) {
        ASSERT_TRUE(advanceSubStep(s, k));
        worst = std::max(worst, std::abs(std::hypot(s.posX[kCraft], s.posY[kCraft]) / r0 - 1));
        const double angle = std::atan2(s.posY[kCraft], s.posX[kCraft]);
        turned += std::remainder(angle - lastAngle, 2 * std::numbers::pi);
        lastAngle = angle;
    }
    EXPECT_LT(worst, 1e-4);
    EXPECT_NEAR(turned / (2 * std::numbers::pi), 3, 0.01);  // it really went round, counter-clockwise
}

TEST(GravityTest, PlanetMassZeroMeansAStraightLine) {
    SimulationState s = craftAt(kUnit, 0, 100, 200, "0");
    steps(s, 0.5, 10, 0);
    EXPECT_DOUBLE_EQ(s.velX[kCraft], 100);
    EXPECT_DOUBLE_EQ(s.posX[kCraft], kUnit + 500);
    EXPECT_DOUBLE_EQ(s.posY[kCraft], 1000);
}

TEST(GravityTest, ACraftAtThePlanetCentreFeelsNoPull) {
    SimulationState s = craftAt(0, 0, 30, -40);
    steps(s, 0.1, 1);
    EXPECT_DOUBLE_EQ(s.velX[kCraft], 30);
    EXPECT_DOUBLE_EQ(s.velY[kCraft], -40);
    EXPECT_DOUBLE_EQ(s.posX[kCraft], 3);
}

TEST(SecondPlanetTest, AddsNoPullWhileOffOrWhenTheCraftIsOnIt) {
    SimulationState plain = craftAt(2 * kUnit, 0, 0, 0);
    SimulationState off = plain;
    off.secondPlanetMass = 50;
    off.posX[kSecondPlanet] = 2.5 * kUnit;
    steps(plain, 0.01, 10);
    steps(off, 0.01, 10);
    EXPECT_EQ(plain.velX, off.velX);
    EXPECT_EQ(off.posX[kSecondPlanet], 2.5 * kUnit);  // not moved while off

    SimulationState onTop = craftAt(2 * kUnit, 0, 0, 0);
    onTop.secondPlanetOn = true;
    onTop.secondPlanetMass = 50;
    onTop.posX[kSecondPlanet] = 2 * kUnit;
    SimulationState reference = craftAt(2 * kUnit, 0, 0, 0);
    steps(onTop, 0.01, 1);
    steps(reference, 0.01, 1);
    EXPECT_DOUBLE_EQ(onTop.velX[kCraft], reference.velX[kCraft]);
}

TEST(SecondPlanetTest, PullsTheCraftTowardsItsPositionBeforeItsOwnMove) {
    SimulationState s = craftAt(0, 0, 0, 0);  // at the planet centre: only the second pulls
    s.secondPlanetOn = true;
    s.secondPlanetMass = 1;
    s.posX[kSecondPlanet] = kUnit;
    s.velY[kSecondPlanet] = 1e6;  // moves far within the sub-step
    steps(s, 0.001, 1);
    EXPECT_DOUBLE_EQ(s.velX[kCraft], 9.8 * 0.001);
    EXPECT_DOUBLE_EQ(s.velY[kCraft], 0);
}

TEST(SecondPlanetTest, OrbitsCircularlyWhateverThePlanetMass) {
    Rig rig;
    rig.controls.box(kBoxPlanetMass) = "5";
    rig.controls.box(kBoxSecondPlanetDist) = "60.2";
    rig.controls.box(kBoxSecondPlanetMass) = ".0123";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    rig.run();
    const double r0 = 60.2 * kUnit;
    double worst = 0;
    for (int i = 0; i < 2000; ++i) {
        rig.tickAfter(0.05);  // 5000 simulated seconds per tick at time factor 1000
        const SimulationState& s = rig.state;
        worst = std::max(worst, std::abs(std::hypot(s.posX[kSecondPlanet], s.posY[kSecondPlanet]) / r0 - 1));
        rig.picture.calls.clear();
    }
    EXPECT_LT(worst, 1e-3);
    EXPECT_GT(rig.state.posY[kSecondPlanet], 0);  // counter-clockwise from +x
}

// The step is arranged for speed; it must still be the plain semi-implicit Euler
// step, written out here term by term, up to rounding.
TEST(SecondPlanetTest, OneSubStepIsThePlainEulerStepUpToRounding) {
    SimulationState s = craftAt(1.3 * kUnit, -0.7 * kUnit, 2100, 6900, "2.5");
    s.secondPlanetOn = true;
    s.secondPlanetMass = 0.4;
    s.posX[kSecondPlanet] = -3.1 * kUnit;
    s.posY[kSecondPlanet] = 2.2 * kUnit;
    s.velX[kSecondPlanet] = -900;
    s.velY[kSecondPlanet] = -1500;
    const double dt = 0.37;
    const double unit2 = kUnit * kUnit;

    struct Body {
        double x, y, vx, vy;
    };
    auto euler = [dt](Body b, double ax, double ay) {
        b.vx += ax * dt;
        b.vy += ay * dt;
        b.x += b.vx * dt;
        b.y += b.vy * dt;
        return b;
    };
    auto pull = [](double dx, double dy, double strength, double& ax, double& ay) {
        const double r = std::sqrt(dx * dx + dy * dy);
        const double a = strength / (r * r);
        ax += a * dx / r;
        ay += a * dy / r;
    };
    double ax = 0, ay = 0, pax = 0, pay = 0;
    pull(s.posX[kCraft], s.posY[kCraft], -9.8 * 2.5 * unit2, ax, ay);
    pull(s.posX[kCraft] - s.posX[kSecondPlanet], s.posY[kCraft] - s.posY[kSecondPlanet], -9.8 * 0.4 * unit2, ax, ay);
    pull(s.posX[kSecondPlanet], s.posY[kSecondPlanet], -9.8 * unit2, pax, pay);
    const Body craft = euler({s.posX[kCraft], s.posY[kCraft], s.velX[kCraft], s.velY[kCraft]}, ax, ay);
    const Body second =
        euler({s.posX[kSecondPlanet], s.posY[kSecondPlanet], s.velX[kSecondPlanet], s.velY[kSecondPlanet]}, pax, pay);

    steps(s, dt, 1, 2.5);
    auto near = [](double got, double want) { EXPECT_NEAR(got, want, 2e-15 * std::abs(want)); };
    near(s.velX[kCraft], craft.vx);
    near(s.velY[kCraft], craft.vy);
    near(s.posX[kCraft], craft.x);
    near(s.posY[kCraft], craft.y);
    near(s.velX[kSecondPlanet], second.vx);
    near(s.velY[kSecondPlanet], second.vy);
    near(s.posX[kSecondPlanet], second.x);
    near(s.posY[kSecondPlanet], second.y);
}

TEST(TickTest, TheTickStepsByElapsedTimeTimesTheTimeFactor) {
    Rig rig;
    rig.run();
    SimulationState& s = rig.state;
    s.posX[kCraft] = kUnit;
    s.posY[kCraft] = 0;
    s.velX[kCraft] = s.velY[kCraft] = 0;
    rig.tickAfter(0.002);  // 2 simulated seconds at time factor 1000
    EXPECT_NEAR(s.tickElapsed, 0.002, 1e-12);
    EXPECT_NEAR(s.velX[kCraft], -9.8 * 2, 1e-3);
    EXPECT_DOUBLE_EQ(s.lastTickTime, rig.clock.reading);
}

TEST(TickTest, ATickAtTheSameReadingRunsNoSubStep) {
    Rig rig;
    rig.run();
    rig.tickAfter(0.01);
    const SimulationState before = rig.state;
    rig.picture.calls.clear();
    rig.tickAfter(0);
    EXPECT_EQ(rig.state.posX, before.posX);
    EXPECT_EQ(rig.state.velY, before.velY);
    EXPECT_TRUE(rig.picture.of(testing::DrawCall::Point).empty());
}

TEST(TickTest, IrregularTicksLeaveTheCraftWhereExactOnesDoAfterAsManySubSteps) {
    Rig exact, irregular;
    exact.run();
    irregular.run();
    const double started = irregular.state.runStartTime;
    // 30, 100, 25,000, then 100,000 of 300,000 (the other 2 s are a pause), and 70.
    for (double seconds : {0.0003, 0.001, 0.25, 3.0, 0.0007}) irregular.tickAfter(seconds);
    ASSERT_EQ(irregular.korvel.subStepsRun(), 125'200);
    for (int i = 0; i < 1252; ++i) exact.tickAfter(0.001);
    EXPECT_EQ(irregular.state.posX, exact.state.posX);
    EXPECT_EQ(irregular.state.posY, exact.state.posY);
    EXPECT_EQ(irregular.state.velX, exact.state.velX);
    EXPECT_EQ(irregular.state.velY, exact.state.velY);
    EXPECT_EQ(irregular.korvel.simulatedTime(), exact.korvel.simulatedTime());
    EXPECT_NEAR(irregular.state.runStartTime - started, 2, 1e-9);
    EXPECT_EQ(irregular.controls.box(kBoxClockTime), exact.controls.box(kBoxClockTime));
}

TEST(TickTest, ANegativeTimeFactorRunsTheMotionBack) {
    Rig rig;
    rig.run();
    const double x0 = rig.state.posX[kCraft], y0 = rig.state.posY[kCraft];
    for (int i = 0; i < 500; ++i) rig.tickAfter(0.001);
    const double travelled = std::hypot(rig.state.posX[kCraft] - x0, rig.state.posY[kCraft] - y0);
    ASSERT_GT(travelled, 1e6);
    rig.goOnAtTimeFactor("-1000");
    for (int i = 0; i < 500; ++i) rig.tickAfter(0.001);
    // Stepping back is not an exact inverse of stepping forward, but close.
    EXPECT_LT(std::hypot(rig.state.posX[kCraft] - x0, rig.state.posY[kCraft] - y0), 1e-4 * travelled);
}

TEST(TickTest, EditingTheTimeFactorBoxDoesNotChangeARunningSimulation) {
    Rig a, b;
    a.run();
    b.run();
    b.controls.box(kBoxTimeFactor) = "5";
    a.tickAfter(0.01);
    b.tickAfter(0.01);
    EXPECT_EQ(a.state.posY, b.state.posY);
}

TEST(TickTest, AnOverflowingSubStepIsUndoneAndPausesTheRun) {
    Rig rig;
    rig.controls.box(kBoxPlanetMass) = "1e300";  // a pull beyond the double range
    rig.run();
    const SimulationState before = rig.state;
    rig.picture.calls.clear();
    rig.tickAfter(0.01);
    EXPECT_EQ(rig.state.posX, before.posX);
    EXPECT_EQ(rig.state.velX, before.velX);
    EXPECT_FALSE(rig.timer.enabled());
    ASSERT_FALSE(rig.controls.messages.empty());
    EXPECT_NE(rig.controls.messages.back().find("out of range"), std::string::npos);
    for (const auto& call : rig.picture.calls) {
        EXPECT_TRUE(std::isfinite(call.x) && std::isfinite(call.y) && std::isfinite(call.radius));
    }
    // "Continue" resumes, as after a pause.
    rig.korvel.cmd_continue_Click();
    EXPECT_TRUE(rig.timer.enabled());
}

}  // namespace
}  // namespace korvel
