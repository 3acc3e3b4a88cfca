#include "sim/physics.h"

#include <cmath>

#include "sim/vec2.h"

namespace korvel {
namespace {

// What the pulls of one sub-step do to a body: the change of its velocity
// (acceleration × dt) and the extra change of its position (acceleration × dt²).
struct Kick {
    Vec2 velocity;
    Vec2 position;

    Kick& operator+=(const Kick& other) {
        velocity.x += other.velocity.x;
        velocity.y += other.velocity.y;
        position.x += other.position.x;
        position.y += other.position.y;
        return *this;
    }
};

// The pull of a body at offset (dx, dy): strength pull / r² along (dx, dy) / r.
// At distance 0 there is no direction, so no pull.
//
// pull·d / r³ is taken as (pull·d / r⁴)·r. The square root and the one division
// both wait only for r², so they run side by side, and once the root is there
// one multiplication is left. Every sub-step waits for the last, so this chain
// is what a sub-step costs.
inline Kick pullAt(double dx, double dy, const PullPerStep& pull) {
    const double rr = dx * dx + dy * dy;
    if (rr == 0) return {};
    const double perR2 = 1 / rr;
    const double r = std::sqrt(rr);
    // Divided by r² on either side of the offset, so the middle stays near
    // pull / r. Only a body within about 1e-99 m of the other (at ordinary masses)
    // overflows, and that step is refused like any other that is not finite.
    const double velocity = pull.velocity * perR2;
    const double position = pull.position * perR2;
    return {{velocity * dx * perR2 * r, velocity * dy * perR2 * r},
            {position * dx * perR2 * r, position * dy * perR2 * r}};
}

PullPerStep perStep(double pull, double dt) { return {pull * dt, pull * dt * dt}; }

}  // namespace

StepConstants stepConstants(const SimulationState& state, double dt, double planetMass) {
    StepConstants k;
    k.dt = dt;
    k.planetPull = perStep(-gravityParameter(planetMass), dt);
    k.secondPlanetPull = perStep(-gravityParameter(state.secondPlanetMass), dt);
    k.orbitPull = perStep(-kSecondPlanetOrbitMu, dt);
    k.secondPlanetOn = state.secondPlanetOn;
    return k;
}

bool advanceSubStep(SimulationState& state, const StepConstants& k) {
    // The craft. It feels the second planet where that was before this sub-step.
    Kick craft =
        pullAt(state.posX[kCraft] - state.posX[kPlanet], state.posY[kCraft] - state.posY[kPlanet], k.planetPull);
    if (k.secondPlanetOn) {
        craft += pullAt(state.posX[kCraft] - state.posX[kSecondPlanet], state.posY[kCraft] - state.posY[kSecondPlanet],
                        k.secondPlanetPull);
    }
    // x + (v + a·dt)·dt, as x + v·dt + a·dt²: the position need not wait for the velocity.
    const double vx = state.velX[kCraft] + craft.velocity.x;
    const double vy = state.velY[kCraft] + craft.velocity.y;
    const double x = (state.posX[kCraft] + state.velX[kCraft] * k.dt) + craft.position.x;
    const double y = (state.posY[kCraft] + state.velY[kCraft] * k.dt) + craft.position.y;
    bool finite = std::isfinite(x) && std::isfinite(y) && std::isfinite(vx) && std::isfinite(vy);

    // The second planet orbits the planet as if the planet had mass 1.
    double px = 0, py = 0, pvx = 0, pvy = 0;
    if (k.secondPlanetOn) {
        const Kick second = pullAt(state.posX[kSecondPlanet] - state.posX[kPlanet],
                                   state.posY[kSecondPlanet] - state.posY[kPlanet], k.orbitPull);
        pvx = state.velX[kSecondPlanet] + second.velocity.x;
        pvy = state.velY[kSecondPlanet] + second.velocity.y;
        px = (state.posX[kSecondPlanet] + state.velX[kSecondPlanet] * k.dt) + second.position.x;
        py = (state.posY[kSecondPlanet] + state.velY[kSecondPlanet] * k.dt) + second.position.y;
        finite = finite && std::isfinite(px) && std::isfinite(py) && std::isfinite(pvx) && std::isfinite(pvy);
    }
    if (!finite) return false;

    state.velX[kCraft] = vx;
    state.velY[kCraft] = vy;
    state.posX[kCraft] = x;
    state.posY[kCraft] = y;
    if (k.secondPlanetOn) {
        state.velX[kSecondPlanet] = pvx;
        state.velY[kSecondPlanet] = pvy;
        state.posX[kSecondPlanet] = px;
        state.posY[kSecondPlanet] = py;
    }
    return true;
}

}  // namespace korvel
