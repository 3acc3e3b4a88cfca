#include "ui/qt/energy_plot.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

#include "app/palette.h"
#include "app/view/plot_axis.h"
#include "sim/units.h"
#include "ui/qt/picture_box.h"

namespace korvel::qt {

namespace {

constexpr double kJoulesPerMegajoule = 1e6;
constexpr int kPad = 6;
constexpr int kSwatch = 16;

double minutes(const orbit::EnergySample& s) { return s.time / kSecondsPerMinute; }
double kinetic(const orbit::EnergySample& s) { return s.kinetic / kJoulesPerMegajoule; }
double potential(const orbit::EnergySample& s) { return s.potential / kJoulesPerMegajoule; }
double total(const orbit::EnergySample& s) { return s.total() / kJoulesPerMegajoule; }

struct Curve {
    double (*value)(const orbit::EnergySample&);
    orbit::EnergyRange orbit::EnergySpan::*range;  // J/kg
    Color Profile::*color;
    const char* name;
};

const Curve kCurves[] = {
    {kinetic, &orbit::EnergySpan::kinetic, &Profile::kinetic, "kinetic"},
    {potential, &orbit::EnergySpan::potential, &Profile::potential, "potential"},
    {total, &orbit::EnergySpan::total, &Profile::total, "total"},
};

bool finiteSample(const orbit::EnergySample& s) {
    return std::isfinite(minutes(s)) && std::isfinite(kinetic(s)) && std::isfinite(potential(s)) &&
           std::isfinite(total(s));
}

bool finiteSpan(const orbit::EnergySpan& s) {
    for (const Curve& c : kCurves) {
        const orbit::EnergyRange& r = s.*c.range;
        if (!std::isfinite(r.low / kJoulesPerMegajoule) || !std::isfinite(r.high / kJoulesPerMegajoule)) return false;
    }
    return finiteSample(s.first) && finiteSample(s.last);
}

}  // namespace

EnergyPlot::EnergyPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("energyPlot");
    setAccessibleName("energy graph");
    setAccessibleDescription(
        "Kinetic, potential and total energy per unit mass, in MJ/kg, against simulated time since "
        "the run started, in minutes. An impulse shows as a step.");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    repaintPace_.setSingleShot(true);
    repaintPace_.setInterval(kRepaintIntervalMs);
    connect(&repaintPace_, &QTimer::timeout, this, [this] {
        if (!repaintDue_) return;
        repaintDue_ = false;
        update();
        repaintPace_.start();
    });
}

QSize EnergyPlot::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QLatin1Char('0')) * 60, fm.height() * 14};
}

QSize EnergyPlot::minimumSizeHint() const {
    const QFontMetrics fm = fontMetrics();
    return {fm.horizontalAdvance(QLatin1Char('0')) * 40, fm.height() * 9};
}

void EnergyPlot::setProfile(const Profile& profile) {
    profile_ = profile;
    update();
}

void EnergyPlot::setSpans(const std::vector<orbit::EnergySpan>& spans) {
    // Paused, the same history comes again and again: nothing to repaint.
    if (spans == spans_) return;
    spans_ = spans;
    // The first change shows at once, later ones at the pace.
    if (repaintPace_.isActive()) {
        repaintDue_ = true;
        return;
    }
    update();
    repaintPace_.start();
}

QString EnergyPlot::axisLabel(const Axis& axis, double value) { return QString::fromStdString(axis.label(value)); }

EnergyPlot::Axes EnergyPlot::axes() const {
    // What the curves span, finite spans only.
    double tLow = std::numeric_limits<double>::infinity(), tHigh = -tLow;
    double eLow = tLow, eHigh = -tLow;
    Axes axes;
    for (const orbit::EnergySpan& s : spans_) {
        if (!finiteSpan(s)) continue;
        ++axes.drawable;
        tLow = std::min({tLow, minutes(s.first), minutes(s.last)});
        tHigh = std::max({tHigh, minutes(s.first), minutes(s.last)});
        for (const Curve& c : kCurves) {
            eLow = std::min(eLow, (s.*c.range).low / kJoulesPerMegajoule);
            eHigh = std::max(eHigh, (s.*c.range).high / kJoulesPerMegajoule);
        }
    }
    if (axes.drawable > 0) {
        axes.x = niceAxis(tLow, tHigh, 6);
        // Time ends where the run is now, not at the next round minute.
        if (tHigh > axes.x.low) axes.x.high = tHigh;
        axes.y = niceAxis(eLow, eHigh, 5);
    }
    return axes;
}

void EnergyPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(profile_.graphGround));
    const Axes axes = this->axes();
    paintTitleAndLegend(painter);
    const QRect area = plotArea(axes);
    if (area.width() < 8 || area.height() < 8) return;
    paintFrame(painter, area, axes);
    if (!axes.valid()) {
        painter.setPen(toQColor(profile_.graphNote));
        painter.drawText(area, Qt::AlignCenter, axes.drawable > 0 ? "values out of range" : "no data yet");
        return;
    }
    paintCurves(painter, area, axes);
}

// Title and legend above the plot, never over the curves.
void EnergyPlot::paintTitleAndLegend(QPainter& painter) const {
    const QFontMetrics fm = fontMetrics();
    const int lineHeight = fm.height();
    const QColor text = toQColor(profile_.graphText);
    painter.setPen(text);
    painter.drawText(QRect(kPad, 0, width() / 2, lineHeight + kPad), Qt::AlignLeft | Qt::AlignVCenter,
                     "energy per unit mass (MJ/kg)");
    painter.setRenderHint(QPainter::Antialiasing);
    int legendX = width() - kPad;
    for (auto it = std::rbegin(kCurves); it != std::rend(kCurves); ++it) {
        const QString name = QString::fromLatin1(it->name);
        legendX -= fm.horizontalAdvance(name);
        const QRect textRect(legendX, 0, fm.horizontalAdvance(name), lineHeight + kPad);
        painter.setPen(text);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
        legendX -= kSwatch + 4;
        painter.setPen(QPen(toQColor(profile_.*it->color), 3, Qt::SolidLine, Qt::FlatCap));
        const double y = textRect.center().y() + 0.5;
        painter.drawLine(QPointF(legendX, y), QPointF(legendX + kSwatch, y));
        legendX -= 3 * kPad;
    }
}

// The plot area, with room for the tick labels and the time axis title.
QRect EnergyPlot::plotArea(const Axes& axes) const {
    const QFontMetrics fm = fontMetrics();
    const int lineHeight = fm.height();
    int labelWidth = yLabelWidth(axes);
    const int lastXLabel =
        axes.valid() ? fm.horizontalAdvance(axisLabel(axes.x, axes.x.tick(axes.x.tickCount() - 1))) : 0;
    return QRect(QPoint(kPad + labelWidth + 4, lineHeight + 2 * kPad),
                 QPoint(width() - kPad - std::max(kPad, lastXLabel / 2) - 1, height() - 2 * lineHeight - kPad - 1));
}

int EnergyPlot::yLabelWidth(const Axes& axes) const {
    const QFontMetrics fm = fontMetrics();
    int width = fm.horizontalAdvance("-0.0");
    for (int i = 0; i < axes.y.tickCount(); ++i)
        width = std::max(width, fm.horizontalAdvance(axisLabel(axes.y, axes.y.tick(i))));
    return width;
}

