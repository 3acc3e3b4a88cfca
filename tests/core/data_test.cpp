#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

#include "app/files/data_csv.h"
#include "app/headless_run.h"
#include "app/panel.h"
#include "fakes.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using testing::Rig;

// The rows of a CSV text, each as its fields.
std::vector<std::vector<std::string>> readCsv(const std::string& text, CsvStyle style) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line) && line.back() == '\r';) {
        auto& fields = rows.emplace_back(1);
        for (const char c : line.substr(0, line.size() - 1))
            c == (style == CsvStyle::Comma ? ',' : ';') ? (void)fields.emplace_back() : (void)(fields.back() += c);
    }
    return rows;
}

double number(std::string field) {
    std::replace(field.begin(), field.end(), ',', '.');
    return strictNumber(field).value_or(NAN);
}

// A rig on ticks of 1 ms, its run as the program's log recorded it.
struct RecordedRig : Rig {
    void tick() { tickAfter(0.001); }
    void press(int bank) { korvel.cmd_color_Click(bank); }
    const std::vector<DataRow>& rows() const { return korvel.log().history().rows(); }
};

TEST(DataTest, TheColumnsAgreeWithOneAnotherAndTheSecondPlanetPulls) {
    RecordedRig rig;
    rig.korvel.runSImulation_Click();
    rig.controls.box(kBoxSecondPlanetMass) = "0.5";
    rig.controls.box(kBoxSecondPlanetDist) = "2";
    rig.press(kBankSecondPlanet);
    for (int i = 0; i < 50; ++i) rig.tick();

    const auto rows = readCsv(csvText(rig.rows(), CsvStyle::Comma), CsvStyle::Comma);
    ASSERT_GT(rows.size(), 3u);
    const double mu = gravityParameter(1);
    const SimulationState& s = rig.state;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        std::vector<double> n;
        for (int c = 0; c < 10; ++c) n.push_back(number(rows[i][c]));
        EXPECT_NEAR(n[5], std::hypot(n[1], n[2]), 1e-15 * n[5]);
        EXPECT_NEAR(n[6], std::hypot(n[3], n[4]), 1e-15 * n[6]);
        EXPECT_NEAR(n[7], (n[3] * n[3] + n[4] * n[4]) / 2, 1e-15 * n[7]);
        EXPECT_NEAR(n[9], n[7] + n[8], 1e-15 * std::abs(n[9]));
        if (i < rows.size() - 1) continue;
        // The newest row is the state as it stands, the second planet's pull
        // in its potential.
        EXPECT_EQ(n[1], s.posX[kCraft]);
        EXPECT_EQ(n[4], s.velY[kCraft]);
        const double toSecond = std::hypot(n[1] - s.posX[kSecondPlanet], n[2] - s.posY[kSecondPlanet]);
        EXPECT_NEAR(n[8], -mu / n[5] - gravityParameter(0.5) / toSecond, 1e-12 * std::abs(n[8]));
    }
}

// Where Kepler's equation puts a body that starts at `r0` with `v0` about a
// planet of μ, `t` seconds later.
Vec2 keplerPosition(Vec2 r0, Vec2 v0, double mu, double t) {
    const double r = std::hypot(r0.x, r0.y);
    const double v2 = v0.x * v0.x + v0.y * v0.y;
    const double rv = r0.x * v0.x + r0.y * v0.y;
    const Vec2 ev{((v2 - mu / r) * r0.x - rv * v0.x) / mu, ((v2 - mu / r) * r0.y - rv * v0.y) / mu};
    const double e = std::hypot(ev.x, ev.y);
    const double a = 1 / (2 / r - v2 / mu);
    const double periapsisAngle = std::atan2(ev.y, ev.x);
    const double nu0 = std::atan2(r0.y, r0.x) - periapsisAngle;
    const double e0 = 2 * std::atan2(std::sqrt(1 - e) * std::sin(nu0 / 2), std::sqrt(1 + e) * std::cos(nu0 / 2));
    const double m = e0 - e * std::sin(e0) + std::sqrt(mu / (a * a * a)) * t;
    double E = m;
    for (int i = 0; i < 50; ++i) E -= (E - e * std::sin(E) - m) / (1 - e * std::cos(E));
    const double nu = 2 * std::atan2(std::sqrt(1 + e) * std::sin(E / 2), std::sqrt(1 - e) * std::cos(E / 2));
    const double radius = a * (1 - e * std::cos(E));
    return {radius * std::cos(nu + periapsisAngle), radius * std::sin(nu + periapsisAngle)};
}

