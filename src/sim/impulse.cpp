#include "sim/impulse.h"

#include <cmath>

#include "sim/trig.h"

namespace korvel {

std::optional<Vec2> velocityAlongTravel(Vec2 v, Burn burn, int size) {
    const double share = size / portableHypot(v.x, v.y);
    double vx = v.x;
    double vy = v.y;
    switch (burn) {
    case Burn::Forward:
        vx = vx + vx * share;
        vy = vy + vy * share;
        break;
    case Burn::Backward:
        vx = vx - vx * share;
        vy = vy - vy * share;
        break;
    // Sideways: the y update uses the x velocity as already changed.
    case Burn::ToRight:
        vx = vx + vy * share;
        vy = vy - vx * share;
        break;
    case Burn::ToLeft:
        vx = vx - vy * share;
        vy = vy + vx * share;
        break;
    case Burn::Apply: break;
    }
    // At rest the share is infinite; a speed within a few hundred powers of
    // ten of zero has a direction too fine to scale by.
    if (!std::isfinite(vx) || !std::isfinite(vy)) return std::nullopt;
    return Vec2{vx, vy};
}

Vec2 velocityInDirection(Vec2 v, int size, double direction) {
    return {v.x + size * portableCos(direction), v.y + size * portableSin(direction)};
}

}  // namespace korvel
