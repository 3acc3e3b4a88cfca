#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "app/panel.h"
#include "app/scenario_file.h"
#include "fakes.h"
#include "orbit/elements.h"

namespace korvel {
namespace {

using testing::DrawCall;
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

TEST(ScenarioTest, AKeptRunComesBackExactlyAndGoesOnAsItWould) {
    Rig kept;
    keepARun(kept);
    Scenario scenario = kept.korvel.scenario();
    scenario.title = "Line\n\"two\"";
    scenario.run->drawingPng = std::string("\x89PNG\r\n\x1a\n\0\xff", 10);
    const std::string text = scenarioText(scenario);

    const ScenarioRead read = parseScenario(text);
    ASSERT_TRUE(read.scenario) << read.fault;
    EXPECT_EQ(read.scenario->title, scenario.title);
    EXPECT_EQ(read.scenario->run->drawingPng, scenario.run->drawingPng);
    EXPECT_EQ(scenarioText(*read.scenario), text);

    Rig opened;
    opened.clock.reading = 4096;
    opened.korvel.openScenario(*read.scenario);
    EXPECT_TRUE(opened.korvel.paused());
    EXPECT_EQ(opened.korvel.simulatedTime(), kept.korvel.simulatedTime());
    EXPECT_EQ(opened.controls.boxes, kept.controls.boxes);  // panel and readouts alike
    EXPECT_EQ(opened.controls.bank(kBankDistance), kept.controls.bank(kBankDistance));
    EXPECT_EQ(opened.state.impulseSize, 100);
    EXPECT_EQ(opened.korvel.drainEvents().back().kind, RunEvent::Kind::RunOpened);

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

TEST(ScenarioTest, AHandWrittenFileTakesTheDefaultsAndIgnoresWhatItDoesNotKnow) {
    const ScenarioRead read = parseScenario(R"({"format": "korvel-scenario", "version": 1,
        "panel": {"time factor": 5000, "init distance": "2 radii", "colour": "red"}, "author": "a teacher"})");
    ASSERT_TRUE(read.scenario) << read.fault;
    Scenario expected = defaultScenario();
    expected.panel[kBoxTimeFactor] = "5000";
    expected.panel[kBoxInitDistance] = "2 radii";  // kept as typed, as a box would
    EXPECT_EQ(read.scenario->panel, expected.panel);
    EXPECT_FALSE(read.scenario->run);

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
        {with("\"rings\": [", "\"rings\": [1, "), "a list of 10 numbers"},
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

TEST(ScenarioTest, TheExamplesShowWhatTheySay) {
    auto found = examples();
    ASSERT_GE(found.size(), 7u);
    for (const auto& [name, scenario] : found) {
        EXPECT_FALSE(scenario.title.empty() || scenario.description.empty()) << name;
        EXPECT_FALSE(scenario.run) << name;  // a set-up, started by the operator
    }
    EXPECT_EQ(found["2-default-ellipse"].panel, defaultScenario().panel);
    EXPECT_LT(ExampleRun(found["1-circular-orbit"]).figures().eccentricity, 0.001);
    EXPECT_TRUE(ExampleRun(found["3-escape"]).figures().escapes);
    const auto fall = ExampleRun(found["4-fall-onto-the-planet"]).figures();
    EXPECT_LT(fall.periapsis, orbit::Planet{1}.surfaceRadius());
    constexpr double kSiderealDay = 86164.0905;
    EXPECT_NEAR(ExampleRun(found["6-geostationary-orbit"]).figures().period.value_or(0), kSiderealDay,
                kSiderealDay * 0.001);

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

    // The task's two burns, as its description gives them, put the craft on
    // the red circle.
    const Scenario& task = found["7-hohmann-transfer"];
    const double target = std::stod(task.panel[kBoxCircleRadius]);
    ExampleRun hohmann(task);
    hohmann.burnForward(
        {{kBankImpulse1000, 1}, {kBankImpulse1000 + 1, 7}, {kBankImpulse1000 + 2, 3}, {kBankImpulse1, 6}});
    EXPECT_NEAR(hohmann.figures().apoapsis.value_or(0) / kLengthUnit, target, 0.01 * target);
    double last = 0;
    while (hohmann.distance() > last) last = hohmann.distance(), hohmann.tickFor(0.001);
    hohmann.burnForward(
        {{kBankImpulse1000, 1}, {kBankImpulse1000 + 1, 3}, {kBankImpulse1000 + 2, 1}, {kBankImpulse1, 3}});
    const auto circle = hohmann.figures();
    EXPECT_LT(circle.eccentricity, 0.01);
    EXPECT_NEAR(circle.semiMajorAxis.value_or(0) / kLengthUnit, target, 0.01 * target);
}
TEST(ScenarioTest, AnExampleOpensAfreshWhateverWasDoneBefore) {
    auto found = examples();
    ExampleRun earlier(found["5-second-planet"]);
    earlier.rig.korvel.cmd_color_Click(kBankSecondPlanet);
    earlier.rig.korvel.cmd_color_Click(kBankImpulse1000);
    earlier.tickFor(0.1);
    Rig& rig = earlier.rig;
    rig.picture.calls.clear();
    rig.korvel.openScenario(found["6-geostationary-orbit"]);
    EXPECT_FALSE(rig.timer.ticking());
    EXPECT_FALSE(rig.korvel.settings());
    EXPECT_EQ(rig.state.impulseSize, 0);
    EXPECT_EQ(rig.controls.box(kBoxSpeed), "");
    EXPECT_EQ(rig.picture.calls.at(0).kind, DrawCall::BackColor);

    rig.run();
    EXPECT_FALSE(rig.state.secondPlanetOn);
    earlier.tickFor(0.1);
    EXPECT_LT(earlier.figures().eccentricity, 0.001);
}

}  // namespace
}  // namespace korvel
