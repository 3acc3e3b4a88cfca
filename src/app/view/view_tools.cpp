#include "app/view/view_tools.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "sim/numbers.h"

namespace korvel {
namespace {

// Below and above these a number is written with an exponent: a fixed form
// would run to dozens of digits.
constexpr double kSmallestFixed = 1e-6;
constexpr double kLargestFixed = 1e15;

// `value` (finite, at least 0) to `digits` significant figures; never
// through the C runtime, which would write a German locale's comma.
std::string significant(double value, int digits) {
    char text[48];
    if (value == 0) return "0";
    if (!(value >= kSmallestFixed && value < kLargestFixed)) {
        const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, digits).ptr;
        return std::string(text, end);
    }
    const double unit = std::pow(10.0, std::floor(std::log10(value)) - digits + 1);
    const double rounded = std::round(value / unit) * unit;
    // Rounding up may add a digit (999.6 to 1,000): the places follow the rounded value.
    const int places = std::max(0, digits - 1 - static_cast<int>(std::floor(std::log10(rounded))));
    if (places == 0) return groupedCount(static_cast<std::size_t>(std::llround(rounded)));
    const auto end = std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, places).ptr;
    return std::string(text, end);
}

// The 1, 2 or 5 × 10ⁿ nearest `value` (finite, above 0), on a logarithmic scale.
double nearestRound(double value) {
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    double best = decade;
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (std::abs(std::log(step * decade / value)) < std::abs(std::log(best / value))) best = step * decade;
    }
    return best;
}

bool positive(double v) { return std::isfinite(v) && v > 0; }

}  // namespace

std::string kmText(double metres, int digits) {
    if (!std::isfinite(metres)) return "? km";
    return significant(std::abs(metres) / 1000, digits) + " km";
}

std::optional<GridSpacing> gridSpacing(double pixelsPerMetre, double leastPixels) {
    if (!positive(pixelsPerMetre) || !positive(leastPixels)) return std::nullopt;
    // In km, as the grid is named, so that a spacing below a km stays round.
    const double leastKm = leastPixels / pixelsPerMetre / 1000;
    if (!positive(leastKm)) return std::nullopt;
    const double decade = std::pow(10.0, std::floor(std::log10(leastKm)));
    double km = 10 * decade;
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * decade >= leastKm * (1 - 1e-12)) km = step * decade;
    }
    const double metres = km * 1000;
    if (!positive(metres)) return std::nullopt;
    return GridSpacing{metres, metres * pixelsPerMetre, "grid " + kmText(metres, 1)};
}

std::vector<double> gridLines(double low, double high, double spacing, std::size_t most) {
    std::vector<double> lines;
    if (!positive(spacing) || !std::isfinite(low) || !std::isfinite(high) || high < low) return lines;
    const double first = std::ceil(low / spacing);
    const double last = std::floor(high / spacing);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first + 1 > static_cast<double>(most)) return lines;
    // Counted by an integer: far from 0 a double index no longer steps by 1.
    const auto count = static_cast<long long>(last - first + 1);
    for (long long i = 0; i < count; ++i) lines.push_back((first + static_cast<double>(i)) * spacing);
    return lines;
}

std::vector<SnapTarget> snapTargets(Vec2 craft, const std::vector<Vec2>& apsides, const std::vector<DataRow>& trail) {
    std::vector<SnapTarget> targets{{{0, 0}, std::nullopt}, {craft, std::nullopt}};
    for (const Vec2& apsis : apsides) targets.push_back({apsis, std::nullopt});
    for (const DataRow& row : trail) targets.push_back({row.position, row.time});
    return targets;
}

SnapTarget snapEnd(Vec2 screen, const std::vector<SnapTarget>& targets, const ViewTransform& view, double reachPixels) {
    const SnapTarget* nearest = nullptr;
    double best = reachPixels * reachPixels;
    for (const SnapTarget& target : targets) {
        const Vec2 at = view.toScreen(target.world);
        const double d = (at.x - screen.x) * (at.x - screen.x) + (at.y - screen.y) * (at.y - screen.y);
        if (d <= best) {
            best = d;
            nearest = &target;
        }
    }
    if (nearest) return *nearest;
    return {view.toWorld(screen), std::nullopt};
}

TapeReading tapeReading(const SnapTarget& a, const SnapTarget& b) {
    TapeReading reading;
    reading.metres = std::hypot(b.world.x - a.world.x, b.world.y - a.world.y);
    reading.text = kmText(reading.metres, 3);
    if (a.time && b.time) {
        reading.flightSeconds = std::abs(*b.time - *a.time);
        reading.text += ", flight time " + significant(*reading.flightSeconds, 3) + " s";
    }
    return reading;
}

Vec2 pullOn(Vec2 craft, Vec2 body, double mu) {
    const double dx = craft.x - body.x;
    const double dy = craft.y - body.y;
    const double r = std::hypot(dx, dy);
    if (!positive(r)) return {};
    const double strength = -mu / (r * r) / r;
    const Vec2 pull{strength * dx, strength * dy};
    return std::isfinite(pull.x) && std::isfinite(pull.y) ? pull : Vec2{};
}

std::optional<double> arrowUnitPerSquare(double magnitude, double gridPixels, double viewPixels) {
    if (!positive(magnitude) || !positive(gridPixels) || !positive(viewPixels)) return std::nullopt;
    // A fifth of the view, in grid squares.
    const double squares = viewPixels / 5 / gridPixels;
    const double raw = magnitude / squares;
    if (!positive(raw)) return std::nullopt;
    const double round = nearestRound(raw);
    return positive(round) ? std::optional(round) : std::nullopt;
}

bool arrowScaleFits(double magnitude, double perSquare, double gridPixels, double viewPixels) {
    const double length = magnitude / perSquare * gridPixels;
    return std::isfinite(length) && length >= viewPixels / 20 && length <= viewPixels / 2;
}

std::string speedText(double metresPerSecond, int digits) {
    const double v = std::abs(metresPerSecond);
    if (!std::isfinite(v)) return "? m/s";
    return v >= 1000 ? significant(v / 1000, digits) + " km/s" : significant(v, digits) + " m/s";
}

std::string accelerationText(double metresPerSecondSquared, int digits) {
    const double a = std::abs(metresPerSecondSquared);
    if (!std::isfinite(a)) return "? m/s\u00b2";
    return significant(a, digits) + " m/s\u00b2";
}

}  // namespace korvel
