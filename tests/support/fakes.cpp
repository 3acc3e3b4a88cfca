#include "fakes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/panel.h"
#include "sim/numbers.h"

namespace korvel::testing {

std::string FakeControls::text(ControlArray array, int index) const {
    switch (array) {
    case ControlArray::lbl_mass_id: return labels.at(index);
    case ControlArray::txt_masses: return boxes.at(index);
    case ControlArray::cmd_color: return bankCaptions.at(index);
    }
    return {};
}

void FakeControls::setText(ControlArray array, int index, std::string_view text) {
    switch (array) {
    case ControlArray::lbl_mass_id: labels.at(index) = text; break;
    case ControlArray::txt_masses: boxes.at(index) = text; break;
    case ControlArray::cmd_color: bankCaptions.at(index) = text; break;
    }
}

void FakeControls::place(ControlArray array, int index, const TwipsRect& rect) {
    switch (array) {
    case ControlArray::lbl_mass_id: labelRects.at(index) = rect; break;
    case ControlArray::txt_masses: boxRects.at(index) = rect; break;
    case ControlArray::cmd_color: bankRects.at(index) = rect; break;
    }
}

std::vector<DrawCall> RecordingSurface::of(DrawCall::Kind kind) const {
    std::vector<DrawCall> found;
    for (const DrawCall& call : calls)
        if (call.kind == kind) found.push_back(call);
    return found;
}

float ScriptedRandom::next() {
    if (script.empty()) return fallback;
    const float value = script.front();
    script.pop_front();
    return value;
}

void CountingSurface::note(double v) { allFinite = allFinite && std::isfinite(v); }

std::array<double, kStateNumberCount> stateNumbers(const SimulationState& s) {
    std::array<double, kStateNumberCount> n{};
    int i = 0;
    for (const auto* body : {&s.posX, &s.posY, &s.velX, &s.velY})
        for (double v : *body) n[i++] = v;
    for (double v : s.ringRadius) n[i++] = v;
    for (double v : {s.pauseStart, s.runStartTime, s.lastTickTime, s.tickElapsed, s.startRadius, s.secondPlanetMass,
                     s.secondPlanetRadius, s.secondPlanetPrevX, s.secondPlanetPrevY, s.distReadout})
        n[i++] = v;
    return n;
}

bool allFinite(const SimulationState& s) {
    const auto n = stateNumbers(s);
    return std::all_of(n.begin(), n.end(), [](double v) { return std::isfinite(v); });
}

Rig::Rig() { korvel.Form_Load(); }

void Rig::tickAfter(double seconds) {
    clock.reading += seconds;
    korvel.Timer1_Timer();
}

TrailAgainstPath trailAgainstPath(const char* timeFactor, bool secondPlanet) {
    Rig rig;
    rig.controls.box(kBoxTimeFactor) = timeFactor;
    rig.run();
    if (secondPlanet) {
        rig.controls.box(kBoxSecondPlanetMass) = ".0123";
        rig.controls.box(kBoxSecondPlanetDist) = "2.5";
        rig.korvel.cmd_color_Click(kBankSecondPlanet);
    }
    TrailAgainstPath check;
    const double sign = *strictNumber(timeFactor) < 0 ? -1 : 1;
    check.path = orbit::predictPath(rig.state, {orbit::Planet{1}, sign, 4.53 * kLengthUnit});
    // The default view shows 6.8 length units across 8500 twips.
    const double pixelsPerMetre = (8500.0 / 15) / (6.8 * kLengthUnit);
    double swept = 0;
    Vec2 last{rig.state.posX[kCraft], rig.state.posY[kCraft]};
    while (swept < 2 * std::numbers::pi) {
        rig.tickAfter(0.001);
        rig.picture.calls.clear();
        const Vec2 at{rig.state.posX[kCraft], rig.state.posY[kCraft]};
        swept += std::abs(std::atan2(last.x * at.y - last.y * at.x, last.x * at.x + last.y * at.y));
        last = at;
        check.worstPixels = std::max(check.worstPixels, orbit::distanceFromPath(check.path, at) * pixelsPerMetre);
    }
    return check;
}

}  // namespace korvel::testing
