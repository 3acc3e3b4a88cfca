#pragma once
// The run's history as data rows: the craft's state at the end of ticks and
// at each thing that happened, in memory that stays bounded however long the
// run. Export Data writes it; a run without a window writes rows as they come.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/run_events.h"
#include "orbit/elements.h"
#include "sim/state.h"
#include "sim/vec2.h"

namespace korvel {

// What happened at a row's moment, small enough that every row costs the same.
struct RowEvent {
    using Kind = EventKind;
    Kind kind = Kind::None;
    Burn burn = Burn::Forward;
    int size = 0;  // m/s, of a burn
};

// The row's event column: empty, "run started", "forward 1000 m/s", "second
// planet placed", "paused", "continued", "run opened".
std::string eventText(const RowEvent& event);
// The row event of a drained event; one that makes no row (a size chosen)
// gives nothing.
std::optional<RowEvent> rowEvent(const RunEvent& event);

struct DataRow {
    double time = 0;       // simulated seconds since the run started
    Vec2 position;         // m
    Vec2 velocity;         // m/s
    double kinetic = 0;    // J/kg
    double potential = 0;  // J/kg, the second planet's included while it pulls
    RowEvent event;

    double distance() const;
    double speed() const;
    double total() const { return kinetic + potential; }
};

// The row of the craft in `state` at `time`; nothing when its energy is not
// finite (the craft at a planet's centre).
std::optional<DataRow> dataRow(const SimulationState& state, const orbit::Planet& planet, double time,
                               RowEvent event = {});
// The row of the craft in `state` with its energy `energy`, worked out already.
DataRow dataRow(const SimulationState& state, const orbit::EnergySample& energy, RowEvent event = {});

// Every other row goes, evenly, but rows with an event stay, and so does the
// newest. Should more than `crowded` rows be left, every other event row goes
// too; a run's start never does, as it begins a stroke of the trail.
void thinRows(std::vector<DataRow>& rows, std::size_t crowded);

class RunHistory {
public:
    // Under 16 MB whatever the run: rows are all one size.
    static constexpr std::size_t kLargestBytes = 15u << 20;
    static constexpr std::size_t kLargestRows = kLargestBytes / sizeof(DataRow);
    // Rows of a steady run come at most this share of a revolution apart.
    static constexpr double kShareOfRevolution = 0.001;

    explicit RunHistory(std::size_t capacity = kLargestRows);

    // Forgets every row: a run starts, about `planet`.
    void clear(const orbit::Planet& planet);
    // A tick's end. Kept rows lie at least a spacing apart; a row short of
    // that stands only until the next one takes its place, so that the last
    // row is always the latest state.
    void add(const DataRow& row);
    // A row with an event: always kept, whatever the spacing.
    void addEvent(const DataRow& row);
    // A run that goes on where the last left off, about `planet`: the rows
    // stay, and the next rows are spaced for its orbits.
    void continueAbout(const orbit::Planet& planet);
    // The rows as kept before, after `thinned` as many thinnings (2 to their
    // number), about the planet it was cleared for; the next rows follow them.
    void restore(const std::vector<DataRow>& rows, double thinned);

    const std::vector<DataRow>& rows() const { return rows_; }
    // The simulated seconds that kept rows lie apart now.
    double spacing() const { return spacing_; }
    // 2 to the number of times the rows were thinned.
    double thinned() const { return thinned_; }
    // Bytes the history holds, its spare room included.
    std::size_t memoryBytes() const { return rows_.capacity() * sizeof(DataRow); }

private:
    void push(const DataRow& row);
    // The newest row stays: the next ones are a spacing on from it.
    void keep(const DataRow& row);
    void thin();
    // The spacing for the orbit a row is on: a share of its revolution (or
    // of the local orbital time on an escape), doubled for each thinning.
    double spacingFor(const DataRow& row) const;

    std::size_t capacity_;
    std::vector<DataRow> rows_;
    orbit::Planet planet_;
    double spacing_ = 0;
    double thinned_ = 1;  // 2 to the number of thinnings
    // Whether the newest row stays; if not, the next row takes its place.
    bool newestKept_ = true;
    double keptTime_ = 0;  // of the newest row that stays
};

}  // namespace korvel
