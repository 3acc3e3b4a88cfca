#include "ui/qt/orbit_overlay.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

#include "app/palette.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

// Markers stay within 7 px across, pen included.
constexpr qreal kMarkerHalf = 2.5;
// Beyond this many pixels off the surface nothing is visible; the raster
// engine is spared coordinates it would only clip.
constexpr qreal kFarPixels = 1e5;

std::optional<QPointF> place(const PictureBox& surface, const ViewGeometry& m, Vec2 p) {
    const Vec2 user = m.toPicture(p);
    const auto at = surface.toWidget(user.x, user.y);
    if (!at || !std::isfinite(at->x()) || !std::isfinite(at->y())) return std::nullopt;
    return QPointF(std::clamp(at->x(), -kFarPixels, kFarPixels), std::clamp(at->y(), -kFarPixels, kFarPixels));
}

void drawPath(QPainter& painter, const PictureBox& surface, const ViewGeometry& m, const orbit::PredictedPath& path,
              const QColor& colour, double width) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(path.points.size()));
    for (const Vec2& p : path.points)
        if (const auto at = place(surface, m, p)) line << *at;
    if (line.size() >= 2) {
        // One device pixel wide: the raster engine's fast path for dashes. A
        // wider dashed line took about 0.5 ms per drawing, which the tick rate felt.
        QPen dashed(colour, width, Qt::CustomDashLine, Qt::FlatCap, Qt::RoundJoin);
        dashed.setCosmetic(width == 1);
        dashed.setDashPattern({4, 3});
        painter.setPen(dashed);
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
    }
    // The markers grow with the line.
    const qreal half = kMarkerHalf * width;
    painter.setPen(QPen(colour, 1.5 * width));
    if (path.periapsis)
        if (const auto at = place(surface, m, *path.periapsis)) {
            painter.setBrush(colour);
            painter.drawEllipse(*at, half, half);
        }
    painter.setBrush(Qt::NoBrush);
    if (path.apoapsis)
        if (const auto at = place(surface, m, *path.apoapsis))
            painter.drawRect(QRectF(*at - QPointF(half, half), QSizeF(2 * half, 2 * half)));
    if (path.impact)
        if (const auto at = place(surface, m, *path.impact)) {
            const qreal d = half + 0.5 * width;
            painter.drawLine(*at + QPointF(-d, -d), *at + QPointF(d, d));
            painter.drawLine(*at + QPointF(-d, d), *at + QPointF(d, -d));
        }
}

}  // namespace

QImage drawOrbitOverlay(PictureBox& surface, const ViewGeometry& mapping, const orbit::PredictedPath* path,
                        const orbit::PredictedPath* preview, const Profile& colours, double lineWidth) {
    if (!std::isfinite(mapping.screenScale())) return QImage();
    QImage overlay = surface.blankOverlay();
    QPainter painter(&overlay);
    painter.setRenderHint(QPainter::Antialiasing);
    if (path) drawPath(painter, surface, mapping, *path, toQColor(colours.path), lineWidth);
    if (preview) drawPath(painter, surface, mapping, *preview, toQColor(colours.preview), lineWidth);
    return overlay;
}

OverlayLook overlayLook(const PictureBox& surface, const ViewGeometry& mapping, const orbit::PredictedPath* path,
                        const orbit::PredictedPath* preview) {
    OverlayLook look;
    const auto add = [&](std::optional<Vec2> point) {
        const auto at = point ? place(surface, mapping, *point) : std::nullopt;
        look.pixels.push_back(at ? std::lround(at->x()) : -1);
        look.pixels.push_back(at ? std::lround(at->y()) : -1);
    };
    for (const orbit::PredictedPath* p : {path, preview}) {
        if (!p) {
            look.pixels.push_back(-2);
            continue;
        }
        look.closed = look.closed && p->end == orbit::PredictedPath::End::Revolution;
        look.pixels.push_back(static_cast<long>(p->end));
        qreal left = kFarPixels, top = kFarPixels, right = -kFarPixels, bottom = -kFarPixels;
        for (const Vec2& point : p->points)
            if (const auto at = place(surface, mapping, point)) {
                left = std::min(left, at->x());
                right = std::max(right, at->x());
                top = std::min(top, at->y());
                bottom = std::max(bottom, at->y());
            }
        for (const qreal edge : {left, top, right, bottom}) look.pixels.push_back(std::lround(edge));
        add(p->periapsis);
        add(p->apoapsis);
        add(p->impact);
    }
    return look;
}

}  // namespace korvel::qt
