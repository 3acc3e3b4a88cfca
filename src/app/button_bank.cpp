// The bank of impulse and second-planet buttons, and "Apply Impulse". They only
// change the state; the next tick shows the result. An accepted press closes a
// message left open: whatever it said is out of date.

#include <cmath>

#include "app/korvel.h"
#include "app/panel.h"
#include "sim/impulse.h"
#include "sim/units.h"

namespace korvel {

void Korvel::cmd_color_Click(int Index) {
    switch (Index) {
    case kBankForward:
    case kBankBackward:
    case kBankToRight:
    case kBankToLeft: fireAlongTravel(burnOfBank(Index)); break;
    case kBankImpulse1000:
    case kBankImpulse1000 + 1:
    case kBankImpulse1000 + 2:
    case kBankImpulse1:
        p_.controls.closeMessage();
        state_.impulseSize = kImpulseSizes[Index - kBankImpulse1000];
        happened(EventKind::SizeChosen, [&](RunEvent& event) { event.size = state_.impulseSize; });
        break;
    case kBankSecondPlanet: placeSecondPlanet(); break;
    default: break;  // the distance readout, or no such button
    }
}

bool Korvel::impulseSizeChosen() {
    if (state_.impulseSize != 0) return true;
    p_.controls.showMessage(
        "No impulse size is chosen yet. Choose one first with \"impulse 1000\", "
        "\"impulse 100\", \"impulse 10\" or \"impulse 1\".");
    return false;
}

void Korvel::fireImpulse(Burn burn, Vec2 velocity) {
    const Vec2 before{state_.velX[kCraft], state_.velY[kCraft]};
    const auto energyBefore = craftEnergy();
    state_.velX[kCraft] = velocity.x;
    state_.velY[kCraft] = velocity.y;
    happened(EventKind::ImpulseFired, [&](RunEvent& event) {
        event.burn = burn;
        event.size = state_.impulseSize;
        event.velocityBefore = before;
        event.velocityAfter = velocity;
        event.energyBefore = energyBefore;
        event.energyAfter = craftEnergy();
    });
}

void Korvel::fireAlongTravel(Burn burn) {
    if (!impulseSizeChosen()) return;
    const double speed = std::hypot(state_.velX[kCraft], state_.velY[kCraft]);
    if (speed == 0) {
        p_.controls.showMessage(
            "The craft is at rest, so it has no direction of travel to steer by. "
            "Use \"Apply Impulse\" to push it in a chosen direction.");
        return;
    }
    const Vec2 before{state_.velX[kCraft], state_.velY[kCraft]};
    const auto v = velocityAlongTravel(before, burn, state_.impulseSize);
    if (!v) {
        p_.controls.showMessage(
            "The craft moves too slowly to steer by its direction of travel. "
            "Use \"Apply Impulse\" to push it in a chosen direction.");
        return;
    }
    p_.controls.closeMessage();
    fireImpulse(burn, *v);
}

void Korvel::placeSecondPlanet() {
    // Everything is read and checked first, so a refusal changes nothing.
    // Unlike the run's boxes these may go on in words ("2.5 radii"), but they
    // must start with a number: the description texts are no planet.
    const std::string distText = boxText(kBoxSecondPlanetDist);
    const auto dist = readNumber(kSecondPlanetDistName, distText, NumberRead::Leading);
    if (!dist) return;
    const std::string massText = boxText(kBoxSecondPlanetMass);
    const auto mass = readNumber(kSecondPlanetMassName, massText, NumberRead::Leading);
    if (!mass) return;
    if (*mass < 0) {
        refuseBox(kSecondPlanetMassName, massText, "must not be negative");
        return;
    }
    const double x = *dist * kLengthUnit;
    // The pull at that distance under the law that moves the second planet,
    // and the speed of a circular orbit under it.
    const double g = *dist > 0 ? kSecondPlanetOrbitMu / (x * x) : 0;
    const double vy = std::sqrt(g * x);
    if (!std::isfinite(x) || !std::isfinite(vy)) {
        refuseBox(kSecondPlanetDistName, distText, kOutOfRange);
        return;
    }

    p_.controls.closeMessage();
    SimulationState& s = state_;
    const auto energyBefore = craftEnergy();
    s.secondPlanetOn = true;
    s.posX[kSecondPlanet] = x;
    s.posY[kSecondPlanet] = 0;
    s.velX[kSecondPlanet] = 0;
    s.velY[kSecondPlanet] = vy;
    s.secondPlanetMass = *mass;
    s.secondPlanetRadius = discRadius(*mass);
    happened(EventKind::SecondPlanetPlaced, [&](RunEvent& event) {
        event.energyBefore = energyBefore;
        event.energyAfter = craftEnergy();
    });
}

void Korvel::cmd_apply_Click() {
    if (!impulseSizeChosen()) return;
    const auto direction = readNumber(kLabelCaptions[kBoxDirection], boxText(kBoxDirection), NumberRead::Whole);
    if (!direction) return;
    p_.controls.closeMessage();
    fireImpulse(Burn::Apply,
                velocityInDirection({state_.velX[kCraft], state_.velY[kCraft]}, state_.impulseSize, *direction));
}

}  // namespace korvel
