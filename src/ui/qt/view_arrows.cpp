// The velocity and gravity arrows of the tools over Picture1: their scales,
// their shapes in widget pixels, and their drawing.

#include <QLabel>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "ui/qt/drawing_view.h"
#include "ui/qt/log_painter.h"
#include "ui/qt/picture_box.h"
#include "ui/qt/view_tools.h"

namespace korvel::qt {

namespace {

// The arrowhead's sides, pixels.
constexpr double kHeadPixels = 9;

}  // namespace

void ViewTools::updateArrowScales() {
    const ViewTransform& t = view_.transform();
    const auto grid = gridSpacing(t.pixelsPerMetre());
    const double viewPixels = std::min(t.width(), t.height());
    const auto choose = [&](std::optional<double>& perSquare, double magnitude) {
        if (!grid) {
            perSquare.reset();
            return;
        }
        if (!perSquare || !arrowScaleFits(magnitude, *perSquare, grid->pixels, viewPixels))
            perSquare = arrowUnitPerSquare(magnitude, grid->pixels, viewPixels);
    };
    if (!core_.settings()) return;
    const SimulationState& s = core_.state();
    if (velocity_) choose(speedPerSquare_, std::hypot(s.velX[kCraft], s.velY[kCraft]));
    double strongest = 0;
    for (const Vec2& pull : pulls()) strongest = std::max(strongest, std::hypot(pull.x, pull.y));
    if (gravity_) choose(pullPerSquare_, strongest);
}

std::vector<ViewTools::ArrowShape> ViewTools::arrowShapes() const {
    std::vector<ArrowShape> shapes;
    if (!core_.settings()) return shapes;
    const SimulationState& s = core_.state();
    if (velocity_ && speedPerSquare_) {
        const Vec2 v{s.velX[kCraft], s.velY[kCraft]};
        addArrow(shapes, craft(), v, *speedPerSquare_, QString::fromStdString(speedText(std::hypot(v.x, v.y))));
    }
    if (gravity_ && pullPerSquare_) {
        for (const Vec2& pull : pulls())
            addArrow(shapes, craft(), pull, *pullPerSquare_,
                     QString::fromStdString(accelerationText(std::hypot(pull.x, pull.y))));
    }
    return shapes;
}

void ViewTools::addArrow(std::vector<ArrowShape>& shapes, Vec2 from, Vec2 value, double perSquare,
                         const QString& text) const {
    const ViewTransform& t = view_.transform();
    const auto grid = gridSpacing(t.pixelsPerMetre());
    const double magnitude = std::hypot(value.x, value.y);
    if (!grid || !(magnitude > 0) || !std::isfinite(magnitude)) return;
    // In the world: squares × the grid's spacing, along the value.
    const double metres = magnitude / perSquare * grid->metres;
    const Vec2 tip{from.x + value.x / magnitude * metres, from.y + value.y / magnitude * metres};
    Vec2 a = from;
    Vec2 b = tip;
    if (!std::isfinite(tip.x) || !std::isfinite(tip.y) || !clipToBox(a, b, t.visible(kClipMarginPixels))) return;
    ArrowShape shape;
    shape.shaft = QLineF(toPoint(t.toScreen(a)), toPoint(t.toScreen(b)));
    shape.text = text;
    if (t.visible().contains(tip)) {
        // The head along the screen's direction of the arrow.
        const QLineF back(shape.shaft.p2(), shape.shaft.p1());
        if (back.length() > 0) {
            QLineF side = back;
            side.setLength(std::min(kHeadPixels, back.length()));
            for (const double turn : {25.0, -25.0}) {
                side.setAngle(back.angle() + turn);
                shape.head.push_back(side);
            }
        }
    }
    // The number at the tip, or where the arrow leaves the view; kept on the
    // drawing, in the labels' font on the screen and in a picture alike.
    const QRectF room(QPointF(0, 0), QSizeF(picture_.size()));
    const QFontMetricsF metrics(gridLabel_->font());
    QRectF label = metrics.boundingRect(text).translated(shape.shaft.p2() + QPointF(6, -6));
    label.moveLeft(std::clamp(label.left(), room.left(), std::max(room.left(), room.right() - label.width())));
    label.moveTop(std::clamp(label.top(), room.top(), std::max(room.top(), room.bottom() - label.height())));
    shape.label = label;
    shapes.push_back(shape);
}

QRectF ViewTools::area(const std::vector<ArrowShape>& shapes) {
    QRectF covered;
    for (const ArrowShape& shape : shapes) {
        covered |= QRectF(shape.shaft.p1(), shape.shaft.p2()).normalized();
        for (const QLineF& side : shape.head) covered |= QRectF(side.p1(), side.p2()).normalized();
        covered |= shape.label;
    }
    // The pen's width and its antialiasing beyond the lines.
    return covered.isNull() ? covered : covered.adjusted(-3, -3, 3, 3);
}

void ViewTools::paintArrows(QPainter& painter) const {
    painter.setPen(QPen(toQColor(profile_.scaleBar), 2));
    painter.setFont(gridLabel_->font());
    // As the last pace placed them: a repaint in between draws them where
    // they stand, so the next pace's repaint takes all of them away.
    for (const ArrowShape& shape : arrows_) {
        painter.drawLine(shape.shaft);
        for (const QLineF& side : shape.head) painter.drawLine(side);
        painter.drawText(shape.label, Qt::AlignLeft | Qt::AlignTop, shape.text);
    }
}

void ViewTools::arrowsMoved() {
    updateArrowScales();
    updateLabels();
    // Only where the arrows were and are now: a whole view repainted ten
    // times a second would cost a large window its tick rate.
    const QRectF before = area(arrows_);
    arrows_ = arrowShapes();
    picture_.repaintSoon(before | area(arrows_));
}

}  // namespace korvel::qt
