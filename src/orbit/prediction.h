#pragma once
// The path the craft will follow from where it is now: the tick's equations
// (the planet, and the second planet moving on its own path while it is on),
// integrated ahead with an adaptive step, so that the cost is bounded and the
// path stays well within a pixel of the trail the craft then draws.

#include <optional>
#include <vector>

#include "orbit/elements.h"
#include "sim/state.h"

namespace korvel::orbit {

struct PredictedPath {
    // World metres (origin at the planet's centre, y up), from the craft's
    // position on. Consecutive points are close enough to join with straight
    // lines at any zoom the view allows.
    std::vector<Vec2> points;
    // The nearest and farthest points from the planet's centre along the path,
    // where the distance turns (not the path's ends).
    std::optional<Vec2> periapsis;
    std::optional<Vec2> apoapsis;
    // Where the path meets the planet's surface; the path ends there.
    std::optional<Vec2> impact;
    // When it gets there: simulated seconds from now, in the direction time runs.
    std::optional<double> timeToImpact;

    enum class End {
        Revolution,  // 360° swept about the planet
        Escaped,     // well outside the view
        Surface,     // met the planet's surface
        Budget,      // the step budget ran out first
    };
    End end = End::Budget;
};

struct PredictionSettings {
    Planet planet;
    // Below 0: a negative time factor, so the path runs back in time.
    double timeSign = 1;
    // How far from the planet's centre the view reaches, metres: an escape is
    // followed until it is well beyond.
    double viewRadius = 0;
    // The most integration steps one prediction may take.
    int stepBudget = 4000;
};

// The path ahead of the craft in `state`. Empty when there is nothing to
// predict (the craft at the centre with no motion, or a state that is not
// finite). With a planet of mass 0 or below the path is the straight line the
// craft then follows, to the edge of the view. Nothing that is not finite is
// ever in it.
PredictedPath predictPath(const SimulationState& state, const PredictionSettings& settings);

// How far `point` lies from the path's nearest segment, metres; infinite for
// an empty path.
double distanceFromPath(const PredictedPath& path, Vec2 point);

}  // namespace korvel::orbit
