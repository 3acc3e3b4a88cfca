#pragma once
// What an impulse does to the craft's velocity. The buttons fire it and the
// burn preview shows it, so both give the very same velocity.

#include <optional>

#include "sim/vec2.h"

namespace korvel {

// The buttons that fire an impulse: four relative to the direction of travel,
// and "Apply Impulse" in the direction typed in "dir of impulse".
enum class Burn { Forward, Backward, ToRight, ToLeft, Apply };

// An impulse of `size` m/s along the direction of travel (`burn` is one of
// the first four; Apply leaves the velocity as it is). Sideways, the y
// update uses the x velocity as already changed. Nothing when the craft has
// no direction of travel to scale by: at rest, or so slow that the result
// would not be finite.
std::optional<Vec2> velocityAlongTravel(Vec2 v, Burn burn, int size);

// An impulse of `size` m/s in the direction `direction` (rad).
Vec2 velocityInDirection(Vec2 v, int size, double direction);

}  // namespace korvel
