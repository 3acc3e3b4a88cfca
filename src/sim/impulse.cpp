#include "sim/impulse.h"

#include <cmath>

#include "ui/panel.h"

namespace korvel {

std::optional<Velocity> velocityAlongTravel(Velocity v, int button, int size) {
    const double share = size / std::hypot(v.x, v.y);
    double vx = v.x;
    double vy = v.y;
    switch (button) {
        case kBankForward:
            vx = vx + vx * share;
            vy = vy + vy * share;
            break;
        case kBankBackward:
            vx = vx - vx * share;
            vy = vy - vy * share;
            break;
        // Sideways: the y update uses the x velocity as already changed.
        case kBankToRight:
            vx = vx + vy * share;
            vy = vy - vx * share;
            break;
        case kBankToLeft:
            vx = vx - vy * share;
            vy = vy + vx * share;
            break;
        default:
            break;
    }
    // At rest the share is infinite; a speed within a few hundred powers of
    // ten of zero has a direction too fine to scale by.
    if (!std::isfinite(vx) || !std::isfinite(vy)) return std::nullopt;
    return Velocity{vx, vy};
}

Velocity velocityInDirection(Velocity v, int size, double direction) {
    return {v.x + size * std::cos(direction), v.y + size * std::sin(direction)};
}

}  // namespace korvel
