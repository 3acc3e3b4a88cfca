#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "app/files/scenario_file.h"
#include "app/panel.h"
#include "fakes.h"
#include "orbit/elements.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using testing::Rig;
using testing::stateNumbers;

// A run with a burn and a second planet, paused; times are binary fractions,
// so that every clock sum is exact.
void keepARun(Rig& rig) {
    rig.controls.box(kBoxInitAngle) = "-0";  // a negative zero the file must keep
    rig.run();
    rig.tickAfter(0.5);
    rig.korvel.cmd_color_Click(kBankImpulse1000 + 1);
    rig.korvel.cmd_color_Click(kBankForward);
    rig.controls.box(kBoxSecondPlanetMass) = "0.0123";
    rig.controls.box(kBoxSecondPlanetDist) = "2.5";
    rig.korvel.cmd_color_Click(kBankSecondPlanet);
    rig.tickAfter(0.25);
    rig.clock.reading += 0.125;
    rig.korvel.cmd_stop_simulation_Click();
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameRows(const std::vector<DataRow>& a, const std::vector<DataRow>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const DataRow& x, const DataRow& y) {
        return sameBits(x.time, y.time) && sameBits(x.position.x, y.position.x) &&
               sameBits(x.position.y, y.position.y) && sameBits(x.velocity.x, y.velocity.x) &&
               sameBits(x.velocity.y, y.velocity.y) && sameBits(x.kinetic, y.kinetic) &&
               sameBits(x.potential, y.potential) && x.event.kind == y.event.kind && x.event.burn == y.event.burn &&
               x.event.size == y.event.size;
    });
}

// Every part of two logs, bit for bit; a path's breaks are NaN in both.
void expectSameLog(const KeptLog& a, const KeptLog& b) {
    EXPECT_TRUE(sameRows(a.history, b.history));
    EXPECT_TRUE(sameRows(a.trail, b.trail));
    EXPECT_EQ(a.historyThinned, b.historyThinned);
    EXPECT_EQ(a.trailThinned, b.trailThinned);
    EXPECT_EQ(a.energy, b.energy);
    EXPECT_TRUE(std::equal(
        a.secondPlanetPath.begin(), a.secondPlanetPath.end(), b.secondPlanetPath.begin(), b.secondPlanetPath.end(),
        [](Vec2 p, Vec2 q) { return isPathBreak(p) ? isPathBreak(q) : sameBits(p.x, q.x) && sameBits(p.y, q.y); }));
}

