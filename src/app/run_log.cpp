#include "app/run_log.h"

namespace korvel {

void RunLog::record(const RunEvent& event, const SimulationState& state, const orbit::Planet& planet) {
    const auto kind = rowEvent(event);
    if (!kind) return;
    const bool begins = event.kind == EventKind::RunStarted || event.kind == EventKind::RunOpened;
    if (begins) {
        rows_.clear(planet);
        energy_.clear();
    }
    const auto energy = orbit::energyOf(state, planet, event.simulatedTime);
    latest_.reset();
    if (energy) latest_ = dataRow(state, *energy, *kind);
    if (begins) start_ = latest_;
    if (kept_.rows && latest_) rows_.addEvent(*latest_);
    if (!kept_.energy) return;
    switch (event.kind) {
    case EventKind::RunStarted:
    case EventKind::RunContinued:
    case EventKind::RunOpened:
        if (energy) energy_.add(*energy);
        break;
    case EventKind::ImpulseFired:
    case EventKind::SecondPlanetPlaced:
        if (event.energyBefore && event.energyAfter) energy_.addImpulse(*event.energyBefore, *event.energyAfter);
        break;
    default: break;  // a pause changes nothing the graph shows
    }
}

void RunLog::recordTick(const SimulationState& state, const orbit::Planet& planet, double time) {
    // The energy once, for the row and the graph alike.
    const auto energy = orbit::energyOf(state, planet, time);
    latest_.reset();
    if (!energy) return;
    latest_ = dataRow(state, *energy);
    if (kept_.rows) rows_.add(*latest_);
    if (kept_.energy) energy_.add(*energy);
}

void RunLog::clear() {
    // A fresh history gives its memory back, too.
    rows_ = RunHistory();
    energy_.clear();
    start_.reset();
    latest_.reset();
}

}  // namespace korvel
