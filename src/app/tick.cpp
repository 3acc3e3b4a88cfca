// The tick of Timer1: the motion in sub-steps of a fixed length, and what the
// tick shows.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/korvel.h"
#include "app/palette.h"
#include "app/panel.h"
#include "sim/numbers.h"
#include "sim/physics.h"

namespace korvel {
namespace {

// The distance caption divides by this, not by the length unit.
constexpr double kReadoutRadius = 6'400'000;

// Share of sub-steps whose second point is replaced by a tiny black dot.
constexpr float kGapChance = 0.04f;

// A readout whose value overflowed shows as unknown, as the distance does.
std::string readoutText(double value) { return std::isfinite(value) ? plainNumberText(value) : "?"; }

}  // namespace

void Korvel::Timer1_Timer() {
    SimulationState& s = state_;
    const double reading = p_.clock.now();
    s.tickElapsed = reading - s.lastTickTime;
    s.lastTickTime = p_.clock.now();

    // The settings as the run's start read them; before any run all 0, as
    // the empty snapshot reads: nothing moves and nothing is drawn.
    static const RunSettings kNoRun;
    const RunSettings& run = settings_ ? *settings_ : kNoRun;
    const ViewGeometry& view = run.view;
    const std::int64_t due = subStepsDue();
    const StepConstants k = stepConstants(s, subStepLength(), run.planetMass);
    const bool drawn = p_.picture.seen();
    const orbit::Planet planet{run.planetMass};
    // A tick that runs longer than the rows lie apart records rows on its way.
    const std::int64_t perRow = settings_ ? log_.subStepsPerRow(subStepLength()) : due;
    std::int64_t nextRow = perRow;
    bool inRange = true;
    for (std::int64_t i = 0; i < due; ++i) {
        if (!advanceSubStep(s, k)) {
            inRange = false;
            break;
        }
        ++subStepsRun_;
        if (drawn) drawTrailPoint(view);
        if (i + 1 == nextRow && nextRow < due) {
            log_.recordTick(s, planet, simulatedTime());
            nextRow += perRow;
        }
    }
    // The caption would be rewritten in every sub-step; only the last text can
    // ever be seen, so it is written once, and not at all when nobody reads it.
    if (p_.controls.seen()) showDistance();
    if (s.secondPlanetOn) redrawSecondPlanet(view);
    if (p_.controls.seen()) writeReadouts(run.timeFactor);
    // The tick's row first; a pause it ends in follows it.
    if (settings_) log_.recordTick(s, planet, simulatedTime());

    if (!inRange) {
        cmd_stop_simulation_Click();
        p_.controls.showMessage(
            "The motion went out of range, so the run is paused where it last was. "
            "Steer the craft and press \"Continue\", or start a new run.");
    }
}

std::int64_t Korvel::subStepsDue() {
    SimulationState& s = state_;
    const std::int64_t due = subStepsIn(s.lastTickTime - s.runStartTime) - subStepsRun_;
    if (due <= kMostSubStepsPerTick) return due > 0 ? due : 0;
    // Whole sub-steps beyond the second count as a pause, so the remainder
    // carried to the next tick stays what it was.
    const double beyond = static_cast<double>(due - kMostSubStepsPerTick) / kSubStepsPerSecond;
    s.runStartTime += beyond;
    return kMostSubStepsPerTick;
}

void Korvel::showDistance() {
    const auto boxRadius = strictNumber(boxText(kBoxPlanetRadius));
    std::string caption = kDistancePrefix;
    bool shown = false;
    if (boxRadius && *boxRadius != 0) {
        const double x = state_.posX[kCraft];
        const double y = state_.posY[kCraft];
        const double readout = (std::hypot(x, y) / kReadoutRadius) / *boxRadius;
        // A tiny radius can carry a far craft's distance beyond the double
        // range; that reads as unknown too, and is not kept.
        if (std::isfinite(readout)) {
            state_.distReadout = readout;
            caption += signedNumberText(readout);
            shown = true;
        }
    }
    if (!shown) caption += "?";
    p_.controls.setText(ControlArray::cmd_color, kBankDistance, caption);
}

void Korvel::drawTrailPoint(const ViewGeometry& view) {
    const double t1 = p_.clock.now();
    const double t2 = p_.clock.now();
    const long phase = std::lround(std::nearbyint(t2 - 1000 * std::floor(t1 / 1000))) % 3;
    const double x = state_.posX[kCraft];
    const double y = state_.posY[kCraft];
    drawWorldPoint(view, x, y, trailColor(static_cast<int>(phase < 0 ? phase + 3 : phase)));
    if (p_.random.next() < kGapChance) {
        drawWorldCircle(view, x, y, view.screenScale() / 1000, kBlack);
    } else {
        drawWorldPoint(view, x, y, trailColor(0));
    }
}

void Korvel::redrawSecondPlanet(const ViewGeometry& view) {
    SimulationState& s = state_;
    // Erasing where nothing was drawn would punch a hole in the planet.
    if (s.secondPlanetDrawn)
        drawWorldCircle(view, s.secondPlanetPrevX, s.secondPlanetPrevY, s.secondPlanetRadius, kBlack);
    drawWorldCircle(view, s.posX[kSecondPlanet], s.posY[kSecondPlanet], s.secondPlanetRadius, kSecondPlanetColor);
    s.secondPlanetPrevX = s.posX[kSecondPlanet];
    s.secondPlanetPrevY = s.posY[kSecondPlanet];
    s.secondPlanetDrawn = true;
}

void Korvel::writeReadouts(double timeFactor) {
    const double clockTime = p_.clock.now() - state_.runStartTime;
    p_.controls.setText(ControlArray::txt_masses, kBoxClockTime, shortNumberText(clockTime));
    const double simulated = p_.clock.now() - state_.runStartTime;
    p_.controls.setText(ControlArray::txt_masses, kBoxRealtimeInterval,
                        readoutText(simulated * timeFactor / kSecondsPerMinute));
    p_.controls.setText(ControlArray::txt_masses, kBoxSpeed,
                        readoutText(std::hypot(state_.velX[kCraft], state_.velY[kCraft])));
}

}  // namespace korvel
