#pragma once
// What an impulse does to the craft's velocity. The buttons fire it and the
// burn preview shows it, so both give the very same velocity.

#include <optional>

namespace korvel {

struct Velocity {
    double x = 0;
    double y = 0;
};

// An impulse of `size` m/s along the direction of travel: `button` is
// "forward", "backward", "to right" or "to left" (bank indices 0 to 3).
// Sideways, the y update uses the x velocity as already changed. Nothing when
// the craft has no direction of travel to scale by: at rest, or so slow that
// the result would not be finite.
std::optional<Velocity> velocityAlongTravel(Velocity v, int button, int size);

// An impulse of `size` m/s in the direction `direction` (rad).
Velocity velocityInDirection(Velocity v, int size, double direction);

}  // namespace korvel
