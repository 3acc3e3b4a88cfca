#pragma once
// What the window offers beyond its looks: captions read aloud as names, and
// a focus outline that stands out from what it is drawn on.

#include <string>
#include <string_view>

#include "app/platform.h"

namespace korvel {

// A caption as its name: without the blanks around it.
std::string spokenCaption(std::string_view caption);

// The distance readout's caption read as a readout: "dist  1.09500313630712"
// is "distance 1.095003 planet radii", and "dist ?" is "distance unknown".
std::string spokenDistance(std::string_view caption);

// The distance readout's caption with its number rounded to `digits`
// significant digits, for a button too small to show them all; any other
// caption as it is.
std::string distanceCaption(std::string_view caption, int digits);

// How far apart two colours stand, from 1 (alike) to 21 (black and white), by
// their relative luminance, as accessibility guidelines measure it.
double contrastRatio(Color a, Color b);

// The colour of a focus outline: the highlight, darkened (on a dark window,
// lightened) only as far as it takes to stand out at least 3:1 from both the
// face it is drawn on and the window around the control.
Color focusOutlineColor(Color highlight, Color face, Color window);

}  // namespace korvel
