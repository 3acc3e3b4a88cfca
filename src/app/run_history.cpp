#include "app/run_history.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "orbit/energy_history.h"

namespace korvel {

std::string eventText(const RowEvent& event) {
    using Kind = EventKind;
    switch (event.kind) {
    case Kind::RunStarted: return "run started";
    case Kind::SecondPlanetPlaced: return "second planet placed";
    case Kind::RunPaused: return "paused";
    case Kind::RunContinued: return "continued";
    case Kind::RunOpened: return "run opened";
    case Kind::ImpulseFired: break;
    case Kind::None:
    case Kind::SizeChosen:
    case Kind::RunCleared: return {};
    }
    // Named as the buttons that fire them.
    constexpr const char* kBurnNames[] = {"forward", "backward", "to right", "to left", "apply"};
    return std::string(kBurnNames[static_cast<int>(event.burn)]) + ' ' + std::to_string(event.size) + " m/s";
}

std::optional<RowEvent> rowEvent(const RunEvent& event) {
    switch (event.kind) {
    case EventKind::RunStarted:
    case EventKind::RunContinued:
    case EventKind::RunPaused:
    case EventKind::ImpulseFired:
    case EventKind::SecondPlanetPlaced:
    case EventKind::RunOpened: return RowEvent{event.kind, event.burn, event.size};
    case EventKind::None:
    case EventKind::SizeChosen:
    case EventKind::RunCleared: break;
    }
    return std::nullopt;
}

// Square roots rather than hypot: exact on every platform, so the same run
// writes the same bytes everywhere.
double DataRow::distance() const { return std::sqrt(position.x * position.x + position.y * position.y); }
double DataRow::speed() const { return std::sqrt(velocity.x * velocity.x + velocity.y * velocity.y); }

std::optional<DataRow> dataRow(const SimulationState& state, const orbit::Planet& planet, double time, RowEvent event) {
    const auto energy = orbit::energyOf(state, planet, time);
    if (!energy) return std::nullopt;
    return dataRow(state, *energy, event);
}

DataRow dataRow(const SimulationState& state, const orbit::EnergySample& energy, RowEvent event) {
    return DataRow{energy.time,
                   {state.posX[kCraft], state.posY[kCraft]},
                   {state.velX[kCraft], state.velY[kCraft]},
                   energy.kinetic,
                   energy.potential,
                   event};
}

RunHistory::RunHistory(std::size_t capacity) : capacity_(capacity < 8 ? 8 : capacity) {}

void RunHistory::clear(const orbit::Planet& planet) {
    rows_.clear();
    newestKept_ = true;
    planet_ = planet;
    spacing_ = 0;
    thinned_ = 1;
}

double RunHistory::spacingFor(const DataRow& row) const {
    if (!planet_.attracts()) return 0;
    if (const auto figures = orbit::orbitFigures(row.position, row.velocity, planet_); figures && figures->period)
        return kShareOfRevolution * *figures->period * thinned_;
    const double r = row.distance();
    const double local = 2 * std::numbers::pi * localOrbitalTime(r, planet_.mu());
    return std::isfinite(local) ? kShareOfRevolution * local * thinned_ : 0;
}

void RunHistory::add(const DataRow& row) {
    const bool first = rows_.empty();
    if (first || newestKept_) {
        // Until it is judged below, the new row is one that may yet go.
        newestKept_ = false;
        push(row);
    } else {
        rows_.back() = row;
    }
    if (first || std::abs(row.time - keptTime_) >= spacing_) keep(row);
}

void RunHistory::addEvent(const DataRow& row) {
    push(row);
    keep(row);
}

void RunHistory::continueAbout(const orbit::Planet& planet) { planet_ = planet; }

void RunHistory::restore(const std::vector<DataRow>& rows, double thinned) {
    rows_.clear();
    rows_.shrink_to_fit();
    rows_.reserve(std::min(std::max<std::size_t>(rows.size(), 1024), capacity_));
    thinned_ = thinned;
    spacing_ = 0;
    newestKept_ = true;
    for (const DataRow& row : rows) {
        // Within the capacity, as rows added one by one would be.
        rows_.push_back(row);
        if (rows_.size() >= capacity_) thin();
    }
    if (!rows_.empty()) keep(rows_.back());
}

void RunHistory::keep(const DataRow& row) {
    newestKept_ = true;
    keptTime_ = row.time;
    // The orbit figures are worked out only for rows that stay, not at every tick.
    spacing_ = spacingFor(row);
}

void RunHistory::push(const DataRow& row) {
    if (rows_.size() == rows_.capacity()) {
        // Grown by hand, so that the room never goes beyond the capacity.
        const std::size_t room = rows_.capacity() < 1024 ? 1024 : 2 * rows_.capacity();
        rows_.reserve(room < capacity_ ? room : capacity_);
    }
    rows_.push_back(row);
    if (rows_.size() >= capacity_) thin();
}

void thinRows(std::vector<DataRow>& rows, std::size_t crowded) {
    const auto keepEvery = [&rows](bool events) {
        std::size_t kept = 0;
        bool keep = false;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto kind = rows[i].event.kind;
            const bool isEvent = kind != RowEvent::Kind::None;
            const bool last = i + 1 == rows.size();
            if (isEvent == events && !last) {
                keep = !keep;
                if (!keep && kind != RowEvent::Kind::RunStarted) continue;
            }
            rows[kept++] = rows[i];
        }
        rows.resize(kept);
    };
    keepEvery(false);
    if (rows.size() > crowded) keepEvery(true);
}

void RunHistory::thin() {
    // Rows are then kept half as often.
    thinRows(rows_, capacity_ * 3 / 4);
    thinned_ *= 2;
    spacing_ *= 2;
    // The next row is a spacing on from the newest that stayed, not from one
    // that has just gone.
    const std::size_t kept = newestKept_ ? 1 : 2;
    if (rows_.size() >= kept) keptTime_ = rows_[rows_.size() - kept].time;
}

}  // namespace korvel