TEST(ScenarioTest, AKeptRunComesBackExactlyAndGoesOnAsItWould) {
    Rig kept;
    keepARun(kept);
    Scenario scenario = kept.korvel.scenario();
    scenario.title = "Line\n\"two\"";
    scenario.run->drawingBase64 = "iVBORw0KGgoA/w==";  // a PNG's first bytes, as the window encodes them
    EXPECT_EQ(scenarioText(scenario).find("\"view\""), std::string::npos);  // none kept, none written
    scenario.view =
        ScenarioView{ViewColours::Light,   3, true, {{Vec2{-0.0, 1.0 / 3}, Vec2{6.4e6, -7e-9}}}, false, true, 0.1 + 0.2,
                     Vec2{-1.0 / 7, 2.5e7}};
    const std::string text = scenarioText(scenario);

    const ScenarioRead read = parseScenario(text);
    ASSERT_TRUE(read.scenario) << read.fault;
    EXPECT_EQ(read.scenario->title, scenario.title);
    EXPECT_EQ(read.scenario->run->drawingBase64, scenario.run->drawingBase64);
    EXPECT_EQ(scenarioText(*read.scenario), text);
    ASSERT_TRUE(read.scenario->view);
    const ScenarioView& view = *read.scenario->view;
    EXPECT_EQ(view, *scenario.view);
    EXPECT_TRUE(sameBits(view.tape->at(0).x, -0.0) && sameBits(view.zoom, 0.1 + 0.2));
    EXPECT_TRUE(sameBits(view.centre.x, -1.0 / 7) && sameBits(view.tape->at(1).y, -7e-9));
    // The log, bit for bit: the burn's row, the second planet's path, a step
    // in the energy.
    const KeptLog& log = *scenario.run->log;
    ASSERT_TRUE(read.scenario->run->log);
    expectSameLog(*read.scenario->run->log, log);
    EXPECT_GE(log.history.size(), 4u);
    EXPECT_FALSE(log.secondPlanetPath.empty());
    EXPECT_TRUE(std::any_of(log.energy.begin(), log.energy.end(), [](const auto& span) { return span.afterImpulse; }));

    Rig opened;
    opened.clock.reading = 4096;
    opened.korvel.openScenario(*read.scenario);
    // The whole run as before it was kept, then the row of its opening.
    const std::vector<DataRow>& rows = opened.korvel.log().history().rows();
    ASSERT_EQ(rows.size(), log.history.size() + 1);
    EXPECT_TRUE(sameRows({rows.begin(), rows.end() - 1}, log.history));
    EXPECT_EQ(eventText(rows.back().event), "run opened");
    EXPECT_EQ(opened.korvel.log().trail().rows().size(), log.trail.size() + 1);
    EXPECT_EQ(opened.korvel.log().energy().spans().front(), log.energy.front());
    EXPECT_EQ(opened.korvel.log().secondPlanetPath().size(), log.secondPlanetPath.size() + 1);
    EXPECT_TRUE(opened.korvel.paused());
    EXPECT_EQ(opened.korvel.simulatedTime(), kept.korvel.simulatedTime());
    EXPECT_EQ(opened.controls.boxes, kept.controls.boxes);  // panel and readouts alike
    EXPECT_EQ(opened.controls.bank(kBankDistance), kept.controls.bank(kBankDistance));
    EXPECT_EQ(opened.state.impulseSize, 100);
    EXPECT_EQ(opened.korvel.drainEvents().back().kind, RunEvent::Kind::RunOpened);
    EXPECT_EQ(opened.korvel.scenario().title, scenario.title);  // kept for the next save

    for (Rig* rig : {&kept, &opened}) {
        rig->clock.reading += 8;
        rig->korvel.cmd_continue_Click();
        rig->tickAfter(0.25);
        rig->korvel.cmd_color_Click(kBankToLeft);
        rig->tickAfter(0.5);
    }
    const auto a = stateNumbers(kept.state);
    const auto b = stateNumbers(opened.state);
    // Past the clock fields, which are the machine's own readings.
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (i < 4 * kBodyCount + kMaxRings + 1 || i >= 4 * kBodyCount + kMaxRings + 5) {
            EXPECT_TRUE(sameBits(a[i], b[i])) << "number " << i << ": " << a[i] << " and " << b[i];
        }
    }
    EXPECT_TRUE(sameBits(kept.state.posY[kCraft], opened.state.posY[kCraft]));
    EXPECT_EQ(opened.korvel.simulatedTime(), kept.korvel.simulatedTime());
}

TEST(ScenarioTest, ANegativeZeroSavedRightAfterRunSimulationComesBackNegative) {
    Rig kept;
    kept.controls.box(kBoxInitAngle) = "-0";  // the craft at a y of -0
    kept.controls.box(kBoxBurn) = "-0";       // and a velocity of -0 along x
    kept.run();
    ASSERT_TRUE(std::signbit(kept.state.posY[kCraft]) && std::signbit(kept.state.velX[kCraft]));

    const ScenarioRead read = parseScenario(scenarioText(kept.korvel.scenario()));
    ASSERT_TRUE(read.scenario) << read.fault;
    const SimulationState& s = read.scenario->run->state;
    EXPECT_TRUE(std::signbit(s.posY[kCraft]) && s.posY[kCraft] == 0);
    EXPECT_TRUE(std::signbit(s.velX[kCraft]) && s.velX[kCraft] == 0);
    EXPECT_EQ(s.startAngle, "-0");

    Rig opened;
    opened.korvel.openScenario(*read.scenario);
    EXPECT_TRUE(std::signbit(opened.state.posY[kCraft]) && std::signbit(opened.state.velX[kCraft]));
}

