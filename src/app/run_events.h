#pragma once
// What happened in the program, as plain data: each accepted action of the
// operator (and a pause the tick forces) adds one event, and the views drain
// the list after each handler instead of comparing copies of the state.

#include <optional>

#include "orbit/energy_history.h"
#include "sim/impulse.h"
#include "sim/vec2.h"

namespace korvel {

// One list for the events and for the data rows that record them.
enum class EventKind : unsigned char {
    None,                // a data row of a tick's end, where nothing happened
    RunStarted,          // "Run Simulation" or "Run (don't clear)": the run's clock starts at 0
    RunContinued,        // "Continue" ended a pause
    RunPaused,           // "pause simulation", or the motion went out of range
    ImpulseFired,        // a burn changed the craft's velocity
    SecondPlanetPlaced,  // "2d planet" placed it anew
    SizeChosen,          // an impulse size button
    RunOpened,           // a scenario brought back a run, paused at the moment it was kept
    RunCleared,          // a scenario without a run opened: no run, as when the program starts
};

struct RunEvent {
    using Kind = EventKind;
    Kind kind = Kind::RunStarted;
    // RunStarted: "Run Simulation" cleared the drawing, so the trail starts
    // anew; "Run (don't clear)" leaves it, and its run begins a new stroke.
    bool drawingCleared = false;
    // Simulated seconds since the run started, at that moment (0 before any run).
    double simulatedTime = 0;

    // ImpulseFired: which button, with what size, and the craft's velocity
    // before and after. SizeChosen: the size, m/s.
    Burn burn = Burn::Forward;
    int size = 0;
    Vec2 velocityBefore;
    Vec2 velocityAfter;

    // ImpulseFired and SecondPlanetPlaced: the craft's energy just before and
    // just after, at the same moment, so that the energy shows the step;
    // nothing before any run or where it is not finite.
    std::optional<orbit::EnergySample> energyBefore;
    std::optional<orbit::EnergySample> energyAfter;
};

}  // namespace korvel
