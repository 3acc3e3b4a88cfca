#pragma once
// The craft's two-body orbit about the planet, from its position and velocity:
// what the Orbit Data window lists. Planet-only: a second planet's pull is
// left out here and given as a share beside it.

#include <optional>

#include "sim/state.h"
#include "sim/vec2.h"

namespace korvel::orbit {

// The run's planet as the orbit figures need it. A mass of 0 or below has no
// orbit to speak of.
struct Planet {
    double mass = 0;  // Earth masses

    bool attracts() const { return mass > 0; }
    double mu() const { return gravityParameter(mass); }
    // Where the blue disc ends, in metres.
    double surfaceRadius() const { return attracts() ? discRadius(mass) * kLengthUnit : 0; }
};

// Figures of one orbit. Distances in metres from the planet's centre, times in
// simulated seconds, energy in J/kg, speeds in m/s. What an orbit lacks is
// empty: an escape has no apoapsis, period or time to apoapsis; an escape
// already past its periapsis has no time to it; a parabola has no semi-major
// axis.
struct OrbitFigures {
    double periapsis = 0;
    std::optional<double> apoapsis;
    std::optional<double> semiMajorAxis;  // negative for an escape on a hyperbola
    double eccentricity = 0;
    std::optional<double> period;
    std::optional<double> timeToPeriapsis;
    std::optional<double> timeToApoapsis;
    double energy = 0;  // specific orbital energy
    double speed = 0;
    double circularSpeed = 0;
    double escapeSpeed = 0;
    bool escapes = false;  // energy >= 0
    // When the path meets the planet's surface, if its periapsis lies inside it.
    std::optional<double> timeToSurface;
};

// The figures of a craft at `position` moving at `velocity`. Times run the way
// simulated time runs: `timeSign` below 0 for a negative time factor, where
// the next apsis is the one the craft came from. Nothing when there is no
// orbit: a planet of mass 0 or below, the craft at the centre, or any figure
// that would not be finite.
std::optional<OrbitFigures> orbitFigures(Vec2 position, Vec2 velocity, const Planet& planet, double timeSign = 1);

// The second planet's pull on the craft as a share of the planet's (1 = as
// strong); nothing while it is off or when either pull is not defined.
std::optional<double> secondPullShare(const SimulationState& state, const Planet& planet);

}  // namespace korvel::orbit
