#pragma once
// The keys of each object of a scenario file, in the file's order: the one
// list that reading and writing both walk. `io` is a reader filling a
// scenario, or a writer copying a const one out; see scenario_file.cpp.

#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "app/korvel.h"
#include "app/panel.h"
#include "app/scenario.h"
#include "app/view/view_transform.h"

namespace korvel::scenario_keys {

// Files from before sub-steps were counted: as many as the clock held at the
// last tick.
inline std::int64_t subStepsAtLastTick(const SavedRun& run) {
    const double ticked = run.runClock - run.sinceLastTick;
    return std::isfinite(ticked) ? Korvel::subStepsIn(ticked) : 0;
}

template <typename Io, typename State>
void bodyKeys(Io& io, State& s, int body) {
    io.number("x", s.posX[body]);
    io.number("y", s.posY[body]);
    io.number("vx", s.velX[body]);
    io.number("vy", s.velY[body]);
}

template <typename Io, typename Run>
void runKeys(Io& io, Run& run) {
    auto& s = run.state;
    io.number("clock", run.runClock);
    io.number("since last tick", run.sinceLastTick);
    io.whole("sub-steps", run.subSteps, 0x1p53, [&run] { return subStepsAtLastTick(run); });
    io.object("settings", [&](auto& settings) {
        settings.text("planet mass", s.planetMass);
        settings.text("time factor", s.timeFactor);
        settings.text("screen scale", s.screenScale);
        settings.text("init ang pos", s.startAngle);
    });
    io.numberOrNull("picture scale", run.pictureScale);
    io.number("start distance", s.startRadius);
    io.object("craft", [&](auto& craft) { bodyKeys(craft, s, kCraft); });
    io.object("second planet", [&](auto& planet) {
        planet.flag("on", s.secondPlanetOn);
        planet.number("mass", s.secondPlanetMass);
        planet.number("radius", s.secondPlanetRadius);
        bodyKeys(planet, s, kSecondPlanet);
        planet.flag("drawn", s.secondPlanetDrawn);
        planet.number("drawn x", s.secondPlanetPrevX);
        planet.number("drawn y", s.secondPlanetPrevY);
    });
    io.numbers("rings", std::span(s.ringRadius).template subspan<1, kMaxRings>());
    io.whole("impulse size", s.impulseSize, 1000);
    io.number("distance readout", s.distReadout);
    io.object("readouts", [&](auto& shown) {
        shown.text(kLabelCaptions[kBoxClockTime], run.clockTime);
        shown.text(kLabelCaptions[kBoxRealtimeInterval], run.realtimeInterval);
        shown.text(kLabelCaptions[kBoxSpeed], run.speed);
        shown.text("dist", run.distanceCaption);
    });
    // The one text of any length.
    io.base64("drawing", run.drawingBase64);
    // Last, as the largest, thinned to the room the rest leaves it.
    io.log("log", run.log);
}

template <typename Io, typename View>
void viewKeys(Io& io, View& view) {
    io.choice("colours", view.colours,
              std::array{std::pair{ViewColours::Dark, "dark"}, std::pair{ViewColours::Light, "light"}});
    io.choice("line width", view.lineWidth, std::array{std::pair{1, 1}, std::pair{2, 2}, std::pair{3, 3}});
    io.flag("grid", view.grid);
    io.pointsOrNull("tape", view.tape);
    io.flag("velocity arrow", view.velocityArrow);
    io.flag("gravity arrow", view.gravityArrow);
    io.number("zoom", view.zoom, ViewTransform::kLeastZoom, ViewTransform::kMostZoom);
    io.point("centre", view.centre);
}

template <typename Io, typename Kept>
void scenarioKeys(Io& io, Kept& scenario) {
    io.constant("format", kScenarioFormat);
    io.version("version");
    io.optionalText("title", scenario.title);
    io.optionalText("description", scenario.description);
    io.optionalObject("panel", [&](auto& panel) {
        for (int box : kScenarioBoxes) panel.boxText(scenarioBoxName(box), scenario.panel[box]);
    });
    io.optionalObject("run", scenario.run, [](auto& keys, auto& run) { runKeys(keys, run); });
    io.optionalObject("view", scenario.view, [](auto& keys, auto& view) { viewKeys(keys, view); });
}

}  // namespace korvel::scenario_keys
