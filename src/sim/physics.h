#pragma once
// One sub-step of the motion, semi-implicit Euler: the velocity first, then the
// position with the new velocity.

#include "sim/state.h"

namespace korvel {

// A pull's strength, -gravityParameter(mass) (m³/s²), times dt for the
// velocity (m³/s) and times dt² for the position (m³).
struct PullPerStep {
    double velocity = 0;
    double position = 0;
};

// What a tick needs of the state that cannot change during the tick.
struct StepConstants {
    double dt = 0;                 // sub-step length, s
    PullPerStep planetPull;        // mass planetMass
    PullPerStep secondPlanetPull;  // mass secondPlanetMass
    PullPerStep orbitPull;         // mass 1: the second planet's own law
    bool secondPlanetOn = false;
};

StepConstants stepConstants(const SimulationState& state, double dt, double planetMass);

// Moves the craft (and the second planet while it is on) by one sub-step.
// The craft uses the second planet's position from before this sub-step.
// Returns false, with the state untouched, when the result would not be finite.
bool advanceSubStep(SimulationState& state, const StepConstants& k);

}  // namespace korvel