TEST(ScenarioTest, AKeptRunFromBeforeLogsOpensWithItsLogStartingThere) {
    Rig kept;
    keepARun(kept);
    Scenario older = kept.korvel.scenario();
    older.run->log.reset();
    const std::string text = scenarioText(older);
    EXPECT_EQ(text.find("\"log\""), std::string::npos);
    const ScenarioRead read = parseScenario(text);
    ASSERT_TRUE(read.scenario) << read.fault;
    EXPECT_FALSE(read.scenario->run->log);
    EXPECT_EQ(scenarioText(*read.scenario), text);

    Rig opened;
    opened.korvel.openScenario(*read.scenario);
    ASSERT_EQ(opened.korvel.log().history().rows().size(), 1u);
    EXPECT_EQ(eventText(opened.korvel.log().history().rows()[0].event), "run opened");
    EXPECT_EQ(opened.korvel.log().trail().rows().size(), 1u);
    EXPECT_EQ(opened.korvel.log().energy().spans().size(), 1u);
}

// Many revolutions with burns, and a run that goes on without clearing the
// drawing: more log than a file holds.
TEST(ScenarioTest, ALongRunKeptFitsInTheLargestFileWithEveryEvent) {
    Rig rig;
    rig.controls.box(kBoxTimeFactor) = "10000";
    rig.run();
    rig.korvel.cmd_color_Click(kBankImpulse1);
    for (int i = 1; i <= 80'000; ++i) {
        rig.tickAfter(0.001);
        rig.picture.calls.clear();
        if (i % 2000 == 0) rig.korvel.cmd_color_Click(i % 4000 == 0 ? kBankForward : kBankBackward);
        if (i == 20'000) rig.korvel.cmd_restart_Click();
    }
    rig.korvel.cmd_stop_simulation_Click();
    Scenario scenario = rig.korvel.scenario();
    scenario.run->drawingBase64 = std::string(1 << 20, 'A');  // a busy drawing
    const std::string text = scenarioText(scenario);
    std::cout << "a long run kept: " << text.size() << " bytes\n";
    EXPECT_LT(text.size(), kScenarioLargestFile);

    const ScenarioRead read = parseScenario(text);
    ASSERT_TRUE(read.scenario) << read.fault;
    EXPECT_EQ(scenarioText(*read.scenario), text);  // fitted once, it fits as it is
    const KeptLog& all = *scenario.run->log;
    const KeptLog& fitted = *read.scenario->run->log;
    const auto events = [](const std::vector<DataRow>& rows) {
        std::vector<std::string> found;
        for (const DataRow& row : rows)
            if (row.event.kind != EventKind::None)
                found.push_back(eventText(row.event) + " @" + roundTripText(row.time));
        return found;
    };
    EXPECT_LT(fitted.history.size() + fitted.trail.size(), all.history.size() + all.trail.size());
    EXPECT_GT(fitted.historyThinned * fitted.trailThinned, all.historyThinned * all.trailThinned);
    EXPECT_EQ(events(fitted.history), events(all.history));
    EXPECT_EQ(events(fitted.trail), events(all.trail));
    EXPECT_EQ(fitted.history.back().time, all.history.back().time);
    EXPECT_EQ(fitted.trail.front().time, all.trail.front().time);
}

TEST(ScenarioTest, AHandWrittenFileTakesTheDefaultsAndIgnoresWhatItDoesNotKnow) {
    const ScenarioRead read = parseScenario(R"({"format": "korvel-scenario", "version": 1,
        "panel": {"time factor": 5000, "init distance": "2 radii", "colour": "red"}, "author": "a teacher",
        "view": {"colours": "dark", "line width": 1, "grid": false, "tape": [[1, 2], [3, 4]], "velocity arrow": true,
                 "gravity arrow": false, "zoom": 1, "centre": [0, 0], "ruler": true}})");
    ASSERT_TRUE(read.scenario) << read.fault;
    Scenario expected = defaultScenario();
    expected.panel[kBoxTimeFactor] = "5000";
    expected.panel[kBoxInitDistance] = "2 radii";  // kept as typed, as a box would
    EXPECT_EQ(read.scenario->panel, expected.panel);
    EXPECT_FALSE(read.scenario->run);
    ASSERT_TRUE(read.scenario->view);
    EXPECT_EQ(read.scenario->view->tape, (std::array{Vec2{1, 2}, Vec2{3, 4}}));
    EXPECT_TRUE(read.scenario->view->velocityArrow);

    Rig rig;
    rig.korvel.openScenario(*read.scenario);
    EXPECT_EQ(rig.controls.box(kBoxTimeFactor), "5000");
    EXPECT_FALSE(rig.korvel.settings());  // no run until the operator starts one
    EXPECT_EQ(rig.korvel.drainEvents().front().kind, RunEvent::Kind::RunCleared);
}

