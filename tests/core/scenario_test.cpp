#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/panel.h"
#include "app/scenario_file.h"
#include "fakes.h"

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
    EXPECT_FALSE(rig.korvel.hasEvents());
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

TEST(ScenarioTest, Base64RoundTripsEveryLengthAndRefusesWhatIsNot) {
    std::string bytes;
    for (int n = 0; n < 7; ++n, bytes += static_cast<char>(250 - 37 * n)) EXPECT_EQ(fromBase64(toBase64(bytes)), bytes);
    EXPECT_EQ(toBase64("Ma"), "TWE=");
    for (const char* bad : {"TWE", "TW=E", "T===", "TWE=TWE=", "TW\x01="}) EXPECT_FALSE(fromBase64(bad)) << bad;
}

}  // namespace
}  // namespace korvel
