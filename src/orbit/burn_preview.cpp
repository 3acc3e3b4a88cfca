#include "orbit/burn_preview.h"

#include "sim/numbers.h"

namespace korvel::orbit {

std::optional<Vec2> velocityAfterBurn(const SimulationState& state, Burn burn, std::string_view directionText) {
    if (state.impulseSize == 0) return std::nullopt;
    const Vec2 v{state.velX[kCraft], state.velY[kCraft]};
    if (burn == Burn::Apply) {
        const auto direction = strictNumber(directionText);
        if (!direction) return std::nullopt;
        return velocityInDirection(v, state.impulseSize, *direction);
    }
    return velocityAlongTravel(v, burn, state.impulseSize);
}

}  // namespace korvel::orbit
