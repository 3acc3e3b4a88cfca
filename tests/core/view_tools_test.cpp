#include "app/view/view_tools.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/headless_run.h"
#include "sim/units.h"

namespace korvel {
namespace {

// The mantissa of a round value, 1, 2 or 5 when it is one.
double mantissa(double value) { return value / std::pow(10.0, std::floor(std::log10(value) + 1e-9)); }

bool isRound(double value) {
    const double m = mantissa(value);
    return std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9;
}

TEST(ViewToolsTest, TheGridTakesTheSmallestRoundSpacingAtLeastFortyPixelsApartAtEveryZoom) {
    for (double ppm = 1e-250; ppm < 1e250; ppm *= 7.3) {
        const auto grid = gridSpacing(ppm);
        ASSERT_TRUE(grid) << ppm;
        EXPECT_TRUE(isRound(grid->metres / 1000)) << grid->metres;
        // At least 40 px; the next round spacing down (at most 2.5 times
        // smaller) would be under 40.
        EXPECT_GE(grid->pixels, 40 * (1 - 1e-9)) << ppm;
        EXPECT_LT(grid->pixels, 100) << ppm;
        EXPECT_EQ(grid->text.rfind("grid ", 0), 0u);
        EXPECT_EQ(grid->text.substr(grid->text.size() - 3), " km");
    }
    EXPECT_EQ(gridSpacing(40 / 5e6)->text, "grid 5,000 km");
    EXPECT_EQ(gridSpacing(1e-6)->text, "grid 50,000 km");
    EXPECT_EQ(gridSpacing(400)->text, "grid 0.0001 km");
    EXPECT_FALSE(gridSpacing(0));
    EXPECT_FALSE(gridSpacing(NAN));
    EXPECT_FALSE(gridSpacing(INFINITY));
}

TEST(ViewToolsTest, GridLinesAreTheMultiplesInViewAndNeverTooMany) {
    const std::vector<double> lines = gridLines(-2500, 7100, 1000);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines.front(), -2000);
    EXPECT_EQ(lines.back(), 7000);
    EXPECT_EQ(lines[2], 0);
    // Far from the planet the lines stay distinct and few; a grid too dense
    // to draw gives none rather than a loop without end.
    const std::vector<double> far = gridLines(1e17, 1e17 + 1e5, 1e4);
    EXPECT_LE(far.size(), 11u);
    EXPECT_TRUE(gridLines(0, 1e300, 1e-300).empty());
    EXPECT_TRUE(gridLines(0, INFINITY, 1).empty());
    EXPECT_TRUE(gridLines(5, 1, 1).empty());
}

TEST(ViewToolsTest, TheTapeSnapsToTheLogAndReadsItsDistanceAndFlightTime) {
    std::vector<DataRow> rows;
    const HeadlessOutcome outcome =
        runHeadless(defaultScenario(), {3600, 60}, {[&](const DataRow& row) { rows.push_back(row); }, {}});
    ASSERT_TRUE(outcome.fault.empty()) << outcome.fault;
    ASSERT_GT(rows.size(), 40u);
    ViewTransform view;
    view.setScreenScale(3);
    view.setSize(567, 500);
    // Close enough that rows a minute apart lie far more than the reach apart.
    view.zoomAbout({283.5, 250}, 20);
    const Vec2 craft = rows.back().position;
    const std::vector<SnapTarget> targets = snapTargets(craft, {{-1e7, 0}}, rows);
    const auto near = [&](Vec2 world, double dx, double dy) {
        const Vec2 at = view.toScreen(world);
        return Vec2{at.x + dx, at.y + dy};
    };
    // Two trail points a few pixels off: their rows, their times.
    const SnapTarget a = snapEnd(near(rows[10].position, 3, -2), targets, view);
    const SnapTarget b = snapEnd(near(rows[30].position, -2, 3), targets, view);
    ASSERT_TRUE(a.time && b.time);
    EXPECT_EQ(*a.time, rows[10].time);
    EXPECT_EQ(*b.time, rows[30].time);
    const TapeReading reading = tapeReading(b, a);
    EXPECT_DOUBLE_EQ(reading.metres,
                     std::hypot(rows[30].position.x - rows[10].position.x, rows[30].position.y - rows[10].position.y));
    ASSERT_TRUE(reading.flightSeconds);
    EXPECT_DOUBLE_EQ(*reading.flightSeconds, rows[30].time - rows[10].time);
    EXPECT_EQ(reading.text, kmText(reading.metres) + ", flight time 1,200 s");
    // The planet's centre and an apsis snap, with no time; far from all, the end is free.
    const SnapTarget centre = snapEnd(near({0, 0}, 4, 0), targets, view);
    EXPECT_EQ(centre.world.x, 0);
    EXPECT_FALSE(centre.time);
    EXPECT_EQ(snapEnd(near({-1e7, 0}, 0, 5), targets, view).world.x, -1e7);
    const SnapTarget free = snapEnd(near({0, 0}, 40, 0), targets, view);
    EXPECT_NEAR(free.world.x, view.toWorld(near({0, 0}, 40, 0)).x, 1e-6);
    EXPECT_EQ(tapeReading(centre, a).text.find("flight"), std::string::npos);
    EXPECT_EQ(tapeReading(centre, centre).text, "0 km");
}

TEST(ViewToolsTest, TapeTextsHaveThreeSignificantFigures) {
    EXPECT_EQ(kmText(12345.6), "12.3 km");
    EXPECT_EQ(kmText(1234567), "1,230 km");
    EXPECT_EQ(kmText(999600), "1,000 km");
    EXPECT_EQ(kmText(1.5), "0.00150 km");
    EXPECT_EQ(kmText(NAN), "? km");
}

TEST(ViewToolsTest, AnArrowIsAboutAFifthOfTheViewAtARoundScale) {
    const double view = 500;
    for (double magnitude = 1e-6; magnitude < 1e9; magnitude *= 3.7) {
        for (const double gridPixels : {40.0, 63.0, 99.0}) {
            const auto perSquare = arrowUnitPerSquare(magnitude, gridPixels, view);
            ASSERT_TRUE(perSquare);
            EXPECT_TRUE(isRound(*perSquare)) << *perSquare;
            // The nearest round value is within √2.5 of the exact one.
            const double length = magnitude / *perSquare * gridPixels;
            EXPECT_GT(length, view / 5 / 1.59) << magnitude;
            EXPECT_LT(length, view / 5 * 1.59) << magnitude;
            EXPECT_TRUE(arrowScaleFits(magnitude, *perSquare, gridPixels, view));
            EXPECT_FALSE(arrowScaleFits(magnitude * 1e6, *perSquare, gridPixels, view));
            EXPECT_FALSE(arrowScaleFits(magnitude / 100, *perSquare, gridPixels, view));
        }
    }
    EXPECT_FALSE(arrowUnitPerSquare(0, 40, view));
    EXPECT_FALSE(arrowUnitPerSquare(INFINITY, 40, view));
    EXPECT_EQ(speedText(7822.9), "7.82 km/s");
    EXPECT_EQ(speedText(2000, 1), "2 km/s");
    EXPECT_EQ(speedText(500, 1), "500 m/s");
    EXPECT_EQ(accelerationText(0.5, 1), "0.5 m/s\u00b2");
}

TEST(ViewToolsTest, ThePullPointsAtTheBodyWithTheSurfaceGravityAtOneRadius) {
    const Vec2 pull = pullOn({0, kLengthUnit}, {0, 0}, gravityParameter(1));
    EXPECT_NEAR(pull.x, 0, 1e-12);
    EXPECT_NEAR(pull.y, -kSurfaceGravity, 1e-9);
    const Vec2 second = pullOn({3 * kLengthUnit, 0}, {kLengthUnit, 0}, gravityParameter(2));
    EXPECT_NEAR(second.x, -2 * kSurfaceGravity / 4, 1e-9);
    const Vec2 none = pullOn({5, 5}, {5, 5}, gravityParameter(1));
    EXPECT_EQ(none.x, 0);
    EXPECT_EQ(none.y, 0);
}

}  // namespace
}  // namespace korvel
