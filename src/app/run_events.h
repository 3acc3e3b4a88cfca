#pragma once
// What happened in the program, as plain data: each accepted action of the
// operator (and a pause the tick forces) adds one event, and the views drain
// the list after each handler instead of comparing copies of the state.

#include "sim/impulse.h"
#include "sim/vec2.h"

namespace korvel {

// The second planet as it was before "2d planet" placed it anew.
struct SecondPlanetBefore {
    bool on = false;
    double mass = 0;  // Earth masses
    Vec2 position;    // m
    Vec2 velocity;    // m/s
};

struct RunEvent {
    enum class Kind {
        RunStarted,          // "Run Simulation" or "Run (don't clear)": the run's clock starts at 0
        RunContinued,        // "Continue" ended a pause
        RunPaused,           // "pause simulation", or the motion went out of range
        ImpulseFired,        // a burn changed the craft's velocity
        SecondPlanetPlaced,  // "2d planet" placed it anew
        SizeChosen,          // an impulse size button
        RunOpened,           // a scenario brought back a run, paused at the moment it was kept
        RunCleared,          // a scenario without a run opened: no run, as when the program starts
    };
    Kind kind = Kind::RunStarted;
    // Simulated seconds since the run started, at that moment (0 before any run).
    double simulatedTime = 0;

    // ImpulseFired: which button, with what size, and the craft's velocity
    // before and after. SizeChosen: the size, m/s.
    Burn burn = Burn::Forward;
    int size = 0;
    Vec2 velocityBefore;
    Vec2 velocityAfter;

    // SecondPlanetPlaced: the one it replaced.
    SecondPlanetBefore secondPlanetBefore;
};

}  // namespace korvel
