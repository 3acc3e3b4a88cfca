#include "app/view/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "sim/units.h"

namespace korvel {
namespace {

double distance(Vec2 a, Vec2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

ViewTransform startView(double scale = 3) {
    ViewTransform view;
    view.setScreenScale(scale);
    view.setSize(567, 500);
    return view;
}

TEST(ViewTransformTest, ZoomingKeepsThePointUnderThePointerWithinItsLimits) {
    for (const double scale : {3.0, -2.0, 1e-300, 1e300}) {
        ViewTransform view = startView(scale);
        const Vec2 pointer{400, 120};
        const Vec2 anchor = view.toWorld(pointer);
        for (int i = 0; i < 80; ++i) {
            view.zoomAbout(pointer, i < 40 ? 2.0 : 0.25);
            EXPECT_LT(distance(view.toScreen(anchor), pointer), 1) << scale << " zoom " << view.zoom();
            EXPECT_GE(view.zoom(), ViewTransform::kLeastZoom);
            EXPECT_LE(view.zoom(), ViewTransform::kMostZoom);
            // The corners of what shows map to finite pixels, whatever the scale.
            const WorldBox shown = view.visible(10);
            EXPECT_TRUE(std::isfinite(view.toScreen(shown.low).x) && std::isfinite(view.toScreen(shown.high).y));
        }
        EXPECT_EQ(view.zoom(), ViewTransform::kLeastZoom);
    }
}

TEST(ViewTransformTest, TheTypedScaleIsTheBaseAndTheZoomSitsOnTop) {
    ViewTransform view = startView();
    // The typed region fits inside the drawing, its height the limit here.
    EXPECT_NEAR(view.pixelsPerMetre() * 6 * kLengthUnit, 500, 1e-9);
    EXPECT_TRUE(view.typed());
    view.zoomAbout({10, 10}, 8);
    view.panBy({30, -5});
    // A resize and the same scale typed again keep the zoom; a larger window
    // shows the same region larger.
    view.setSize(1600, 1000);
    view.setScreenScale(3);
    EXPECT_EQ(view.zoom(), 8);
    EXPECT_NEAR(view.pixelsPerMetre() * 6 * kLengthUnit, 8000, 1e-6);
    view.setScreenScale(4);
    EXPECT_TRUE(view.typed());
    view.zoomAbout({10, 10}, 8);
    view.reset();
    EXPECT_TRUE(view.typed());
    EXPECT_EQ(view.toScreen({0, 0}).x, 800);
}

TEST(ViewTransformTest, FitShowsTheWholeBoxAndPanningFollowsTheDrag) {
    ViewTransform view = startView();
    const WorldBox orbit{{-4e7, -1e7}, {9e7, 2e7}};
    view.fit(orbit);
    for (const Vec2 corner : {orbit.low, orbit.high, Vec2{orbit.low.x, orbit.high.y}}) {
        const Vec2 at = view.toScreen(corner);
        EXPECT_TRUE(at.x >= 0 && at.x <= 567 && at.y >= 0 && at.y <= 500) << at.x << ", " << at.y;
    }
    const Vec2 grabbed = view.toWorld({100, 100});
    view.panBy({25, -40});
    EXPECT_LT(distance(view.toScreen(grabbed), {125, 60}), 1e-6);
}

TEST(ViewTransformTest, ThinningKeepsTheEndsAndDropsWhatIsTooClose) {
    std::vector<Vec2> points;
    for (int i = 0; i <= 1000; ++i) points.push_back({i * 0.1, 0});
    const auto kept = thinOnScreen(points);
    ASSERT_GE(kept.size(), 2u);
    EXPECT_EQ(kept.front(), 0u);
    EXPECT_EQ(kept.back(), 1000u);
    for (std::size_t i = 1; i + 1 < kept.size(); ++i)
        EXPECT_GE(distance(points[kept[i]], points[kept[i - 1]]), 0.75 - 1e-12);
    EXPECT_LE(kept.size(), 1000u * 0.1 / 0.75 + 2);
}

TEST(ViewTransformTest, ClippingAndTheScaleBar) {
    const WorldBox box{{0, 0}, {10, 10}};
    Vec2 a{-5, 5}, b{15, 5};
    ASSERT_TRUE(clipToBox(a, b, box));
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(b.x, 10);
    Vec2 c{-5, -5}, d{-1, 20};
    EXPECT_FALSE(clipToBox(c, d, box));
    Vec2 far{1e308, 0}, near{5, 5};
    EXPECT_TRUE(clipToBox(far, near, box) && std::isfinite(far.x));

    // The longest round length that fits: 1, 2 or 5 × 10ⁿ km.
    EXPECT_EQ(scaleBar(100.0 / 2.5e6, 100).text, "2,000 km");
    EXPECT_EQ(scaleBar(100.0 / 5.5e6, 100).text, "5,000 km");
    EXPECT_EQ(scaleBar(100.0 / 999.0, 100).text, "0.5 km");
    const ScaleBar bar = scaleBar(1e-9, 140);
    EXPECT_LE(bar.pixels, 140);
    EXPECT_GT(bar.pixels, 140 / 2.5);
}

}  // namespace
}  // namespace korvel
