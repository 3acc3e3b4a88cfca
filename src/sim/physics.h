#pragma once
// One sub-step of the motion, semi-implicit Euler: the velocity first, then the
// position with the new velocity.

#include "sim/state.h"

namespace korvel {

// Pull at one length unit of a planet of one Earth mass, m/s².
constexpr double kSurfaceGravity = 9.8;

// What a tick needs of the state that cannot change during the tick.
struct StepConstants {
    double dt = 0;              // sub-step length, s
    double planetPull = 0;      // -9.8 * planetMass * planetRadius², m³/s²
    double secondPlanetPull = 0;// -9.8 * secondPlanetMass * planetRadius², m³/s²
    double orbitPull = 0;       // -9.8 * planetRadius²: the second planet's own law
    bool secondPlanetOn = false;
};

StepConstants stepConstants(const SimulationState& state, double dt, double planetMass);

// Moves the craft (and the second planet while it is on) by one sub-step.
// The craft uses the second planet's position from before this sub-step.
// Returns false, with the state untouched, when the result would not be finite.
bool advanceSubStep(SimulationState& state, const StepConstants& k);

}  // namespace korvel
