#pragma once
// The arithmetic of the tools drawn over the drawing: the grid's spacing, the
// measuring tape's snapping and reading, and the arrows' scale. No Qt: the
// tools on the screen and the tests share it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/run_history.h"
#include "app/view/view_transform.h"
#include "sim/vec2.h"

namespace korvel {

// "5,000 km", "0.2 km": a length with the digits `digits` significant
// figures need, thousands grouped.
std::string kmText(double metres, int digits = 3);

// The grid: the smallest 1, 2 or 5 × 10ⁿ km (n may be below 0) whose lines
// lie at least `leastPixels` apart at `pixelsPerMetre`. Nothing when either
// is not a finite number above 0.
struct GridSpacing {
    double metres = 0;
    double pixels = 0;
    std::string text;  // "grid 5,000 km"
};
std::optional<GridSpacing> gridSpacing(double pixelsPerMetre, double leastPixels = 40);

// The multiples of `spacing` within [low, high], at most `most` of them
// (those nearest 0 first go when there are more): where the grid's lines
// run. Empty when the bounds or the spacing are not finite.
std::vector<double> gridLines(double low, double high, double spacing, std::size_t most = 400);

// What a tape end can snap to: a world point, and its simulated time when it
// is a point of the trail.
struct SnapTarget {
    Vec2 world;
    std::optional<double> time;
};

// The planet's centre, the craft, the apsides given, and every row of the trail.
std::vector<SnapTarget> snapTargets(Vec2 craft, const std::vector<Vec2>& apsides, const std::vector<DataRow>& trail);

// The target nearest `screen` (pixels) within `reachPixels` of it in `view`,
// or a free end at the world point under `screen`.
SnapTarget snapEnd(Vec2 screen, const std::vector<SnapTarget>& targets, const ViewTransform& view,
                   double reachPixels = 6);

// The tape between two ends: the distance in km to three significant figures,
// and between two points of the trail, the flight time along it.
struct TapeReading {
    double metres = 0;
    std::optional<double> flightSeconds;
    std::string text;  // "12,300 km, flight time 4,520 s"
};
TapeReading tapeReading(const SnapTarget& a, const SnapTarget& b);

// The pull of a body with gravity parameter `mu` (m³/s²) at `body` on the
// craft at `craft`, m/s²; none at the body's centre.
Vec2 pullOn(Vec2 craft, Vec2 body, double mu);

// An arrow's scale: how much one grid square stands for, a 1, 2 or 5 × 10ⁿ
// of the arrow's unit, so that an arrow of `magnitude` is about
// `viewPixels` / 5 long with grid squares of `gridPixels`. Nothing when any
// input is not a finite number above 0.
std::optional<double> arrowUnitPerSquare(double magnitude, double gridPixels, double viewPixels);
// Whether an arrow of `magnitude` at `perSquare` still reads well: between
// a twentieth and a half of the view; otherwise a new scale is chosen.
bool arrowScaleFits(double magnitude, double perSquare, double gridPixels, double viewPixels);
// "2.41 km/s", "500 m/s", "0.5 m/s²": a value of an arrow, or of its scale
// with one figure.
std::string speedText(double metresPerSecond, int digits = 3);
std::string accelerationText(double metresPerSecondSquared, int digits = 3);

}  // namespace korvel
