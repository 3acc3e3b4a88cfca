#pragma once
// A scenario as a file: UTF-8 JSON, read whole or refused whole, written with
// its keys in a fixed order and its numbers in the shortest text that reads
// back to the same double, so that the same scenario always gives the same
// bytes, on every platform.

#include <optional>
#include <string>
#include <string_view>

#include "app/scenario.h"

namespace korvel {

// What reading gave: the scenario, or else the first fault found.
struct ScenarioRead {
    std::optional<Scenario> scenario;
    std::string fault;
};

// Reads a file's bytes; a fault says what is wrong without naming the file.
ScenarioRead parseScenario(std::string_view bytes);

// The bytes of the file.
std::string scenarioText(const Scenario& scenario);

// The message for a file that was not opened: it names the file and the fault.
std::string refusalMessage(std::string_view fileName, std::string_view fault);

}  // namespace korvel
