#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/panel.h"
#include "fakes.h"
#include "orbit/burn_preview.h"
#include "orbit/energy_history.h"
#include "orbit/prediction.h"
#include "sim/numbers.h"

namespace korvel::orbit {
namespace {

constexpr double kUnit = kLengthUnit;
constexpr double kPi = std::numbers::pi;
const Planet kEarth{1};

// A craft on the conic of periapsis `rp` and eccentricity `e` at true anomaly
// `nu`, moving counter-clockwise.
struct OnConic {
    Vec2 position, velocity;
};
OnConic onConic(double rp, double e, double nu) {
    const double mu = kEarth.mu();
    const double p = rp * (1 + e);
    const double r = p / (1 + e * std::cos(nu));
    const double radial = std::sqrt(mu / p) * e * std::sin(nu);
    const double across = std::sqrt(mu / p) * (1 + e * std::cos(nu));
    return {{r * std::cos(nu), r * std::sin(nu)},
            {radial * std::cos(nu) - across * std::sin(nu), radial * std::sin(nu) + across * std::cos(nu)}};
}

TEST(OrbitFiguresTest, AnEllipseAgreesWithKepler) {
    const double rp = 1.1 * kUnit, e = 0.3, nu = 2.0;
    const auto [position, velocity] = onConic(rp, e, nu);
    const auto f = orbitFigures(position, velocity, kEarth);
    ASSERT_TRUE(f);
    const double a = rp / (1 - e);
    const double period = 2 * kPi * std::sqrt(a * a * a / kEarth.mu());
    // Time since periapsis from the eccentric anomaly of ν.
    const double eccentric = 2 * std::atan(std::sqrt((1 - e) / (1 + e)) * std::tan(nu / 2));
    const double since = (eccentric - e * std::sin(eccentric)) / (2 * kPi) * period;
    EXPECT_NEAR(f->periapsis / rp, 1, 1e-12);
    EXPECT_NEAR(*f->apoapsis / (a * (1 + e)), 1, 1e-12);
    EXPECT_NEAR(*f->semiMajorAxis / a, 1, 1e-12);
    EXPECT_NEAR(f->eccentricity, e, 1e-12);
    EXPECT_NEAR(*f->period / period, 1, 1e-12);
    EXPECT_NEAR(*f->timeToPeriapsis, period - since, 1e-6);
    EXPECT_NEAR(*f->timeToApoapsis, period / 2 - since, 1e-6);
    EXPECT_NEAR(f->energy, -kEarth.mu() / (2 * a), 1e-6);
    EXPECT_FALSE(f->escapes);
    EXPECT_FALSE(f->timeToSurface);
    // Time running backwards: the periapsis it came from.
    EXPECT_NEAR(*orbitFigures(position, velocity, kEarth, -1)->timeToPeriapsis, since, 1e-6);

    // A circle: both apsides at its radius, and the circular speed is the speed.
    const auto [cp, cv] = onConic(2 * kUnit, 0, 0.7);
    const auto circle = orbitFigures(cp, cv, kEarth);
    EXPECT_NEAR(circle->eccentricity, 0, 1e-12);
    EXPECT_NEAR(*circle->apoapsis / circle->periapsis, 1, 1e-12);
    EXPECT_NEAR(circle->circularSpeed / circle->speed, 1, 1e-12);
    EXPECT_NEAR(circle->escapeSpeed / circle->speed, std::sqrt(2.0), 1e-12);
}

TEST(OrbitFiguresTest, EscapesAndFallsHaveOnlyTheFiguresTheyCanHave) {
    // A hyperbola on its way in, and on its way out.
    const double rp = 1.5 * kUnit, e = 1.8;
    const auto in = onConic(rp, e, -1.5);
    const auto incoming = orbitFigures(in.position, in.velocity, kEarth);
    ASSERT_TRUE(incoming);
    EXPECT_TRUE(incoming->escapes);
    EXPECT_NEAR(incoming->eccentricity, e, 1e-12);
    EXPECT_NEAR(*incoming->semiMajorAxis / (rp / (1 - e)), 1, 1e-12);
    EXPECT_FALSE(incoming->apoapsis || incoming->period || incoming->timeToApoapsis);
    // Hyperbolic Kepler: e sinh F - F from tanh(F/2) = √((e-1)/(e+1)) tan(ν/2).
    const double a = rp / (e - 1);
    const double f = 2 * std::atanh(std::sqrt((e - 1) / (e + 1)) * std::tan(-1.5 / 2));
    EXPECT_NEAR(*incoming->timeToPeriapsis, -(e * std::sinh(f) - f) * std::sqrt(a * a * a / kEarth.mu()), 1e-6);
    const auto out = onConic(rp, e, 1.5);
    EXPECT_FALSE(orbitFigures(out.position, out.velocity, kEarth)->timeToPeriapsis);

    // Periapsis inside the surface: the fall from apoapsis takes half a period
    // less the time from the impact to periapsis.
    const auto fall = onConic(0.5 * kUnit, 0.6, kPi);
    const auto falling = orbitFigures(fall.position, fall.velocity, kEarth);
    ASSERT_TRUE(falling && falling->timeToSurface);
    const double fa = 0.5 * kUnit / 0.4;
    const double hit = std::acos((1 - kUnit / fa) / 0.6);  // eccentric anomaly at r = 1 unit
    EXPECT_NEAR(*falling->timeToSurface,
                *falling->period / 2 - (hit - 0.6 * std::sin(hit)) * std::sqrt(fa * fa * fa / kEarth.mu()), 1e-6);

    // No orbit at all.
    EXPECT_FALSE(orbitFigures({kUnit, 0}, {0, 8000}, Planet{0}));
    EXPECT_FALSE(orbitFigures({kUnit, 0}, {0, 8000}, Planet{-1}));
    EXPECT_FALSE(orbitFigures({0, 0}, {0, 8000}, kEarth));
    EXPECT_FALSE(orbitFigures({1e300, 1e300}, {1e300, 0}, kEarth));
}

TEST(PredictionTest, ThePathIsTheTrailTheCraftThenDraws) {
    const auto plain = testing::trailAgainstPath("1000", false);
    EXPECT_EQ(plain.path.end, PredictedPath::End::Revolution);
    EXPECT_LT(plain.worstPixels, 1);
    // The default orbit's apsides: periapsis where it starts, apoapsis as Kepler has it.
    const auto f = orbitFigures({1.02 * kUnit, 0}, {8000 * std::cos(1.57), 8000 * std::sin(1.57)}, kEarth);
    ASSERT_TRUE(plain.path.apoapsis && f);
    EXPECT_NEAR(std::hypot(plain.path.apoapsis->x, plain.path.apoapsis->y) / *f->apoapsis, 1, 1e-4);
    for (const auto& check : {testing::trailAgainstPath("1000", true), testing::trailAgainstPath("-1000", false)}) {
        EXPECT_EQ(check.path.end, PredictedPath::End::Revolution);
        EXPECT_LT(check.worstPixels, 1);
    }
}

TEST(PredictionTest, EndsAtTheSurfaceBeyondTheViewOrNowhere) {
    SimulationState s;
    s.posX[kCraft] = 2 * kUnit;
    s.velY[kCraft] = 1000;  // falls in
    const PredictedPath fall = predictPath(s, {kEarth, 1, 4 * kUnit, 4000});
    ASSERT_EQ(fall.end, PredictedPath::End::Surface);
    EXPECT_NEAR(std::hypot(fall.impact->x, fall.impact->y) / kUnit, 1, 1e-4);

    s.velY[kCraft] = 12000;  // escapes
    const PredictedPath escape = predictPath(s, {kEarth, 1, 4 * kUnit, 4000});
    EXPECT_EQ(escape.end, PredictedPath::End::Escaped);
    EXPECT_GT(std::hypot(escape.points.back().x, escape.points.back().y), 6 * kUnit);
    EXPECT_LT(escape.points.size(), 1000u);

    // No pull: a straight line to beyond the view.
    const PredictedPath line = predictPath(s, {Planet{0}, 1, 4 * kUnit, 4000});
    ASSERT_EQ(line.points.size(), 2u);
    EXPECT_NEAR(std::hypot(line.points[1].x, line.points[1].y) / kUnit, 6, 1e-9);

    // At the centre at rest, or with figures beyond any range: nothing.
    s.posX[kCraft] = 0;
    s.velY[kCraft] = 0;
    EXPECT_TRUE(predictPath(s, {kEarth, 1, 4 * kUnit, 4000}).points.empty());
    s.posX[kCraft] = 1e-300;
    s.velY[kCraft] = 1e300;
    for (const Vec2& p : predictPath(s, {Planet{1e300}, 1, 4 * kUnit, 100}).points)
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

TEST(EnergyHistoryTest, StaysBoundedKeepsItsStepsAndMeasuresDriftSinceTheLastImpulse) {
    EnergyHistory history(64);
    history.add({0, 10, -20});
    history.addImpulse({1, 10, -20}, {1, 12, -20});
    history.add({2, 12, -20.5});
    EXPECT_NEAR(*history.drift(), -0.5 / 8, 1e-12);
    for (int i = 3; i < 1'000'000; ++i) history.add({double(i), 12, -20});
    const std::vector<EnergySpan>& spans = history.spans();
    EXPECT_LE(spans.size(), 64u);
    EXPECT_GE(spans.size(), 16u);
    EXPECT_EQ(spans.back().last.time, 999'999);
    // The step still shows: a span ends before the impulse and the next one
    // starts after it, at the same time.
    EXPECT_EQ(spans[0].last.time, 1);
    EXPECT_EQ(spans[0].last.kinetic, 10);
    EXPECT_EQ(spans[1].first.time, 1);
    EXPECT_EQ(spans[1].first.kinetic, 12);
}

// At time factor 1e5 a default run's ticks fall some fifty to a revolution,
// and some 150 revolutions fill a short history many times over: every
// tick's energy must still lie within the span that covers its time, or the
// graph shows slow waves that are not there.
TEST(EnergyHistoryTest, ThinningLosesNoSwingOfAFastOrbit) {
    testing::Rig rig;
    rig.controls.box(kBoxTimeFactor) = "100000";
    rig.run();
    EnergyHistory history(256);
    std::vector<EnergySample> ticks;
    for (int i = 0; i < 8'000; ++i) {
        rig.tickAfter(0.001);
        const auto sample = energyOf(rig.state, kEarth, rig.korvel.simulatedTime());
        ASSERT_TRUE(sample);
        history.add(*sample);
        ticks.push_back(*sample);
    }
    const std::vector<EnergySpan>& spans = history.spans();
    ASSERT_LE(spans.size(), history.capacity());
    ASSERT_LT(spans.size() * 16, ticks.size());  // a span covers a good share of a revolution
    const auto within = [](const EnergyRange& r, double v) { return r.low <= v && v <= r.high; };
    std::size_t at = 0;
    for (const EnergySample& s : ticks) {
        while (at < spans.size() && spans[at].last.time < s.time) ++at;
        ASSERT_LT(at, spans.size());
        ASSERT_LE(spans[at].first.time, s.time);
        EXPECT_TRUE(within(spans[at].kinetic, s.kinetic) && within(spans[at].potential, s.potential) &&
                    within(spans[at].total, s.total()))
            << "at " << s.time << " s";
    }
    // The ranges are no wider than the samples they cover: the whole run's.
    const auto [lowest, highest] = std::minmax_element(
        ticks.begin(), ticks.end(), [](const EnergySample& a, const EnergySample& b) { return a.kinetic < b.kinetic; });
    double shownLow = spans[0].kinetic.low, shownHigh = spans[0].kinetic.high;
    for (const EnergySpan& span : spans) {
        shownLow = std::min(shownLow, span.kinetic.low);
        shownHigh = std::max(shownHigh, span.kinetic.high);
    }
    EXPECT_EQ(shownLow, lowest->kinetic);
    EXPECT_EQ(shownHigh, highest->kinetic);
}

TEST(BurnPreviewTest, EachButtonPreviewsTheVelocityItsPressGives) {
    for (const Burn burn : {Burn::Forward, Burn::Backward, Burn::ToRight, Burn::ToLeft, Burn::Apply}) {
        testing::Rig rig;
        rig.run();
        rig.korvel.cmd_color_Click(kBankImpulse1000 + 1);
        rig.controls.box(kBoxDirection) = "0.4";
        const auto preview = velocityAfterBurn(rig.state, burn, rig.controls.box(kBoxDirection));
        ASSERT_TRUE(preview);
        if (burn == Burn::Apply)
            rig.korvel.cmd_apply_Click();
        else
            rig.korvel.cmd_color_Click(static_cast<int>(burn));
        EXPECT_EQ(preview->x, rig.state.velX[kCraft]);
        EXPECT_EQ(preview->y, rig.state.velY[kCraft]);
    }
    // Presses that would be refused preview nothing.
    testing::Rig rig;
    rig.run();
    EXPECT_FALSE(velocityAfterBurn(rig.state, Burn::Forward, "0"));  // no size yet
    rig.state.impulseSize = 10;
    EXPECT_FALSE(velocityAfterBurn(rig.state, Burn::Apply, "north"));
    rig.state.velX[kCraft] = rig.state.velY[kCraft] = 0;
    EXPECT_FALSE(velocityAfterBurn(rig.state, Burn::ToLeft, "0"));
}

}  // namespace
}  // namespace korvel::orbit
