#include "ui/qt/log_painter.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

#include "app/palette.h"
#include "sim/units.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

// Beyond this a circle's rim is drawn no more: the view is then a tiny part
// of it, and the raster engine would work for nothing.
constexpr double kLargestCirclePixels = 1e6;
// Points a stroke takes before the next colour of the trail.
constexpr int kStrokePoints = 256;
// A point closer than this to the last one kept adds nothing a line shows.
constexpr double kThinPixels = 0.75;
// A step shorter than this between pixels already drawn adds nothing either.
constexpr double kCoveredStepPixels = 2;

// A circle about the planet's centre, when any of its rim can show.
void drawCircle(QPainter& painter, const ViewTransform& view, double radiusMetres, const QPen& pen,
                const QBrush& brush) {
    const double r = radiusMetres * view.pixelsPerMetre();
    if (!(r > 0) || !std::isfinite(r)) return;
    const Vec2 centre = view.toScreen({0, 0});
    // The drawing inside the circle whole: only a filled disc shows.
    const double farCorner = std::hypot(std::max(std::abs(centre.x), std::abs(view.width() - centre.x)),
                                        std::max(std::abs(centre.y), std::abs(view.height() - centre.y)));
    if (r > farCorner) {
        if (brush.style() != Qt::NoBrush) painter.fillRect(QRectF(0, 0, view.width(), view.height()), brush);
        return;
    }
    if (r > kLargestCirclePixels) return;
    painter.setPen(pen);
    painter.setBrush(brush);
    painter.drawEllipse(toPoint(centre), r, r);
}

// The trail's strokes as they are built: each point kept, and the pixels a
// stroke already passed through, so that a revolution over the one before
// is not stroked again.
class TrailStrokes {
public:
    TrailStrokes(QPainter& painter, const ViewTransform& view, double lineWidth, const std::array<Color, 3>& colours)
        : painter_(painter),
          lineWidth_(lineWidth),
          colours_(colours),
          columns_(static_cast<int>(view.width()) + 1),
          lines_(static_cast<int>(view.height()) + 1),
          covered_(static_cast<std::size_t>(columns_) * lines_) {}

    // The segment from `from` to `to`, pixels; `last` keeps `to` however close.
    void add(QPointF from, QPointF to, bool last) {
        // A segment that starts where the last one did not end was cut by
        // the view's edge: a new stroke. (Not where the stroke ends: thinning
        // leaves that up to a pixel behind, and rows closer than that would
        // then never be stroked at all.)
        if (!stroke_.isEmpty() && (end_ - from).manhattanLength() > 0.5) flush();
        if (stroke_.isEmpty()) stroke_ << from;
        end_ = to;
        const QPointF step = to - stroke_.back();
        const double squared = QPointF::dotProduct(step, step);
        if (squared < kThinPixels * kThinPixels && !last) return;
        if (squared < kCoveredStepPixels * kCoveredStepPixels && cell(stroke_.back()) && cell(to)) {
            flush();
            stroke_ << to;
            return;
        }
        cell(to) = true;
        cell(stroke_.back()) = true;
        stroke_ << to;
        if (stroke_.size() >= kStrokePoints) {
            flush();
            stroke_ << to;
        }
    }

    void flush() {
        if (stroke_.size() >= 2) {
            painter_.setPen(QPen(toQColor(colours_[colour_]), lineWidth_, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
            painter_.drawPolyline(stroke_);
            colour_ = (colour_ + 1) % 3;
        }
        stroke_.clear();
    }

private:
    std::vector<bool>::reference cell(QPointF p) {
        const int x = std::clamp(static_cast<int>(p.x()), 0, columns_ - 1);
        const int y = std::clamp(static_cast<int>(p.y()), 0, lines_ - 1);
        return covered_[static_cast<std::size_t>(y) * columns_ + x];
    }

    QPainter& painter_;
    const double lineWidth_;
    const std::array<Color, 3> colours_;
    const int columns_;
    const int lines_;
    std::vector<bool> covered_;
    QPolygonF stroke_;
    // Where the last segment ended, kept or not.
    QPointF end_;
    int colour_ = 0;
};

}  // namespace

void paintBackground(QPainter& painter, const Korvel& core, const ViewTransform& view, const Profile& colours) {
    const auto& settings = core.settings();
    if (!settings) return;
    const SimulationState& s = core.state();
    const QPen ring(toQColor(colours.rings), 1);
    for (int n = kMaxRings; n >= 1; --n)
        if (s.ringRadius[n] > 0) drawCircle(painter, view, s.ringRadius[n] * kLengthUnit, ring, Qt::NoBrush);
    drawCircle(painter, view, discRadius(settings->planetMass) * kLengthUnit, QPen(toQColor(colours.planet), 1),
               toQColor(colours.planet));
    QPen dotted(toQColor(colours.circle), 1, Qt::DotLine);
    drawCircle(painter, view, settings->circleRadius * kLengthUnit, dotted, Qt::NoBrush);
}

void paintSecondPlanetPath(QPainter& painter, const std::vector<Vec2>& path, const ViewTransform& view,
                           const Profile& colours) {
    const WorldBox box = view.visible(4);
    QColor faint = toQColor(colours.secondPlanetPath);
    faint.setAlpha(colours.secondPlanetPathAlpha);
    painter.setPen(QPen(faint, 1));
    QPolygonF line;
    const auto flush = [&] {
        if (line.size() >= 2) painter.drawPolyline(line);
        line.clear();
    };
    for (std::size_t i = 1; i < path.size(); ++i) {
        Vec2 a = path[i - 1];
        Vec2 b = path[i];
        // A point that is not finite marks a break: placed anew.
        if (!std::isfinite(a.x) || !std::isfinite(b.x) || !clipToBox(a, b, box)) {
            flush();
            continue;
        }
        const QPointF from = toPoint(view.toScreen(a));
        if (!line.isEmpty() && (line.back() - from).manhattanLength() > 0.5) flush();
        if (line.isEmpty()) line << from;
        line << toPoint(view.toScreen(b));
    }
    flush();
}

void paintTrail(QPainter& painter, const std::vector<DataRow>& rows, const ViewTransform& view, double lineWidth,
                const std::array<Color, 3>& colours) {
    const WorldBox box = view.visible(2 * lineWidth + 2);
    // Crisp, as the drawing's own points are; and far cheaper to stroke.
    painter.setRenderHint(QPainter::Antialiasing, false);
    TrailStrokes strokes(painter, view, lineWidth, colours);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        Vec2 a = rows[i - 1].position;
        Vec2 b = rows[i].position;
        if (rows[i].event.kind == EventKind::RunStarted || !clipToBox(a, b, box)) {
            strokes.flush();
            continue;
        }
        strokes.add(toPoint(view.toScreen(a)), toPoint(view.toScreen(b)), i + 1 == rows.size());
    }
    strokes.flush();
}

}  // namespace korvel::qt
