// "Run Simulation" and "Run (don't clear)": the panel becomes the start of a
// run. Every box is checked before anything is erased, drawn or changed.

#include <cmath>

#include "app/korvel.h"
#include "app/palette.h"
#include "app/panel.h"
#include "sim/numbers.h"
#include "sim/trig.h"

namespace korvel {
namespace {}  // namespace

std::optional<RunParameters> Korvel::readRunParameters(RunCheck check) {
    RunParameters run;
    std::string texts[kBoxDirection + 1];
    double numbers[kBoxDirection + 1] = {};
    for (int box :
         {kBoxPlanetMass, kBoxTimeFactor, kBoxScreenScale, kBoxInitDistance, kBoxInitAngle, kBoxBurn, kBoxDirection}) {
        texts[box] = boxText(box);
        const auto number = readNumber(kLabelCaptions[box], texts[box], NumberRead::Whole);
        if (!number) return std::nullopt;
        numbers[box] = *number;
    }
    run.planetMassText = texts[kBoxPlanetMass];
    run.timeFactorText = texts[kBoxTimeFactor];
    run.screenScaleText = texts[kBoxScreenScale];
    run.startAngleText = texts[kBoxInitAngle];
    run.planetMass = numbers[kBoxPlanetMass];
    run.timeFactor = numbers[kBoxTimeFactor];
    run.screenScale = numbers[kBoxScreenScale];
    run.startRadius = numbers[kBoxInitDistance] * kLengthUnit;
    run.startAngle = numbers[kBoxInitAngle];
    run.speed = numbers[kBoxBurn];
    run.direction = numbers[kBoxDirection];

    if (check == RunCheck::Full) {
        if (!(run.planetMass > 0)) {
            refuseBox(kLabelCaptions[kBoxPlanetMass], run.planetMassText, "must be above 0");
            return std::nullopt;
        }
        if (run.screenScale == 0) {
            refuseBox(kLabelCaptions[kBoxScreenScale], run.screenScaleText, "must not be 0");
            return std::nullopt;
        }
    }
    if (!ViewGeometry(run.screenScale).finite()) {
        refuseBox(kLabelCaptions[kBoxScreenScale], run.screenScaleText, kOutOfRange);
        return std::nullopt;
    }
    if (!std::isfinite(run.startRadius)) {
        refuseBox(kLabelCaptions[kBoxInitDistance], texts[kBoxInitDistance], kOutOfRange);
        return std::nullopt;
    }
    const std::string circleText = boxText(kBoxCircleRadius);
    const auto circleRadius = leadingNumber(circleText);
    if (!circleRadius) {
        refuseBox(kLabelCaptions[kBoxCircleRadius], circleText, kOutOfRange);
        return std::nullopt;
    }
    run.circleRadius = *circleRadius;
    return run;
}

void Korvel::runSImulation_Click() {
    const auto run = readRunParameters(RunCheck::Full);
    if (!run) return;
    p_.controls.closeMessage();
    p_.picture.setBackColor(kBlack);
    setUpRun(*run);
    p_.timer.setInterval(1);
    p_.timer.setEnabled(true);
    happened(EventKind::RunStarted, [](RunEvent& event) { event.drawingCleared = true; });
}

void Korvel::setUpRun(const RunParameters& run) {
    SimulationState& s = state_;
    s.posX[kPlanet] = 0;
    s.posY[kPlanet] = 0;

    const double scale = run.screenScale;
    const ViewGeometry view(scale);
    p_.picture.setScale(view.height(), view.width());
    pictureScale_ = scale;
    p_.picture.setFillStyle(kFillSolid);

    // Rings where the planet's potential is 10/10, 9/10, ... 1/10 of its value
    // at the surface, as far as the view reaches.
    const double c = discRadius(run.planetMass);
    const double k = (1 / c) / 10;
    int n = 1;
    double r = c;
    for (;;) {
        s.ringRadius[n] = r;
        if (r > 1.4 * scale) break;
        const double u = 1 / r;
        if ((u - k) < k || n == kMaxRings) break;
        r = 1 / (u - k);
        ++n;
    }

    p_.picture.setFillStyle(kFillSolid);
    p_.picture.setFillColor(kBlack);
    const Vec2 centre = view.centre();
    // The largest first, so each black fill leaves the larger rings' outlines.
    for (int j = n; j >= 1; --j) drawCircle(centre.x, centre.y, s.ringRadius[j], kRingColor);
    p_.picture.setFillColor(kPlanetColor);
    p_.picture.setFillStyle(kFillSolid);
    drawCircle(centre.x, centre.y, c, kPlanetColor);
    p_.picture.setFillColor(kBlack);

    drawDottedCircle(view, run.circleRadius);
    startCraft(run);
}

void Korvel::cmd_restart_Click() {
    // A planet mass of 0 or below is fine here: no rings are computed.
    const auto run = readRunParameters(RunCheck::NumbersOnly);
    if (!run) return;
    p_.controls.closeMessage();
    drawDottedCircle(ViewGeometry(run->screenScale), run->circleRadius);
    startCraft(*run);
    p_.timer.setEnabled(true);
    happened(EventKind::RunStarted);
}

// 6,280 red points around the planet; the angle grows by repeated addition,
// which stops it just short of a full turn. The portable sine and cosine put
// every point on the same pixel on every platform.
void Korvel::drawDottedCircle(const ViewGeometry& view, double radius) {
    if (!(radius > 0)) return;
    const Vec2 centre = view.centre();
    for (double a = 0; a <= 6.28; a += 0.001)
        drawPoint(centre.x + radius * portableCos(a), centre.y + radius * portableSin(a), kCircleColor);
}

void Korvel::startCraft(const RunParameters& run) {
    SimulationState& s = state_;
    s.planetMass = run.planetMassText;
    s.timeFactor = run.timeFactorText;
    s.screenScale = run.screenScaleText;
    s.startAngle = run.startAngleText;
    s.startRadius = run.startRadius;

    s.posX[kCraft] = s.startRadius * portableCos(run.startAngle);
    s.posY[kCraft] = s.startRadius * portableSin(run.startAngle);
    s.velX[kCraft] = run.speed * portableCos(run.direction);
    s.velY[kCraft] = run.speed * portableSin(run.direction);

    s.runStartTime = p_.clock.now();
    s.lastTickTime = p_.clock.now();
    subStepsRun_ = 0;
    settings_ = RunSettings{run.planetMass, run.timeFactor, ViewGeometry(run.screenScale), run.circleRadius};
}

}  // namespace korvel
