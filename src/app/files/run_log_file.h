#pragma once
// A kept run's log as the scenario file holds it: the history's and the
// trail's rows, the energy spans and the second planet's path, each item a
// short list of numbers, so that a long run takes little room. Only the
// scenario file's own code reads and writes it.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "app/run_log.h"

namespace korvel {

// The "log" object of a kept run.
nlohmann::ordered_json keptLogJson(const KeptLog& log);

// The log read from its object; nothing, with the fault naming the key, when
// any of it is not what the program writes.
std::optional<KeptLog> readKeptLog(const nlohmann::json& object, std::string& fault);

// Why the log cannot be the record of a run kept at `simulatedTime`, or
// nothing when it can.
std::optional<std::string> keptLogFault(const KeptLog& log, double simulatedTime);

// The log thinned evenly until its file text takes at most about `bytes`,
// every event row kept while there is room for them; anything that is not a
// finite number is left out, as the file cannot hold it.
KeptLog fittedLog(const KeptLog& log, std::size_t bytes);

}  // namespace korvel
