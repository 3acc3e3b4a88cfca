#pragma once
// A scenario run without a window: the program's own tick on a clock of exact
// 1 ms ticks, with controls and a drawing that nobody sees, so that the same
// scenario gives the same rows on every machine and platform.

#include <cstdint>
#include <functional>
#include <string>

#include "app/platform.h"
#include "app/run_history.h"
#include "app/scenario.h"

namespace korvel {

// A clock that reads what it is set to: runs without a window and the tests
// step it by exact amounts.
class SetClock : public Clock {
public:
    double now() const override { return reading; }
    double timeOfDay() const override { return 43200.5; }
    double reading = 100;
};

struct HeadlessRequest {
    double duration = 0;  // simulated seconds to run, above 0
    double every = 10;    // simulated seconds between rows, above 0
};

struct HeadlessOutcome {
    // Why the run could not start (a box that does not hold a number, a time
    // factor of 0); empty when it ran. No row was given then.
    std::string fault;
    // Why it stopped before its duration (the motion went out of range);
    // empty when it ran it all.
    std::string stopped;
    std::uint64_t ticks = 0;
};

// What the run gives as it goes: each row, and now and then the share of the
// run done (0 to 1).
struct HeadlessSink {
    std::function<void(const DataRow&)> row;
    std::function<void(double)> progress;
};

// Runs `scenario` from its start, as "Run Simulation" would from its panel,
// or from its kept run, for `request.duration` simulated seconds. Rows: the
// first moment, then one every `request.every` simulated seconds, and the
// last moment.
HeadlessOutcome runHeadless(const Scenario& scenario, const HeadlessRequest& request, const HeadlessSink& sink);

}  // namespace korvel
