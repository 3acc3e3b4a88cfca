#include "app/accessibility.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/panel.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

// Significant digits a readout is read aloud with.
constexpr int kSpokenDigits = 7;

// The least contrast of a focus outline with what is around it.
constexpr double kFocusContrast = 3;

double linear(Color c, int shift) {
    const double v = ((c >> shift) & 0xffu) / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(Color c) { return 0.2126 * linear(c, 0) + 0.7152 * linear(c, 8) + 0.0722 * linear(c, 16); }

}  // namespace

std::string spokenCaption(std::string_view caption) { return std::string(trimBlanks(caption)); }

std::string spokenDistance(std::string_view caption) {
    const std::string_view prefix = kDistancePrefix;
    if (!caption.starts_with(prefix)) return spokenCaption(caption);
    const auto distance = strictNumber(caption.substr(prefix.size()));
    if (!distance) return "distance unknown";
    return "distance " + numberText(*distance, kSpokenDigits) + " planet radii";
}

std::string distanceCaption(std::string_view caption, int digits) {
    const std::string_view prefix = kDistancePrefix;
    const auto distance = caption.starts_with(prefix) ? strictNumber(caption.substr(prefix.size())) : std::nullopt;
    if (!distance) return std::string(caption);
    return std::string(prefix) + numberText(*distance, digits);
}

double contrastRatio(Color a, Color b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Color focusOutlineColor(Color highlight, Color face, Color window) {
    // Below this luminance white stands out more than black does.
    constexpr double kMidLuminance = 0.179;
    const bool darken = luminance(window) > kMidLuminance;
    // Each step takes every channel a sixth of the way to black (or white),
    // which keeps the hue; 40 steps reach the end.
    auto step = [darken](Color c, int shift) {
        const int v = static_cast<int>((c >> shift) & 0xffu);
        return darken ? v - (v + 5) / 6 : v + (255 - v + 5) / 6;
    };
    Color c = highlight;
    for (int i = 0; i < 40 && std::min(contrastRatio(c, face), contrastRatio(c, window)) < kFocusContrast; ++i)
        c = rgb(step(c, 0), step(c, 8), step(c, 16));
    return c;
}

}  // namespace korvel
