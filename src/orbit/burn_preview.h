#pragma once
// The velocity a press of an impulse button would give, worked out without
// pressing it: what the burn preview predicts from.

#include <optional>
#include <string_view>

#include "sim/impulse.h"
#include "sim/state.h"

namespace korvel::orbit {

// The impulse buttons a preview can be for.
using korvel::Burn;

// The craft's velocity after pressing the button for `burn`, with the size in
// force and, for "Apply Impulse", the direction typed in "dir of impulse"
// (`directionText`). Nothing when the press would be refused: no size chosen,
// no direction of travel, a direction that is not a number, or a velocity
// that would not be finite. It never tells the operator anything.
std::optional<Vec2> velocityAfterBurn(const SimulationState& state, Burn burn, std::string_view directionText);

}  // namespace korvel::orbit
