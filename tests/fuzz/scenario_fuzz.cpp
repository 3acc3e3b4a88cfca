// Fuzzes the scenario reader: whatever the bytes, it gives either a scenario
// or a fault, never both and never neither; what it accepts holds no text
// over the limit and no run the program could not go on from, and writing it
// out and reading that back gives the same bytes again.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/files/scenario_file.h"

namespace {

void require(bool property) {
    if (!property) __builtin_trap();
}

std::size_t characters(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvel;
    const ScenarioRead read = parseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
    require(read.scenario.has_value() == read.fault.empty());
    if (!read.scenario) return 0;
    const Scenario& scenario = *read.scenario;
    require(characters(scenario.title) <= kScenarioLongestText);
    require(characters(scenario.description) <= kScenarioLongestText);
    for (const std::string& text : scenario.panel) require(characters(text) <= kScenarioLongestText);
    if (scenario.run) require(!runFault(*scenario.run));

    const std::string written = scenarioText(scenario);
    const ScenarioRead again = parseScenario(written);
    require(again.scenario.has_value());
    require(scenarioText(*again.scenario) == written);
    return 0;
}