TEST(DataTest, AHeadlessDefaultEllipseFollowsKeplersEquationForADay) {
    std::vector<DataRow> rows;
    const HeadlessOutcome outcome =
        runHeadless(defaultScenario(), {86400, 600}, {[&](const DataRow& row) { rows.push_back(row); }, {}});
    ASSERT_TRUE(outcome.fault.empty()) << outcome.fault;
    EXPECT_TRUE(outcome.stopped.empty());
    EXPECT_EQ(outcome.ticks, 86400u);
    ASSERT_EQ(rows.size(), 145u);
    EXPECT_EQ(eventText(rows.front().event), "run started");
    const Vec2 r0 = rows.front().position;
    const Vec2 v0 = rows.front().velocity;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].time, 600.0 * i);
        const Vec2 kepler = keplerPosition(r0, v0, gravityParameter(1), rows[i].time);
        EXPECT_LT(std::hypot(rows[i].position.x - kepler.x, rows[i].position.y - kepler.y), 1e-3 * kLengthUnit)
            << "at " << rows[i].time << " s";
    }
}

TEST(DataTest, AHeadlessRunGoesOnFromAKeptRun) {
    // Kept at 5 simulated seconds, it goes on from there: the last moment
    // falls between two rows of the interval.
    Rig kept;
    kept.run();
    for (int i = 0; i < 5; ++i) kept.tickAfter(0.001);
    kept.korvel.cmd_stop_simulation_Click();
    std::vector<DataRow> got;
    runHeadless(kept.korvel.scenario(), {7.5, 3}, {[&](const DataRow& row) { got.push_back(row); }, {}});
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(eventText(got[0].event), "run opened");
    EXPECT_EQ(got[0].position.x, kept.state.posX[kCraft]);
    EXPECT_NEAR(got[1].time, 8, 1e-9);
    EXPECT_NEAR(got[2].time, 11, 1e-9);
    EXPECT_NEAR(got[3].time, 13, 1e-9);
}

TEST(DataTest, EventRowsNameWhatHappenedAtItsMoment) {
    // At the default time factor every tick is a whole second.
    RecordedRig rig;
    rig.korvel.runSImulation_Click();
    rig.tick();
    for (int bank : std::initializer_list<int>{kBankImpulse1000, kBankForward, kBankImpulse1000 + 1, kBankBackward,
                                               kBankImpulse1000 + 2, kBankToRight, kBankImpulse1, kBankToLeft})
        rig.press(bank);
    rig.korvel.cmd_apply_Click();
    rig.press(kBankSecondPlanet);  // the description texts are no planet: refused, no row
    rig.controls.box(kBoxSecondPlanetMass) = "0.1";
    rig.controls.box(kBoxSecondPlanetDist) = "3";
    rig.press(kBankSecondPlanet);
    rig.tick();
    // Half a tick on, the pause's row is still the state's own moment.
    rig.clock.reading += 0.0005;
    rig.korvel.cmd_stop_simulation_Click();
    rig.clock.reading += 5;
    rig.korvel.cmd_continue_Click();
    rig.tick();

    std::vector<std::string> events;
    for (const auto& row : readCsv(csvText(rig.rows(), CsvStyle::Comma), CsvStyle::Comma))
        if (!row[10].empty()) events.push_back(row[10] + " @" + row[0]);
    const std::vector<std::string> expected = {
        "event @time_s",    "run started @0", "forward 1000 m/s @1",     "backward 100 m/s @1", "to right 10 m/s @1",
        "to left 1 m/s @1", "apply 1 m/s @1", "second planet placed @1", "paused @2",           "continued @2",
    };
    EXPECT_EQ(events, expected);
    // The burn's row holds the velocity after it.
    EXPECT_GT(rig.rows()[2].speed(), rig.rows()[1].speed() + 999);
    // The half tick before the pause is simulated after it.
    EXPECT_EQ(rig.rows().back().time, 3.5);
    // The graph's energy is the rows' own, at the same moment, and each of the
    // five burns and the second planet makes a step in it.
    const auto& spans = rig.korvel.log().energy().spans();
    EXPECT_EQ(spans.back().last.time, rig.rows().back().time);
    EXPECT_EQ(spans.back().last.total(), rig.rows().back().total());
    EXPECT_EQ(std::count_if(spans.begin(), spans.end(), [](const auto& span) { return span.afterImpulse; }), 6);

    // A new run starts a new history and a new graph.
    rig.korvel.runSImulation_Click();
    ASSERT_EQ(rig.rows().size(), 1u);
    EXPECT_EQ(eventText(rig.rows()[0].event), "run started");
    ASSERT_EQ(rig.korvel.log().energy().spans().size(), 1u);
    EXPECT_EQ(rig.korvel.log().energy().spans()[0].first.time, 0);
}

