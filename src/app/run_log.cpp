#include "app/run_log.h"

#include <cmath>
#include <limits>

namespace korvel {

bool isPathBreak(Vec2 point) { return std::isnan(point.x); }

void thinPath(std::vector<Vec2>& path) {
    std::size_t kept = 0;
    bool keep = false;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool isBreak = isPathBreak(path[i]);
        if (isBreak) {
            // The first point after a break stays: the piece starts where it did.
            keep = false;
            if (kept == 0 || isPathBreak(path[kept - 1])) continue;
        } else if (i + 1 < path.size()) {
            keep = !keep;
            if (!keep) continue;
        }
        path[kept++] = path[i];
    }
    path.resize(kept);
}

void RunLog::record(const RunEvent& event, const SimulationState& state, const orbit::Planet& planet) {
    const auto kind = rowEvent(event);
    if (!kind) return;
    const bool begins = event.kind == EventKind::RunStarted || event.kind == EventKind::RunOpened;
    if (begins) {
        rows_.clear(planet);
        energy_.clear();
    }
    if (kept_.rows && (event.kind == EventKind::RunOpened || event.drawingCleared)) {
        trail_.clear(planet);
        path_.clear();
        pathBroken_ = false;
    } else if (kept_.rows && event.kind == EventKind::RunStarted) {
        trail_.continueAbout(planet);
    }
    const auto energy = orbit::energyOf(state, planet, event.simulatedTime);
    latest_.reset();
    if (energy) latest_ = dataRow(state, *energy, *kind);
    if (begins) start_ = latest_;
    if (kept_.rows && latest_) {
        rows_.addEvent(*latest_);
        trail_.addEvent(*latest_);
        tracePath(state, event.kind == EventKind::SecondPlanetPlaced);
    }
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

std::int64_t RunLog::subStepsPerRow(double length) const {
    constexpr auto kNever = std::numeric_limits<std::int64_t>::max();
    const double spacing = trail_.spacing();
    if (!kept_.rows || !(spacing > 0) || !(std::abs(length) > 0)) return kNever;
    const double stride = std::floor(spacing / std::abs(length));
    if (!(stride < 1e18)) return kNever;
    return stride < 1 ? 1 : static_cast<std::int64_t>(stride);
}

void RunLog::recordTick(const SimulationState& state, const orbit::Planet& planet, double time) {
    // The energy once, for the row and the graph alike.
    const auto energy = orbit::energyOf(state, planet, time);
    latest_.reset();
    if (!energy) return;
    latest_ = dataRow(state, *energy);
    if (kept_.rows) {
        rows_.add(*latest_);
        // The path takes a point where the trail takes a new row, not where
        // the newest row only moves on.
        const std::size_t before = trail_.rows().size();
        trail_.add(*latest_);
        if (trail_.rows().size() != before) tracePath(state, false);
    }
    if (kept_.energy) energy_.add(*energy);
}

void RunLog::tracePath(const SimulationState& state, bool placedAnew) {
    if (!state.secondPlanetOn) {
        pathBroken_ = true;
        return;
    }
    if ((placedAnew || pathBroken_) && !path_.empty() && !isPathBreak(path_.back())) {
        constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
        path_.push_back({kNaN, kNaN});
    }
    pathBroken_ = false;
    path_.push_back({state.posX[kSecondPlanet], state.posY[kSecondPlanet]});
    if (path_.size() > kPathCapacity) thinPath(path_);
}

void RunLog::clear() {
    // A fresh history gives its memory back, too.
    rows_ = RunHistory();
    trail_ = RunHistory();
    path_ = {};
    pathBroken_ = false;
    energy_.clear();
    start_.reset();
    latest_.reset();
}

void RunLog::restore(const KeptLog& kept) {
    if (kept_.rows) {
        const std::vector<DataRow> opened = rows_.rows();
        rows_.restore(kept.history, kept.historyThinned);
        trail_.restore(kept.trail, kept.trailThinned);
        for (const DataRow& row : opened) {
            rows_.addEvent(row);
            trail_.addEvent(row);
        }
        std::vector<Vec2> path = kept.secondPlanetPath;
        path.insert(path.end(), path_.begin(), path_.end());
        path_ = std::move(path);
        if (path_.size() > kPathCapacity) thinPath(path_);
    }
    if (kept_.energy) {
        const std::vector<orbit::EnergySpan> opened = energy_.spans();
        energy_.restore(kept.energy);
        for (const orbit::EnergySpan& span : opened) energy_.add(span.first);
    }
}

KeptLog RunLog::kept() const {
    return {rows_.rows(), rows_.thinned(), trail_.rows(), trail_.thinned(), energy_.spans(), path_};
}

}  // namespace korvel
