#pragma once
// The one record of simulation state that the window owns. Handlers read and
// write its fields in place. A field never assigned reads as 0.

#include <array>
#include <string>

#include "sim/units.h"

namespace korvel {

// Body indices of the per-body arrays.
constexpr int kCraft = 0;
constexpr int kPlanet = 1;  // always at the origin
constexpr int kSecondPlanet = 2;
constexpr int kBodyCount = 3;

// Rings are kept in elements 1 to 10; element 0 is never used.
constexpr int kMaxRings = 10;

struct SimulationState {
    // Per body (see the indices above), world frame: origin at the planet's
    // centre, x right, y up.
    std::array<double, kBodyCount> posX{};  // m
    std::array<double, kBodyCount> posY{};  // m
    std::array<double, kBodyCount> velX{};  // m/s
    std::array<double, kBodyCount> velY{};  // m/s

    // Radii of the reference rings, drawing units (multiples of the length unit).
    std::array<double, kMaxRings + 1> ringRadius{};

    // Clock values, seconds on the monotonic clock.
    double pauseStart = 0;    // when the run was last paused
    double runStartTime = 0;  // start of the run, moved later by every pause
    double lastTickTime = 0;  // the previous tick (or set-up, or moved by a pause)
    double tickElapsed = 0;   // real seconds between the previous tick and this one

    int impulseSize = 0;  // m/s of one impulse: 1000, 100, 10 or 1 once chosen

    // Snapshots of panel texts taken at set-up, converted where they are used.
    // Empty until the first set-up, and then reading as 0.
    std::string timeFactor;   // simulated seconds per real second
    std::string startAngle;   // the craft's initial angular position, rad
    std::string planetMass;   // Earth masses
    std::string screenScale;  // half the view's height, drawing units

    double startRadius = 0;  // the craft's initial distance from the planet centre, m

    bool secondPlanetOn = false;    // switched on once, never off
    double secondPlanetMass = 0;    // Earth masses
    double secondPlanetRadius = 0;  // drawn disc radius, drawing units
    double secondPlanetPrevX = 0;   // where the second planet was last drawn, m
    double secondPlanetPrevY = 0;
    bool secondPlanetDrawn = false;  // whether it was drawn there at all
    double distReadout = 0;          // craft distance in the panel's planet radii (6,400,000 m each)
};

}  // namespace korvel
