#include "sim/physics.h"

#include <cmath>

namespace korvel {
namespace {

// Adds the acceleration pull / r² along (dx, dy) / r. A distance of exactly 0
// counts as 1, so the direction, and with it the pull, is zero.
inline void addPull(double dx, double dy, double pull, double& ax, double& ay) {
    double r = std::sqrt(dx * dx + dy * dy);
    if (r == 0) r = 1;
    const double a = pull / (r * r);
    ax += a * (dx / r);
    ay += a * (dy / r);
}

}  // namespace

StepConstants stepConstants(const SimulationState& state, double dt, double planetMass) {
    const double unitSquared = static_cast<double>(state.planetRadius) * state.planetRadius;
    StepConstants k;
    k.dt = dt;
    k.planetPull = (-kSurfaceGravity * planetMass) * unitSquared;
    k.secondPlanetPull = (-kSurfaceGravity * state.secondPlanetMass) * unitSquared;
    k.orbitPull = -kSurfaceGravity * unitSquared;
    k.secondPlanetOn = state.secondPlanetOn;
    return k;
}

bool advanceSubStep(SimulationState& state, const StepConstants& k) {
    double vx = state.velX[kCraft];
    double vy = state.velY[kCraft];
    double ax = 0;
    double ay = 0;

    // The planet's pull. A craft exactly at its centre feels none.
    {
        const double dx = state.posX[kCraft] - state.posX[kPlanet];
        const double dy = state.posY[kCraft] - state.posY[kPlanet];
        const double rr = dx * dx + dy * dy;
        if (rr != 0) {
            const double r = std::sqrt(rr);
            const double a = k.planetPull / rr;
            ax = a * (dx / r);
            ay = a * (dy / r);
        }
    }
    if (k.secondPlanetOn) {
        addPull(state.posX[kCraft] - state.posX[kSecondPlanet],
                state.posY[kCraft] - state.posY[kSecondPlanet], k.secondPlanetPull, ax, ay);
    }
    vx += ax * k.dt;
    vy += ay * k.dt;
    const double x = state.posX[kCraft] + vx * k.dt;
    const double y = state.posY[kCraft] + vy * k.dt;
    bool finite = std::isfinite(x) && std::isfinite(y) && std::isfinite(vx) && std::isfinite(vy);

    // The second planet orbits the planet as if the planet had mass 1.
    double px = 0, py = 0, pvx = 0, pvy = 0;
    if (k.secondPlanetOn) {
        double pax = 0, pay = 0;
        addPull(state.posX[kSecondPlanet] - state.posX[kPlanet],
                state.posY[kSecondPlanet] - state.posY[kPlanet], k.orbitPull, pax, pay);
        pvx = state.velX[kSecondPlanet] + pax * k.dt;
        pvy = state.velY[kSecondPlanet] + pay * k.dt;
        px = state.posX[kSecondPlanet] + pvx * k.dt;
        py = state.posY[kSecondPlanet] + pvy * k.dt;
        finite = finite && std::isfinite(px) && std::isfinite(py) && std::isfinite(pvx) &&
                 std::isfinite(pvy);
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
