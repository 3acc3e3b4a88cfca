#include "app/run_history.h"

#include <cmath>
#include <numbers>

#include "app/korvel.h"
#include "orbit/energy_history.h"

namespace korvel {

std::string eventText(const RowEvent& event) {
    switch (event.kind) {
    case RowEvent::Kind::None: return {};
    case RowEvent::Kind::RunStarted: return "run started";
    case RowEvent::Kind::SecondPlanetPlaced: return "second planet placed";
    case RowEvent::Kind::Paused: return "paused";
    case RowEvent::Kind::Continued: return "continued";
    case RowEvent::Kind::RunOpened: return "run opened";
    case RowEvent::Kind::Burn: break;
    }
    // Named as the buttons that fire them.
    constexpr const char* kBurnNames[] = {"forward", "backward", "to right", "to left", "apply"};
    return std::string(kBurnNames[static_cast<int>(event.burn)]) + ' ' + std::to_string(event.size) + " m/s";
}

std::optional<RowEvent> rowEvent(const RunEvent& event) {
    using Kind = RunEvent::Kind;
    switch (event.kind) {
    case Kind::RunStarted: return RowEvent{RowEvent::Kind::RunStarted};
    case Kind::RunContinued: return RowEvent{RowEvent::Kind::Continued};
    case Kind::RunPaused: return RowEvent{RowEvent::Kind::Paused};
    case Kind::ImpulseFired: return RowEvent{RowEvent::Kind::Burn, event.burn, event.size};
    case Kind::SecondPlanetPlaced: return RowEvent{RowEvent::Kind::SecondPlanetPlaced};
    case Kind::RunOpened: return RowEvent{RowEvent::Kind::RunOpened};
    case Kind::SizeChosen:
    case Kind::RunCleared: break;
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
    return DataRow{time,
                   {state.posX[kCraft], state.posY[kCraft]},
                   {state.velX[kCraft], state.velY[kCraft]},
                   energy->kinetic,
                   energy->potential,
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

void RunHistory::thin() {
    // Every other row goes, evenly, but rows with an event stay, and so does
    // the newest; rows are then kept half as often. Should events crowd the
    // history, every other one of them goes too.
    const auto keepEvery = [this](bool events) {
        std::size_t kept = 0;
        bool keep = false;
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            const bool isEvent = rows_[i].event.kind != RowEvent::Kind::None;
            const bool last = i + 1 == rows_.size();
            if (isEvent == events && !last) {
                keep = !keep;
                if (!keep) continue;
            }
            rows_[kept++] = rows_[i];
        }
        rows_.resize(kept);
    };
    keepEvery(false);
    if (rows_.size() > capacity_ * 3 / 4) keepEvery(true);
    thinned_ *= 2;
    spacing_ *= 2;
    // The next row is a spacing on from the newest that stayed, not from one
    // that has just gone.
    const std::size_t kept = newestKept_ ? 1 : 2;
    if (rows_.size() >= kept) keptTime_ = rows_[rows_.size() - kept].time;
}

void RunRecorder::afterTick(const Korvel& korvel) {
    const auto& settings = korvel.settings();
    if (!settings) return;
    if (const auto row = dataRow(korvel.state(), {settings->planetMass}, korvel.simulatedTime())) history_.add(*row);
}

void RunRecorder::onEvents(const Korvel& korvel, const std::vector<RunEvent>& events) {
    // No run is left to export.
    for (const RunEvent& event : events)
        if (event.kind == RunEvent::Kind::RunCleared) history_ = RunHistory();
    const auto& settings = korvel.settings();
    if (!settings) return;
    const orbit::Planet planet{settings->planetMass};
    for (const RunEvent& event : events) {
        const auto kind = rowEvent(event);
        if (!kind) continue;
        if (event.kind == RunEvent::Kind::RunStarted || event.kind == RunEvent::Kind::RunOpened) history_.clear(planet);
        if (const auto row = dataRow(korvel.state(), planet, event.simulatedTime, *kind)) history_.addEvent(*row);
    }
}

}  // namespace korvel
