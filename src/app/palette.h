#pragma once
// Every colour the program draws with, in one place: the drawing's, as a run
// draws it; the predicted path and burn preview drawn over it; the energy
// graph's curves. Qt-free, so that the core draws with them too.

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

}  // namespace korvel
