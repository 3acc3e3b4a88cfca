#pragma once
// Every colour the program draws with, in one place: the drawing's, as a run
// draws it; the predicted path and burn preview drawn over it; the energy
// graph's curves; and the two colour profiles a view of the run is shown in.
// Qt-free, so that the core draws with them too.

#include <algorithm>
#include <array>
#include <cmath>

#include "app/platform.h"

namespace korvel {

// The drawing. The trail's points take one of three phases, pale cyan to
// pink, from the clock.
constexpr Color trailColor(int phase) { return rgb(215 + 40 * phase, 255 - 40 * phase, 255); }
constexpr Color kRingColor = rgb(50, 50, 50);
constexpr Color kPlanetColor = rgb(0, 0, 255);
constexpr Color kSecondPlanetColor = rgb(0, 255, 0);
constexpr Color kCircleColor = rgb(255, 0, 0);

// Over the drawing, apart from every colour of the drawing itself.
constexpr Color kPathColor = rgb(255, 150, 0);
constexpr Color kPreviewColor = rgb(255, 255, 90);

// The energy graph: distinct for the colour-blind too, on a light or dark face.
constexpr Color kKineticColor = rgb(213, 94, 0);
constexpr Color kPotentialColor = rgb(0, 114, 178);
constexpr Color kTotalColor = rgb(0, 158, 115);

// The colours a view of the run and the energy graph are shown in. The
// program owns them: they never follow the desktop's theme.
struct Profile {
    // The core's own drawing is in these colours, so the default view shows
    // the drawing itself rather than a view drawn from the run log.
    bool drawnByCore = false;
    Color ground = kBlack;
    Color rings = kRingColor;
    Color planet = kPlanetColor;
    Color secondPlanet = kSecondPlanetColor;
    // Where the second planet has been: its colour laid over the ground at
    // this opacity, of 255, so that it shows faintly.
    Color secondPlanetPath = kSecondPlanetColor;
    int secondPlanetPathAlpha = 255;
    Color circle = kCircleColor;
    std::array<Color, 3> trail{};
    Color path = kPathColor;
    Color preview = kPreviewColor;
    // The scale bar and its length.
    Color scaleBar = rgb(255, 255, 255);
    // The energy graph: its ground (the whole graph, title and legend too),
    // texts, frame and ticks, grid, the "no data" note, and the curves.
    Color graphGround = kBlack;
    Color graphText = rgb(255, 255, 255);
    Color graphGrid = rgb(128, 128, 128);
    Color graphNote = rgb(192, 192, 192);
    Color kinetic = kKineticColor;
    Color potential = kPotentialColor;
    Color total = kTotalColor;
};

// The drawing's own colours on black; what the view adds is bright enough
// to read against it.
constexpr Profile darkProfile() {
    Profile p;
    p.drawnByCore = true;
    p.secondPlanetPathAlpha = 115;
    p.trail = {trailColor(0), trailColor(1), trailColor(2)};
    p.graphText = rgb(235, 235, 235);
    p.graphGrid = rgb(110, 110, 110);
    p.graphNote = rgb(170, 170, 170);
    return p;
}

// For a projector and for print: dark lines on white, every one of them
// readable against it, the rings too.
constexpr Profile lightProfile() {
    Profile p;
    p.ground = rgb(255, 255, 255);
    p.rings = rgb(140, 140, 140);
    p.planet = rgb(40, 90, 210);
    p.secondPlanet = rgb(0, 140, 60);
    p.secondPlanetPath = rgb(70, 150, 100);
    p.circle = rgb(220, 0, 0);
    p.trail = {rgb(0, 110, 140), rgb(70, 70, 150), rgb(150, 40, 120)};
    p.path = rgb(200, 90, 0);
    p.preview = rgb(150, 110, 0);
    p.scaleBar = rgb(20, 20, 20);
    p.graphGround = rgb(255, 255, 255);
    p.graphText = rgb(20, 20, 20);
    p.graphGrid = rgb(140, 140, 140);
    p.graphNote = rgb(100, 100, 100);
    return p;
}

// `over` laid on `under` at `alpha` of 255, as a painter blends it.
constexpr Color blend(Color over, Color under, int alpha) {
    const auto mix = [&](int shift) {
        const int a = static_cast<int>((over >> shift) & 0xffu);
        const int b = static_cast<int>((under >> shift) & 0xffu);
        return (a * alpha + b * (255 - alpha) + 127) / 255;
    };
    return rgb(mix(0), mix(8), mix(16));
}

// WCAG 2.1's relative luminance, 0 for black to 1 for white.
inline double relativeLuminance(Color c) {
    const auto linear = [](unsigned channel) {
        const double s = channel / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c & 0xffu) + 0.7152 * linear((c >> 8) & 0xffu) + 0.0722 * linear((c >> 16) & 0xffu);
}

// WCAG 2.1's contrast ratio, 1 (none) to 21 (black on white), either order.
inline double contrastRatio(Color a, Color b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace korvel
