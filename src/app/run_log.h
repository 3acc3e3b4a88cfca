#pragma once
// The run as it was recorded, in one place: the data rows behind Export Data
// and the energy spans behind the graph, fed by the program itself at each
// event and at the end of each tick, at the state's own moment. Views read
// it; none keeps run data of its own.

#include <optional>

#include "app/run_events.h"
#include "app/run_history.h"
#include "orbit/elements.h"
#include "orbit/energy_history.h"
#include "sim/state.h"

namespace korvel {

class RunLog {
public:
    // What the log keeps beyond the start and the latest row: a run without
    // a window writes its rows as they come and draws no graph.
    struct Kept {
        bool rows = true;
        bool energy = true;
    };
    void keep(Kept kept) { kept_ = kept; }

    // An event, with the state at its moment about `planet`. A run's start,
    // or a kept run opened, begins the record anew.
    void record(const RunEvent& event, const SimulationState& state, const orbit::Planet& planet);
    // The end of a tick, at `time`.
    void recordTick(const SimulationState& state, const orbit::Planet& planet, double time);
    // No run any more: nothing is left to show or export.
    void clear();

    const RunHistory& history() const { return rows_; }
    const orbit::EnergyHistory& energy() const { return energy_; }
    // The row the record begins with: the run's start, or the moment a kept
    // run was opened.
    const std::optional<DataRow>& startRow() const { return start_; }
    // The latest row recorded, a tick's end or an event's; nothing where the
    // energy there is not finite (the craft at a planet's centre).
    const std::optional<DataRow>& latestRow() const { return latest_; }

private:
    Kept kept_;
    RunHistory rows_;
    orbit::EnergyHistory energy_;
    std::optional<DataRow> start_;
    std::optional<DataRow> latest_;
};

}  // namespace korvel