TEST(ScenarioTest, EveryFaultIsNamedAndGivesNoScenario) {
    Rig rig;
    keepARun(rig);
    const std::string run = scenarioText(rig.korvel.scenario());
    // The kept run with its first `from` after `after` made `to`.
    const auto with = [&](const std::string& from, const std::string& to, const char* after = "\"run\"") {
        std::string text = run;
        const auto at = text.find(from, text.find(after));
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::string head = R"({"format": "korvel-scenario", )";
    // A good view with its first `from` made `to`.
    const auto view = [&head](const std::string& from, const std::string& to) {
        std::string text = head + R"("view": {"colours": "light", "line width": 2, "grid": true, "tape": null,)"
                                  R"( "velocity arrow": false, "gravity arrow": true, "zoom": 2, "centre": [0, 0]}})";
        return text.replace(text.find(from), from.size(), to);
    };
    std::string tooManyPoints;
    for (std::size_t i = 0; i <= RunLog::kPathCapacity; ++i) tooManyPoints += "[0,0],";
    const struct {
        std::string bytes;
        const char* fault;
    } cases[] = {
        {"{\n  \"format\": \"korvel-scenario\",\n  \"title\": \"x\" \"y\"\n}", "line 3, column"},
        {R"({"format": "other"})", "is not \"korvel-scenario\""},
        {R"([1, 2])", "holds no JSON object"},
        {head + R"("version": 2})", "version 2, and this program reads up to version 1"},
        {head + R"("panel": {"planet mass": 1e999}})", "not finite: 1e999"},
        {head + R"("title": ")" + std::string(1001, 'x') + "\"}", "over 1,000 characters"},
        {std::string(kScenarioLargestFile + 1, ' '), "larger than 8 MB"},
        {with("\"time factor\": \"", "\"time factor\": \"fast"), "time factor is not a number"},
        {with("\"impulse size\": 100", "\"impulse size\": 7"), "impulse size"},
        {with("\"clock\": ", "\"clock\": -"), "clock is not a time"},
        {with("\"x\": ", "\"x\": \"1\", \"was\": ", "\"craft\""), "\"x\" in \"craft\" is not a number"},
        {with("\"drawing\": \"", "\"drawing\": \"*"), "not base64"},
        {with("\"drawing\": \"", "\"drawing\": \"TW=E"), "not base64"},
        {with("\"drawing\": \"", "\"drawing\": \"TWE"), "\"drawing\" in \"run\" is not base64"},
        {with("\"drawing\": \"", "\"drawing\": 1, \"was\": \""), "\"drawing\" in \"run\" is not base64"},
        {with("\"rings\": [", "\"rings\": [1, "), "a list of 10 numbers"},
        {with("\"log\": {", "\"log\": [], \"was\": {"), "\"log\" in \"run\" is not an object"},
        {with("\"thinned\": 1", "\"thinned\": 3", "\"trail\""), "\"trail\" in \"log\" has no \"thinned\""},
        {with("\"rows\": [", "\"rows\": [[0,0,0,0,0,0,0,6,0,0],"),
         "\"history\" in \"log\" holds a row of an unknown event (row 1)"},
        {with("],\n", "],[1e9,0,0,0,0,0,0,0,0,0],\n", "\"rows\""),
         "\"history\" in \"log\" holds a row earlier than the one before it (row 3)"},
        {with("\"energy\": [", "\"energy\": [[1,2],"),
         "\"energy\" in \"log\" holds a span that is not a list of 13 numbers"},
        {with("\"second planet path\": [", "\"second planet path\": [\"a\","),
         "\"second planet path\" in \"log\" holds a point"},
        {with("\"second planet path\": [", "\"second planet path\": [" + tooManyPoints),
         "\"second planet path\" in \"log\" holds over 100,000 items"},
        {with("\"sub-steps\": ", "\"sub-steps\": 0, \"was\": "), "\"history\" in \"log\" ends after the run's moment"},
        {view("\"light\"", "\"blue\""), "\"colours\" in \"view\" must be \"dark\" or \"light\""},
        {view("\"light\"", "\"Light\""), "\"colours\" in \"view\" must be"},
        {view(": 2,", ": 4,"), "\"line width\" in \"view\" must be 1, 2 or 3"},
        {view(": 2,", ": 2.5,"), "\"line width\" in \"view\" must be 1, 2 or 3"},
        {view(": 2,", ": \"2\","), "\"line width\" in \"view\" must be 1, 2 or 3"},
        {view("true", "1"), "\"grid\" in \"view\" is not true or false"},
        {view("null", "[[0, 0]]"), "\"tape\" in \"view\" is not null or two points [[x, y], [x, y]]"},
        {view("null", "[[0, 0], [0, \"1\"]]"), "\"tape\" in \"view\" is not a point [x, y]"},
        {view("false", "null"), "\"velocity arrow\" in \"view\" is not true or false"},
        {view("\"zoom\": 2", "\"zoom\": 1e7"), "\"zoom\" in \"view\" must be from 0.001 to 1,000,000"},
        {view("\"zoom\": 2", "\"zoom\": 0"), "\"zoom\" in \"view\" must be from"},
        {view("\"zoom\": 2", "\"zoom\": \"2\""), "\"zoom\" in \"view\" is not a number"},
        {view("\"zoom\": 2", "\"zoom\": 1e999"), "not finite: 1e999"},
        {view("[0, 0]", "[0, 0, 0]"), "\"centre\" in \"view\" is not a point [x, y]"},
        {view(", \"zoom\": 2", ""), "\"view\" lacks \"zoom\""},
        {head + R"("view": "light"})", "\"view\" is not an object"},
    };
    for (const auto& c : cases) {
        const ScenarioRead read = parseScenario(c.bytes);
        EXPECT_FALSE(read.scenario) << "accepted: " << c.fault;
        EXPECT_NE(read.fault.find(c.fault), std::string::npos) << read.fault;
    }
    EXPECT_EQ(refusalMessage("a.korvel", "it is not JSON"),
              "\"a.korvel\" was not opened: it is not JSON. Nothing was changed.");
}