TEST(DataTest, TheTrailGoesOnAcrossRunDontClearAndStartsAgainWithRunSimulation) {
    RecordedRig rig;
    const auto& trail = rig.korvel.log().trail().rows();
    const auto& path = rig.korvel.log().secondPlanetPath();
    rig.korvel.runSImulation_Click();
    rig.controls.box(kBoxSecondPlanetMass) = "0.1";
    rig.controls.box(kBoxSecondPlanetDist) = "3";
    rig.press(kBankSecondPlanet);
    for (int i = 0; i < 3; ++i) rig.tick();
    ASSERT_EQ(trail.size(), rig.rows().size());
    EXPECT_EQ(trail.back().time, rig.rows().back().time);
    // Where it was placed, then where it went.
    ASSERT_GE(path.size(), 2u);
    EXPECT_EQ(path.front().x, 3 * kLengthUnit);
    EXPECT_TRUE(std::none_of(path.begin(), path.end(), isPathBreak));

    // "Run (don't clear)": the history starts again, the trail goes on with a
    // new stroke from a run's start at 0.
    const std::size_t before = trail.size();
    rig.korvel.cmd_restart_Click();
    rig.tick();
    EXPECT_EQ(rig.rows().size(), 2u);
    ASSERT_EQ(trail.size(), before + 2);
    EXPECT_EQ(eventText(trail[before].event), "run started");
    EXPECT_LT(trail[before].time, trail[before - 1].time);
    // Placed anew, the second planet's path breaks.
    const std::size_t points = path.size();
    rig.press(kBankSecondPlanet);
    ASSERT_EQ(path.size(), points + 2);
    EXPECT_TRUE(isPathBreak(path[points]));
    EXPECT_EQ(path.back().x, 3 * kLengthUnit);

    // "Run Simulation" clears the drawing, and so the trail and the path.
    rig.korvel.runSImulation_Click();
    EXPECT_EQ(trail.size(), 1u);
    EXPECT_EQ(path.size(), 1u);
    rig.korvel.openScenario(defaultScenario());
    EXPECT_TRUE(trail.empty() && path.empty());

    // A run without a window keeps neither.
    RecordedRig headless;
    headless.korvel.keepInLog({.rows = false, .energy = false});
    headless.korvel.runSImulation_Click();
    headless.press(kBankSecondPlanet);
    headless.tick();
    EXPECT_TRUE(headless.korvel.log().trail().rows().empty() && headless.korvel.log().secondPlanetPath().empty());
}

