#include "fakes.h"

#include <algorithm>
#include <cmath>

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
    for (double v : {s.pauseStart, s.runStartTime, s.lastTickTime, s.tickElapsed, s.startRadius,
                     s.secondPlanetMass, s.secondPlanetRadius, s.secondPlanetPrevX,
                     s.secondPlanetPrevY, s.distReadout})
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

}  // namespace korvel::testing