// The examples that ship, by file name, read from the source tree.
std::map<std::string, Scenario> examples() {
    std::map<std::string, Scenario> found;
    for (const auto& entry : std::filesystem::directory_iterator(KORVEL_EXAMPLES_DIR)) {
        std::ifstream file(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        ScenarioRead read = parseScenario(bytes);
        EXPECT_TRUE(read.scenario) << entry.path() << ": " << read.fault;
        if (read.scenario) found[entry.path().stem().string()] = *read.scenario;
    }
    return found;
}

// A run of the scenario started as the operator would, ticked in 1 ms steps
// for `seconds` of real time.
struct ExampleRun {
    explicit ExampleRun(const Scenario& scenario) {
        rig.korvel.openScenario(scenario);
        rig.run();
    }
    void tickFor(double seconds) {
        for (int i = 0; i < std::lround(seconds * 1000); ++i) rig.tickAfter(0.001);
    }
    orbit::OrbitFigures figures() {
        const auto f = orbit::orbitFigures({rig.state.posX[kCraft], rig.state.posY[kCraft]},
                                           {rig.state.velX[kCraft], rig.state.velY[kCraft]}, orbit::Planet{1});
        EXPECT_TRUE(f);
        return f.value_or(orbit::OrbitFigures{});
    }
    double distance() const { return std::hypot(rig.state.posX[kCraft], rig.state.posY[kCraft]) / kLengthUnit; }
    void burnForward(std::initializer_list<std::pair<int, int>> presses) {
        rig.korvel.cmd_stop_simulation_Click();
        for (const auto& [sizeButton, times] : presses) {
            rig.korvel.cmd_color_Click(sizeButton);
            for (int i = 0; i < times; ++i) rig.korvel.cmd_color_Click(kBankForward);
        }
        rig.korvel.cmd_continue_Click();
    }
    Rig rig;
};

// A figure a description states: the words around it as written, "#" where
// each number stands, and the values its numbers must give, in their order:
// each as rounded to its last digit, or as a bound on the value.
struct Stated {
    enum Kind { Rounded, AboveValue, BelowValue };
    std::string words;
    std::vector<double> values;
    Kind kind = Rounded;
    double tolerance = 0;
};

// A number as the descriptions write it: "7,829.3", "0.001", "1000"; not
// the "2" of the button "2d planet".
const char* const kNumber = R"((?:\d{1,3}(?:,\d{3})+(?:\.\d+)?|\d+(?:\.\d+)?)(?![A-Za-z]))";

std::regex statedPattern(const std::string& words) {
    std::string pattern;
    for (const char c : words) {
        if (c == '#')
            pattern += std::string("(") + kNumber + ")";
        else if (std::strchr(R"(\^$.|?*+()[]{}/)", c))
            pattern += std::string("\\") + c;
        else
            pattern += c;
    }
    return std::regex(pattern);
}

void expectNumber(const std::string& written, const Stated& stated, double value, const std::string& name) {
    std::string text = written;
    std::erase(text, ',');
    const double number = std::stod(text);
    const auto point = text.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
    const std::string where = name + ": " + written + " in \"" + stated.words + "\" against " + std::to_string(value);
    if (stated.kind == Stated::AboveValue)
        EXPECT_LT(value, number) << where;
    else if (stated.kind == Stated::BelowValue)
        EXPECT_GT(value, number) << where;
    else
        EXPECT_LE(std::fabs(number - value), std::max(0.5 * std::pow(10.0, -decimals), stated.tolerance)) << where;
}

// Every number in the example's description stands in one of `stated`, and
// each is what the orbit, or the panel, makes it.
void expectStated(const std::string& name, const Scenario& example, const std::vector<Stated>& stated) {
    const std::string& description = example.description;
    std::vector<std::pair<long, long>> read;  // the spans the checks read
    for (const Stated& s : stated) {
        std::smatch found;
        if (!std::regex_search(description, found, statedPattern(s.words))) {
            ADD_FAILURE() << name << " does not say: " << s.words;
            continue;
        }
        read.emplace_back(found.position(0), found.position(0) + found.length(0));
        ASSERT_EQ(found.size(), s.values.size() + 1) << s.words;
        for (std::size_t i = 0; i < s.values.size(); ++i) expectNumber(found[i + 1].str(), s, s.values[i], name);
    }
    const std::regex number(kNumber);
    for (auto it = std::sregex_iterator(description.begin(), description.end(), number); it != std::sregex_iterator();
         ++it) {
        const bool checked = std::any_of(read.begin(), read.end(), [&](const auto& span) {
            return it->position() >= span.first && it->position() < span.second;
        });
        EXPECT_TRUE(checked) << name << " states " << it->str() << " where no check reads it";
    }
}

// A burn as the size buttons fire it: how many presses of 1000, 100, 10 and 1.
std::array<int, 4> presses(double speed) {
    const int rounded = static_cast<int>(std::lround(speed));
    return {rounded / 1000, rounded / 100 % 10, rounded / 10 % 10, rounded % 10};
}

double units(double metres) { return metres / kLengthUnit; }

TEST(ScenarioTest, TheExamplesSayWhatTheyShow) {
    auto found = examples();
    ASSERT_GE(found.size(), 7u);
    for (const auto& [name, scenario] : found) {
        EXPECT_FALSE(scenario.title.empty() || scenario.description.empty()) << name;
        EXPECT_FALSE(scenario.run) << name;  // a set-up, started by the operator
    }
    EXPECT_EQ(found["2-default-ellipse"].panel, defaultScenario().panel);
    const auto start = [&](const char* name) { return ExampleRun(found[name]).figures(); };
    const auto box = [&](const char* name, int index) { return std::stod(found[name].panel[index]); };
    using S = Stated;

    const auto circle = start("1-circular-orbit");
    expectStated("1-circular-orbit", found["1-circular-orbit"],
                 {{"the circular speed, # m/s", {circle.circularSpeed}},
                  {"an eccentricity below #", {circle.eccentricity}, S::AboveValue},
                  {"a period of about # minutes", {circle.period.value_or(0) / 60}},
                  // Any burn short of the escape speed gives an ellipse.
                  {"one forward burn of # m/s", {circle.escapeSpeed - circle.speed}, S::BelowValue}});

    const auto ellipse = start("2-default-ellipse");
    expectStated("2-default-ellipse", found["2-default-ellipse"],
                 {{"# m/s at # planet radii", {ellipse.speed, units(ellipse.periapsis)}},
                  {"climbs to about # radii", {units(ellipse.apoapsis.value_or(0))}}});

    const auto escape = start("3-escape");
    EXPECT_TRUE(escape.escapes);
    expectStated("3-escape", found["3-escape"],
                 {{"At # m/s", {escape.speed}},
                  {"the escape speed at its height (# m/s)", {escape.escapeSpeed}},
                  // Any burn that leaves it below the escape speed catches it.
                  {"a backward burn of # m/s", {escape.speed - escape.escapeSpeed}, S::AboveValue}});

    const auto fall = start("4-fall-onto-the-planet");
    EXPECT_LT(fall.periapsis, orbit::Planet{1}.surfaceRadius());
    expectStated(
        "4-fall-onto-the-planet", found["4-fall-onto-the-planet"],
        {{"at # planet radii and moving sideways at only # m/s", {units(fall.apoapsis.value_or(0)), fall.speed}},
         {"dips to about # radii", {units(fall.periapsis)}}});

    constexpr double kMoonMass = 0.0123;  // Earth masses
    const double secondMass = box("5-second-planet", kBoxSecondPlanetMass);
    expectStated("5-second-planet", found["5-second-planet"],
                 {{"# Earth masses, about # Moons, circles at # planet radii",
                   {secondMass, secondMass / kMoonMass, box("5-second-planet", kBoxSecondPlanetDist)}}});

    const auto geo = start("6-geostationary-orbit");
    const double day = geo.period.value_or(0);
    const double timeFactor = box("6-geostationary-orbit", kBoxTimeFactor);
    constexpr double kSiderealDay = 86164.0905;
    EXPECT_NEAR(day, kSiderealDay, kSiderealDay * 0.001);
    expectStated("6-geostationary-orbit", found["6-geostationary-orbit"],
                 {{"A circular orbit of # planet radii (# km from the centre) at # m/s",
                   {units(geo.periapsis), geo.periapsis / 1000, geo.circularSpeed}},
                  {"one sidereal day, # h # min # s",
                   {std::floor(day / 3600), std::floor(std::fmod(day, 3600) / 60), std::fmod(day, 60)}},
                  {"At time factor #", {timeFactor}},
                  {"one revolution takes under # seconds", {day / timeFactor}, S::AboveValue}});
}

TEST(ScenarioTest, TheSecondPlanetBendsTheOrbitAndTheNextExampleStartsAfresh) {
    auto found = examples();
    // The second planet moves the craft visibly off its two-body ellipse
    // within one revolution.
    ExampleRun alone(found["5-second-planet"]);
    ExampleRun bent(found["5-second-planet"]);
    bent.rig.korvel.cmd_color_Click(kBankSecondPlanet);
    ASSERT_TRUE(bent.rig.state.secondPlanetOn);
    const double revolution = alone.figures().period.value_or(0) / 1000;
    alone.tickFor(revolution);
    bent.tickFor(revolution);
    EXPECT_GT(std::hypot(alone.rig.state.posX[kCraft] - bent.rig.state.posX[kCraft],
                         alone.rig.state.posY[kCraft] - bent.rig.state.posY[kCraft]) /
                  kLengthUnit,
              0.1);

    // Another example opened after that starts afresh, as its words assume:
    // no run, no size chosen, no second planet, and its own orbit.
    bent.rig.korvel.cmd_color_Click(kBankImpulse1000);
    bent.rig.korvel.openScenario(found["6-geostationary-orbit"]);
    EXPECT_FALSE(bent.rig.timer.ticking() || bent.rig.korvel.settings() || bent.rig.state.impulseSize != 0);
    // Nor is the earlier run left to graph or export.
    EXPECT_TRUE(bent.rig.korvel.log().history().rows().empty() && bent.rig.korvel.log().energy().spans().empty());
    bent.rig.run();
    bent.tickFor(0.1);
    EXPECT_FALSE(bent.rig.state.secondPlanetOn);
    EXPECT_LT(bent.figures().eccentricity, 0.001);
}

// The task's two burns are the transfer's, by Kepler; fired as the
// description says, they put the craft on the red circle.
TEST(ScenarioTest, TheTransferTasksTwoBurnsPutTheCraftOnTheRedCircle) {
    auto found = examples();
    const Scenario& task = found["7-hohmann-transfer"];
    ExampleRun hohmann(task);
    const double mu = orbit::Planet{1}.mu();
    const double inner = hohmann.distance() * kLengthUnit;
    const double outer = std::stod(task.panel[kBoxCircleRadius]) * kLengthUnit;
    const double transfer = (inner + outer) / 2;  // the ellipse's semi-major axis
    const double firstBurn = std::sqrt(mu * (2 / inner - 1 / transfer)) - hohmann.figures().speed;
    const double secondBurn = std::sqrt(mu / outer) - std::sqrt(mu * (2 / outer - 1 / transfer));
    const auto first = presses(firstBurn);
    const auto second = presses(secondBurn);
    EXPECT_EQ(first[0], 1);  // "once"
    hohmann.burnForward({{kBankImpulse1000, first[0]},
                         {kBankImpulse1000 + 1, first[1]},
                         {kBankImpulse1000 + 2, first[2]},
                         {kBankImpulse1, first[3]}});
    EXPECT_NEAR(hohmann.figures().apoapsis.value_or(0), outer, 0.01 * outer);
    double last = 0;
    while (hohmann.distance() > last) last = hohmann.distance(), hohmann.tickFor(0.001);
    hohmann.burnForward({{kBankImpulse1000, second[0]},
                         {kBankImpulse1000 + 1, second[1]},
                         {kBankImpulse1000 + 2, second[2]},
                         {kBankImpulse1, second[3]}});
    const auto circle = hohmann.figures();
    EXPECT_NEAR(circle.semiMajorAxis.value_or(0), outer, 0.01 * outer);

    const auto [thousand, hundred, ten, one] = kImpulseSizes;
    // Presses and sizes as the description states them.
    const auto n = [](int count) { return static_cast<double>(count); };
    expectStated(
        "7-hohmann-transfer", task,
        {{"circles at # planet radii; reach the red circle at # radii", {units(inner), units(outer)}},
         {R"(choose "impulse #" and press "forward" once, then # times with "impulse #", # times with "impulse #" and # times with "impulse #" (# m/s in all))",
          {n(thousand), n(first[1]), n(hundred), n(first[2]), n(ten), n(first[3]), n(one), firstBurn}},
         {"about # hours of simulated time", {std::numbers::pi * std::sqrt(std::pow(transfer, 3) / mu) / 3600}},
         {"burn # m/s forward the same way (#, # x #, # x #, # x #)",
          {secondBurn, n(thousand * second[0]), n(second[1]), n(hundred), n(second[2]), n(ten), n(second[3]), n(one)}},
         {"an eccentricity near #", {circle.eccentricity}, Stated::Rounded, 0.01}});
}

}  // namespace
}  // namespace korvel