// The face, the grid with its ticks and labels, the frame and the time
// axis's title.
void EnergyPlot::paintFrame(QPainter& painter, const QRect& area, const Axes& axes) const {
    const QFontMetrics fm = fontMetrics();
    const int lineHeight = fm.height();
    const QColor text = toQColor(profile_.graphText);
    // Dotted, so that lines that read against the ground stay behind the curves.
    const QPen grid(toQColor(profile_.graphGrid), 1, Qt::DotLine);
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (axes.valid()) {
        const int labelWidth = yLabelWidth(axes);
        for (int i = 0; i < axes.y.tickCount(); ++i) {
            const int y = static_cast<int>(std::lround(mapY(area, axes, axes.y.tick(i))));
            painter.setPen(grid);
            painter.drawLine(area.left(), y, area.right(), y);
            painter.setPen(text);
            painter.drawLine(area.left() - 3, y, area.left(), y);
            painter.drawText(QRect(kPad, y - lineHeight / 2, labelWidth, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                             axisLabel(axes.y, axes.y.tick(i)));
        }
        for (int i = 0; i < axes.x.tickCount(); ++i) {
            const int x = static_cast<int>(std::lround(mapX(area, axes, axes.x.tick(i))));
            painter.setPen(grid);
            painter.drawLine(x, area.top(), x, area.bottom());
            painter.setPen(text);
            painter.drawLine(x, area.bottom(), x, area.bottom() + 3);
            const QString label = axisLabel(axes.x, axes.x.tick(i));
            const int w = fm.horizontalAdvance(label);
            painter.drawText(QRect(x - w / 2 - 1, area.bottom() + 4, w + 2, lineHeight), Qt::AlignCenter, label);
        }
    }
    painter.setPen(text);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.drawText(QRect(area.left(), area.bottom() + 4 + lineHeight, area.width(), lineHeight), Qt::AlignCenter,
                     "simulated time since the run started (min)");
}

double EnergyPlot::mapX(const QRect& area, const Axes& axes, double minutes) {
    return area.left() + (minutes - axes.x.low) / (axes.x.high - axes.x.low) * area.width();
}

double EnergyPlot::mapY(const QRect& area, const Axes& axes, double megajoules) {
    return area.bottom() - (megajoules - axes.y.low) / (axes.y.high - axes.y.low) * area.height();
}

// The spans are taken a pixel column at a time, so that the cost stays
// bounded by the width however many there are. Each column is joined to the
// one before by a smooth line; where what its spans cover spreads over more
// than a pixel (a step, or revolutions too close together to tell apart),
// that spread is filled as a bar: wide smooth lines that overlap cost far
// more. A span keeps every curve's lowest and highest, so no swing between
// its samples is lost.
void EnergyPlot::paintCurves(QPainter& painter, const QRect& area, const Axes& axes) const {
    painter.setClipRect(area);
    std::vector<QLineF> lines;
    std::vector<QRectF> spans;
    for (const Curve& c : kCurves) {
        lines.clear();
        spans.clear();
        bool open = false;    // a column is being gathered
        bool joined = false;  // a column before it to join
        double columnX = 0, first = 0, lowest = 0, highest = 0, last = 0;
        QPointF previous;
        const auto closeColumn = [&] {
            if (!open) return;
            open = false;
            // A lone column still shows as a dot.
            lines.push_back(joined ? QLineF(previous, QPointF(columnX, first))
                                   : QLineF(columnX - 0.5, first, columnX + 0.5, first));
            if (highest - lowest >= 1) spans.emplace_back(columnX - 1, lowest - 1, 2, highest - lowest + 2);
            previous = QPointF(columnX, last);
            joined = true;
        };
        for (const orbit::EnergySpan& s : spans_) {
            if (!finiteSpan(s)) {
                closeColumn();
                joined = false;
                continue;
            }
            const double x = mapX(area, axes, minutes(s.first));
            // Higher values lie higher up: the range's high maps to the lower y.
            const double top = mapY(area, axes, (s.*c.range).high / kJoulesPerMegajoule);
            const double bottom = mapY(area, axes, (s.*c.range).low / kJoulesPerMegajoule);
            if (!(open && std::floor(x) == std::floor(columnX))) {
                closeColumn();
                open = true;
                columnX = x;
                first = mapY(area, axes, c.value(s.first));
                lowest = top;
                highest = bottom;
            }
            lowest = std::min(lowest, top);
            highest = std::max(highest, bottom);
            last = mapY(area, axes, c.value(s.last));
        }
        closeColumn();
        painter.setRenderHint(QPainter::Antialiasing);
        const QColor colour = toQColor(profile_.*c.color);
        painter.setPen(QPen(colour, 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRects(spans.data(), static_cast<int>(spans.size()));
    }
}

}  // namespace korvel::qt
