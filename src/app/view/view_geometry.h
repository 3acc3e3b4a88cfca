#pragma once
// The drawing's view of the world, owned in one place: the picture is
// 2 × screen scale user units high and 85/75 times as wide, one user unit per
// length unit, y down, with the planet's centre in the middle.

#include <cmath>

#include "sim/units.h"
#include "sim/vec2.h"

namespace korvel {

// The picture's width to its height, as whole numbers: its twips are these
// times 100.
constexpr int kViewAspectWidth = 85;
constexpr int kViewAspectHeight = 75;

class ViewGeometry {
public:
    ViewGeometry() = default;
    explicit ViewGeometry(double screenScale) : scale_(screenScale) {}

    // Half the view's height, in length units; negative flips both axes.
    double screenScale() const { return scale_; }
    // The user scale of the picture.
    double width() const { return 2 * scale_ * kViewAspectWidth / kViewAspectHeight; }
    double height() const { return 2 * scale_; }
    // Whether every figure of the view is a finite number.
    bool finite() const { return std::isfinite(width()); }

    // Where the planet's centre is drawn, in user units.
    Vec2 centre() const { return {scale_ * kViewAspectWidth / kViewAspectHeight, scale_}; }
    // Where a world point (metres from the planet's centre, y up) is drawn.
    Vec2 toPicture(Vec2 world) const {
        return {scale_ * kViewAspectWidth / kViewAspectHeight + world.x / kLengthUnit, scale_ - world.y / kLengthUnit};
    }
    // How far from the planet's centre the view reaches: its half-diagonal, m.
    double reach() const {
        return std::abs(scale_) * std::hypot(static_cast<double>(kViewAspectWidth) / kViewAspectHeight, 1.0) *
               kLengthUnit;
    }

private:
    double scale_ = 0;
};

}  // namespace korvel
