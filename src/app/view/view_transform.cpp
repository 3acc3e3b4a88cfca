#include "app/view/view_transform.h"

#include <algorithm>
#include <cmath>

#include "app/view/view_geometry.h"
#include "app/view/view_tools.h"
#include "sim/units.h"

namespace korvel {
namespace {

// Pixels per metre stay within these, whatever the scale typed: every point
// of the visible world, and its width, then map to finite pixels.
constexpr double kLeastPixelsPerMetre = 1e-250;
constexpr double kMostPixelsPerMetre = 1e250;

// The share of the drawing a fitted box takes, so that it does not touch the edges.
constexpr double kFitShare = 0.9;

}  // namespace

void ViewTransform::setScreenScale(double screenScale) {
    const double usable = std::isfinite(screenScale) && screenScale != 0 ? screenScale : 1;
    if (usable == screenScale_) return;
    screenScale_ = usable;
    reset();
}

void ViewTransform::setSize(double width, double height) {
    width_ = std::isfinite(width) && width >= 1 ? width : 1;
    height_ = std::isfinite(height) && height >= 1 ? height : 1;
}

double ViewTransform::basePixelsPerMetre() const {
    // The typed region (2 × scale high, 85/75 of that wide) fits inside the
    // drawing, centred: the longer side shows more of the world.
    const double scale = std::abs(screenScale_);
    const double regionWidth = 2 * scale * kViewAspectWidth / kViewAspectHeight;
    return std::min(width_ / regionWidth, height_ / (2 * scale)) / kLengthUnit;
}

double ViewTransform::pixelsPerMetre() const {
    const double k = basePixelsPerMetre() * zoom_;
    if (!(k >= kLeastPixelsPerMetre)) return kLeastPixelsPerMetre;
    return std::min(k, kMostPixelsPerMetre);
}

Vec2 ViewTransform::toScreen(Vec2 world) const {
    const double k = pixelsPerMetre() * sign();
    return {width_ / 2 + (world.x - centre_.x) * k, height_ / 2 - (world.y - centre_.y) * k};
}

Vec2 ViewTransform::toWorld(Vec2 screen) const {
    const double k = pixelsPerMetre() * sign();
    return {centre_.x + (screen.x - width_ / 2) / k, centre_.y - (screen.y - height_ / 2) / k};
}

WorldBox ViewTransform::visible(double marginPx) const {
    const Vec2 a = toWorld({-marginPx, -marginPx});
    const Vec2 b = toWorld({width_ + marginPx, height_ + marginPx});
    return {{std::min(a.x, b.x), std::min(a.y, b.y)}, {std::max(a.x, b.x), std::max(a.y, b.y)}};
}

void ViewTransform::setZoom(double zoom) {
    if (!std::isfinite(zoom)) return;
    zoom_ = std::clamp(zoom, kLeastZoom, kMostZoom);
}

void ViewTransform::zoomAbout(Vec2 screen, double factor) {
    if (!std::isfinite(screen.x) || !std::isfinite(screen.y) || !(factor > 0)) return;
    const Vec2 anchor = toWorld(screen);
    setZoom(zoom_ * factor);
    // The anchor back under the point: centre = anchor − offset / k.
    const double k = pixelsPerMetre() * sign();
    const Vec2 centre{anchor.x - (screen.x - width_ / 2) / k, anchor.y + (screen.y - height_ / 2) / k};
    if (std::isfinite(centre.x) && std::isfinite(centre.y)) centre_ = centre;
}

void ViewTransform::panBy(Vec2 delta) {
    const double k = pixelsPerMetre() * sign();
    centreOn({centre_.x - delta.x / k, centre_.y + delta.y / k});
}

void ViewTransform::centreOn(Vec2 world) {
    if (std::isfinite(world.x) && std::isfinite(world.y)) centre_ = world;
}

void ViewTransform::fit(const WorldBox& box) {
    const double w = box.high.x - box.low.x;
    const double h = box.high.y - box.low.y;
    if (!std::isfinite(w) || !std::isfinite(h) || w < 0 || h < 0) return;
    const double needed =
        std::min(w > 0 ? kFitShare * width_ / w : HUGE_VAL, h > 0 ? kFitShare * height_ / h : HUGE_VAL);
    if (std::isfinite(needed)) setZoom(needed / basePixelsPerMetre());
    centreOn({box.low.x / 2 + box.high.x / 2, box.low.y / 2 + box.high.y / 2});
}

void ViewTransform::reset() {
    zoom_ = 1;
    centre_ = {};
}

void ViewTransform::setZoomAndCentre(double zoom, Vec2 centre) {
    setZoom(zoom);
    centreOn(centre);
}

std::vector<std::size_t> thinOnScreen(const std::vector<Vec2>& points, double spacing) {
    std::vector<std::size_t> kept;
    if (points.empty()) return kept;
    kept.push_back(0);
    const double least = spacing * spacing;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        const Vec2 last = points[kept.back()];
        const double dx = points[i].x - last.x;
        const double dy = points[i].y - last.y;
        if (dx * dx + dy * dy >= least) kept.push_back(i);
    }
    if (points.size() > 1) kept.push_back(points.size() - 1);
    return kept;
}

bool clipToBox(Vec2& a, Vec2& b, const WorldBox& box) {
    // Liang–Barsky: the segment as a + t (b − a), t in [0, 1], cut by each edge.
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const auto cut = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!(cut(-dx, a.x - box.low.x) && cut(dx, box.high.x - a.x) && cut(-dy, a.y - box.low.y) &&
          cut(dy, box.high.y - a.y)))
        return false;
    if (!std::isfinite(t0) || !std::isfinite(t1)) return false;
    const Vec2 start{a.x + t0 * dx, a.y + t0 * dy};
    b = {a.x + t1 * dx, a.y + t1 * dy};
    a = start;
    return std::isfinite(a.x) && std::isfinite(a.y) && std::isfinite(b.x) && std::isfinite(b.y);
}

ScaleBar scaleBar(double pixelsPerMetre, double mostPixels) {
    ScaleBar bar;
    const double most = mostPixels / pixelsPerMetre;
    if (!std::isfinite(most) || !(most > 0)) return bar;
    // The largest 1, 2 or 5 × 10ⁿ at or below the longest bar.
    const double decade = std::pow(10.0, std::floor(std::log10(most)));
    for (const double step : {5.0, 2.0, 1.0}) {
        if (step * decade <= most * (1 + 1e-12)) {
            bar.metres = step * decade;
            break;
        }
    }
    if (bar.metres == 0) bar.metres = decade;
    bar.pixels = bar.metres * pixelsPerMetre;
    // One significant figure, as a 1, 2 or 5 × 10ⁿ length has.
    bar.text = kmText(bar.metres, 1);
    return bar;
}

}  // namespace korvel