TEST(DataTest, OneRevolutionGivesAtLeastFiveHundredRows) {
    RecordedRig rig;
    rig.controls.box(kBoxTimeFactor) = "1024";
    rig.korvel.runSImulation_Click();
    const auto figures = orbit::orbitFigures({rig.state.posX[kCraft], rig.state.posY[kCraft]},
                                             {rig.state.velX[kCraft], rig.state.velY[kCraft]}, {1});
    const int ticks = static_cast<int>(std::ceil(*figures->period));  // 1 s each
    for (int i = 0; i < ticks; ++i) rig.tick(), rig.picture.calls.clear();
    EXPECT_GE(rig.rows().size(), 500u);
    EXPECT_LE(rig.rows().size(), 1001u);
}

DataRow circularRow(double time, RowEvent event = {}) {
    const double r = 2.0 * kLengthUnit;
    const double v = std::sqrt(gravityParameter(1) / r);
    const double a = time * v / r;
    return {time, {r * std::cos(a), r * std::sin(a)}, {-v * std::sin(a), v * std::cos(a)}, v * v / 2, 0, event};
}

TEST(DataTest, ThinningKeepsMemoryBoundedAndEveryEvent) {
    // A small history, many rows, an event now and then.
    RunHistory small(200);
    small.clear({1});
    const double spacing = RunHistory::kShareOfRevolution * 2 * std::numbers::pi *
                           std::sqrt(std::pow(2.0 * kLengthUnit, 3) / gravityParameter(1));
    int events = 0;
    for (int i = 0; i < 100'000; ++i) {
        const double t = i * spacing / 10.3;  // rows come more often than they stay
        const bool event = i % 9973 == 0;
        event ? small.addEvent(circularRow(t, {RowEvent::Kind::ImpulseFired, Burn::Forward, 10}))
              : small.add(circularRow(t));
        events += event;
        ASSERT_LT(small.rows().size(), 200u);
    }
    const auto& rows = small.rows();
    EXPECT_EQ(rows.back().time, 99'999 * spacing / 10.3);
    const auto plain = [&](std::size_t i) { return rows[i].event.kind == RowEvent::Kind::None; };
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const DataRow& row) { return row.event.size == 10; }), events);
    // Evenly: away from the events, rows lie one spacing apart, give or take
    // the rows that came between.
    for (std::size_t i = 2; i + 1 < rows.size(); ++i) {
        if (plain(i - 2) && plain(i - 1) && plain(i) && plain(i + 1)) {
            EXPECT_NEAR(rows[i].time - rows[i - 1].time, small.spacing(), 0.1 * small.spacing()) << i;
        }
    }

    // The history as the window keeps it stays under 16 MB however long the run.
    RunHistory full;
    full.clear({1});
    for (int i = 0; i < 600'000; ++i) full.add(circularRow(i * spacing * 3));
    EXPECT_LT(full.memoryBytes(), 16'000'000u);
    EXPECT_GT(full.rows().size(), 50'000u);
}

TEST(DataTest, TheSemicolonFormReadsBackToTheSameNumbers) {
    std::vector<DataRow> rows = {circularRow(0.1, {RowEvent::Kind::RunStarted}), circularRow(1e-300),
                                 circularRow(12345.678)};
    rows[1].potential = -0.0;
    const std::string text = csvText(rows, CsvStyle::Semicolon);
    EXPECT_EQ(text.find('.'), std::string::npos);
    const auto read = readCsv(text, CsvStyle::Semicolon);
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0][1], "x_m");
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ASSERT_EQ(read[i + 1].size(), 11u);
        EXPECT_EQ(number(read[i + 1][0]), rows[i].time);
        EXPECT_EQ(number(read[i + 1][3]), rows[i].velocity.x);
        EXPECT_EQ(std::signbit(number(read[i + 1][8])), std::signbit(rows[i].potential));
    }
    EXPECT_EQ(read[1][10], "run started");
    // A field quoted only when it must be, its quotes doubled.
    EXPECT_EQ(csvField("a,b", CsvStyle::Semicolon), "a,b");
    EXPECT_EQ(csvField("a;b \"c\"", CsvStyle::Semicolon), "\"a;b \"\"c\"\"\"");
    EXPECT_EQ(csvField("a\nb", CsvStyle::Comma), "\"a\nb\"");
}

}  // namespace
}  // namespace korvel
