#pragma once
// The view the operator looks through, in screen pixels: the region the typed
// screen scale shows, fitted into the drawing whatever its size, with the
// operator's zoom and pan on top. No Qt: the drawing and the tests share it.

#include <string>
#include <vector>

#include "sim/vec2.h"

namespace korvel {

// A rectangle of the world, metres, y up.
struct WorldBox {
    Vec2 low;
    Vec2 high;
    bool contains(Vec2 p) const { return p.x >= low.x && p.x <= high.x && p.y >= low.y && p.y <= high.y; }
};

class ViewTransform {
public:
    // The operator's zoom stays within these times the typed scale.
    static constexpr double kLeastZoom = 1e-3;
    static constexpr double kMostZoom = 1e6;

    // The typed screen scale the view starts from: a new one resets the zoom
    // and the pan, the same one keeps them.
    void setScreenScale(double screenScale);
    // The drawing's size in pixels.
    void setSize(double width, double height);
    double width() const { return width_; }
    double height() const { return height_; }

    double zoom() const { return zoom_; }
    // The world point at the drawing's middle, m.
    Vec2 centre() const { return centre_; }
    // Whether the view is the typed one: no zoom and no pan.
    bool typed() const { return zoom_ == 1 && centre_.x == 0 && centre_.y == 0; }

    // Pixels per metre, always finite and above 0.
    double pixelsPerMetre() const;
    // Where a world point lands, pixels from the top left; only points within
    // the visible box (or near it) are sure to land on finite pixels.
    Vec2 toScreen(Vec2 world) const;
    Vec2 toWorld(Vec2 screen) const;
    // The world the drawing shows, grown by `marginPx` on every side.
    WorldBox visible(double marginPx = 0) const;

    // Zooms by `factor` about a point of the drawing: the world point under it
    // stays there. The zoom is kept within its limits.
    void zoomAbout(Vec2 screen, double factor);
    // Moves the picture with a drag of `delta` pixels.
    void panBy(Vec2 delta);
    // Puts a world point at the drawing's middle.
    void centreOn(Vec2 world);
    // The smallest zoom step at which `box` shows whole, with a margin.
    void fit(const WorldBox& box);
    // Back to the typed scale, centred on the planet.
    void reset();
    // A zoom (kept within its limits) and a centre, as a scenario keeps them;
    // a value that is not finite leaves its part as it was.
    void setZoomAndCentre(double zoom, Vec2 centre);

    bool operator==(const ViewTransform&) const = default;

private:
    double basePixelsPerMetre() const;
    double sign() const { return screenScale_ < 0 ? -1 : 1; }
    void setZoom(double zoom);

    double screenScale_ = 1;
    double width_ = 1;
    double height_ = 1;
    double zoom_ = 1;
    Vec2 centre_;
};

// Which of `points` (pixels) a line through them needs: the first, the last,
// and each one at least `spacing` pixels from the one kept before it.
std::vector<std::size_t> thinOnScreen(const std::vector<Vec2>& points, double spacing = 0.75);

// The part of the segment a–b inside `box`, or false when none is.
bool clipToBox(Vec2& a, Vec2& b, const WorldBox& box);

// A scale bar: a round length (1, 2 or 5 × 10ⁿ km) no longer than
// `mostPixels` at `pixelsPerMetre`, its length in pixels and its text
// ("2,000 km").
struct ScaleBar {
    double metres = 0;
    double pixels = 0;
    std::string text;
};
ScaleBar scaleBar(double pixelsPerMetre, double mostPixels);

}  // namespace korvel
