#include "orbit/burn_preview.h"

#include "sim/numbers.h"
#include "ui/panel.h"

namespace korvel::orbit {

std::optional<Velocity> velocityAfterBurn(const SimulationState& state, Burn burn,
                                          std::string_view directionText) {
    if (state.impulseSize == 0) return std::nullopt;
    const Velocity v{state.velX[kCraft], state.velY[kCraft]};
    if (burn == Burn::Apply) {
        const auto direction = strictNumber(directionText);
        if (!direction) return std::nullopt;
        return velocityInDirection(v, state.impulseSize, *direction);
    }
    constexpr int kButtons[] = {kBankForward, kBankBackward, kBankToRight, kBankToLeft};
    return velocityAlongTravel(v, kButtons[static_cast<int>(burn)], state.impulseSize);
}

}  // namespace korvel::orbit
