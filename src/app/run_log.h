#pragma once
// The run as it was recorded, in one place: the data rows behind Export Data,
// the energy spans behind the graph, and the trail and the second planet's
// path as the drawing holds them, fed by the program itself at each event and
// at the end of each tick, at the state's own moment. Views read it; none
// keeps run data of its own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/run_events.h"
#include "app/run_history.h"
#include "orbit/elements.h"
#include "orbit/energy_history.h"
#include "sim/state.h"

namespace korvel {

// The log as a kept run holds it: each part oldest first, the histories with
// 2 to the number of times they were thinned.
struct KeptLog {
    std::vector<DataRow> history;
    double historyThinned = 1;
    std::vector<DataRow> trail;
    double trailThinned = 1;
    std::vector<orbit::EnergySpan> energy;
    std::vector<Vec2> secondPlanetPath;
};

// Where a path breaks: the view goes across it without a line.
bool isPathBreak(Vec2 point);
// Every other point goes, evenly, between the breaks; every break stays, and
// so does the newest point.
void thinPath(std::vector<Vec2>& path);

class RunLog {
public:
    // What the log keeps beyond the start and the latest row: a run without
    // a window writes its rows as they come and draws no graph.
    struct Kept {
        bool rows = true;
        bool energy = true;
    };
    void keep(Kept kept) { kept_ = kept; }
    // The second planet's path holds at most this many points.
    static constexpr std::size_t kPathCapacity = 100'000;

    // An event, with the state at its moment about `planet`. A run's start,
    // or a kept run opened, begins the record anew.
    void record(const RunEvent& event, const SimulationState& state, const orbit::Planet& planet);
    // The end of a tick, at `time`.
    void recordTick(const SimulationState& state, const orbit::Planet& planet, double time);
    // How many sub-steps of `length` simulated seconds the kept rows lie
    // apart now: a tick that runs more records rows within it too, so that a
    // fast run or a stalled tick leaves no chord in the trail. Beyond any
    // tick when no rows are kept.
    std::int64_t subStepsPerRow(double length) const;
    // No run any more: nothing is left to show or export.
    void clear();
    // A kept run opened: what it kept comes before the row of its opening,
    // the one row recorded since. Only what this log keeps is taken.
    void restore(const KeptLog& kept);
    // All of the log that a kept run keeps.
    KeptLog kept() const;

    const RunHistory& history() const { return rows_; }
    // The craft's rows since the drawing was last cleared: by "Run
    // Simulation", by a kept run opened, or with no run any more. A row of a
    // run's start begins a new stroke, never joined to the row before it.
    const RunHistory& trail() const { return trail_; }
    // Where the second planet was, m, at the trail's rows while it was on,
    // since the drawing was last cleared; a point of NaNs where it was placed
    // anew or came back on.
    const std::vector<Vec2>& secondPlanetPath() const { return path_; }
    const orbit::EnergyHistory& energy() const { return energy_; }
    // The row the record begins with: the run's start, or the moment a kept
    // run was opened.
    const std::optional<DataRow>& startRow() const { return start_; }
    // The latest row recorded, a tick's end or an event's; nothing where the
    // energy there is not finite (the craft at a planet's centre).
    const std::optional<DataRow>& latestRow() const { return latest_; }

private:
    // The second planet where it is now, when it is on; `placedAnew` breaks
    // the path first.
    void tracePath(const SimulationState& state, bool placedAnew);

    Kept kept_;
    RunHistory rows_;
    RunHistory trail_;
    std::vector<Vec2> path_;
    bool pathBroken_ = false;
    orbit::EnergyHistory energy_;
    std::optional<DataRow> start_;
    std::optional<DataRow> latest_;
};

}  // namespace korvel
