#include "ui/qt/energy_plot.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvel::qt {

namespace {

constexpr double kSecondsPerMinute = 60;
constexpr double kJoulesPerMegajoule = 1e6;
constexpr int kPad = 6;
constexpr int kSwatch = 16;

double minutes(const orbit::EnergySample& s) { return s.time / kSecondsPerMinute; }
double kinetic(const orbit::EnergySample& s) { return s.kinetic / kJoulesPerMegajoule; }
double potential(const orbit::EnergySample& s) { return s.potential / kJoulesPerMegajoule; }
double total(const orbit::EnergySample& s) { return s.total() / kJoulesPerMegajoule; }

struct Curve {
    double (*value)(const orbit::EnergySample&);
    QColor color;
    const char* name;
};

const Curve kCurves[] = {
    {kinetic, EnergyPlot::kKineticColor, "kinetic"},
    {potential, EnergyPlot::kPotentialColor, "potential"},
    {total, EnergyPlot::kTotalColor, "total"},
};

// A span of values and the round step its ticks fall on.
struct Axis {
    double low = 0;
    double high = 0;
    double step = 0;
    int decimals = 0;

    bool valid() const {
        return std::isfinite(low) && std::isfinite(high) && std::isfinite(step) && step > 0 && high > low;
    }
    int tickCount() const {
        return valid() ? static_cast<int>(std::floor((high - low) / step + 1e-6)) + 1 : 0;
    }
    double tick(int i) const { return low + i * step; }
    QString label(double v) const {
        // A tick at zero reads "0", never "-0" from rounding.
        if (std::fabs(v) < step * 1e-6) v = 0;
        return QString::number(v, 'f', decimals);
    }
};

// Round bounds around [low, high] on a 1-2-5 step, about `wanted` ticks apart.
Axis niceAxis(double low, double high, int wanted) {
    if (!(high > low)) {
        // One value: a band around it, so that it draws in the middle.
        const double pad = low != 0 ? std::fabs(low) * 0.05 : 1;
        low -= pad;
        high += pad;
    }
    Axis axis;
    const double raw = (high - low) / std::max(wanted, 1);
    if (!std::isfinite(raw) || raw <= 0) return axis;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude * 10;
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * magnitude) {
            step = m * magnitude;
            break;
        }
    axis.step = step;
    axis.low = std::floor(low / step) * step;
    axis.high = std::ceil(high / step) * step;
    axis.decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 9);
    return axis;
}

bool finiteSample(const orbit::EnergySample& s) {
    return std::isfinite(minutes(s)) && std::isfinite(kinetic(s)) && std::isfinite(potential(s)) &&
           std::isfinite(total(s));
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

void EnergyPlot::setSamples(const std::vector<orbit::EnergySample>& samples) {
    const auto same = [](const orbit::EnergySample& a, const orbit::EnergySample& b) {
        return a.time == b.time && a.kinetic == b.kinetic && a.potential == b.potential;
    };
    // Paused, the same history comes again and again: nothing to repaint.
    if (samples.size() == samples_.size() && std::equal(samples.begin(), samples.end(), samples_.begin(), same))
        return;
    samples_ = samples;
    // The first change shows at once, later ones at the pace.
    if (repaintPace_.isActive()) {
        repaintDue_ = true;
        return;
    }
    update();
    repaintPace_.start();
}

void EnergyPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics fm = fontMetrics();
    const QPalette& pal = palette();
    const int lineHeight = fm.height();

    // What the curves span, finite samples only.
    double tLow = std::numeric_limits<double>::infinity(), tHigh = -tLow;
    double eLow = tLow, eHigh = -tLow;
    int drawable = 0;
    for (const orbit::EnergySample& s : samples_) {
        if (!finiteSample(s)) continue;
        ++drawable;
        tLow = std::min(tLow, minutes(s));
        tHigh = std::max(tHigh, minutes(s));
        for (const Curve& c : kCurves) {
            eLow = std::min(eLow, c.value(s));
            eHigh = std::max(eHigh, c.value(s));
        }
    }
    Axis xAxis, yAxis;
    if (drawable > 0) {
        xAxis = niceAxis(tLow, tHigh, 6);
        // Time ends where the run is now, not at the next round minute.
        if (tHigh > xAxis.low) xAxis.high = tHigh;
        yAxis = niceAxis(eLow, eHigh, 5);
    }
    const bool hasData = xAxis.valid() && yAxis.valid();

    // Title and legend above the plot, never over the curves.
    painter.setPen(pal.color(QPalette::WindowText));
    painter.drawText(QRect(kPad, 0, width() / 2, lineHeight + kPad), Qt::AlignLeft | Qt::AlignVCenter,
                     "energy per unit mass (MJ/kg)");
    painter.setRenderHint(QPainter::Antialiasing);
    int legendX = width() - kPad;
    for (auto it = std::rbegin(kCurves); it != std::rend(kCurves); ++it) {
        const QString name = QString::fromLatin1(it->name);
        legendX -= fm.horizontalAdvance(name);
        const QRect textRect(legendX, 0, fm.horizontalAdvance(name), lineHeight + kPad);
        painter.setPen(pal.color(QPalette::WindowText));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, name);
        legendX -= kSwatch + 4;
        painter.setPen(QPen(it->color, 3, Qt::SolidLine, Qt::FlatCap));
        const double y = textRect.center().y() + 0.5;
        painter.drawLine(QPointF(legendX, y), QPointF(legendX + kSwatch, y));
        legendX -= 3 * kPad;
    }

    // The plot area, with room for the tick labels and the time axis title.
    int labelWidth = fm.horizontalAdvance("-0.0");
    for (int i = 0; i < yAxis.tickCount(); ++i)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(yAxis.label(yAxis.tick(i))));
    const int lastXLabel = hasData ? fm.horizontalAdvance(xAxis.label(xAxis.tick(xAxis.tickCount() - 1))) : 0;
    const QRect area(QPoint(kPad + labelWidth + 4, lineHeight + 2 * kPad),
                     QPoint(width() - kPad - std::max(kPad, lastXLabel / 2) - 1,
                            height() - 2 * lineHeight - kPad - 1));
    if (area.width() < 8 || area.height() < 8) return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(area, pal.color(QPalette::Base));

    const QColor text = pal.color(QPalette::WindowText);
    QColor grid = pal.color(QPalette::Mid);
    grid.setAlpha(90);
    const auto mapX = [&](double t) { return area.left() + (t - xAxis.low) / (xAxis.high - xAxis.low) * area.width(); };
    const auto mapY = [&](double e) { return area.bottom() - (e - yAxis.low) / (yAxis.high - yAxis.low) * area.height(); };

    if (hasData) {
        for (int i = 0; i < yAxis.tickCount(); ++i) {
            const int y = static_cast<int>(std::lround(mapY(yAxis.tick(i))));
            painter.setPen(grid);
            painter.drawLine(area.left(), y, area.right(), y);
            painter.setPen(text);
            painter.drawLine(area.left() - 3, y, area.left(), y);
            painter.drawText(QRect(kPad, y - lineHeight / 2, labelWidth, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
                             yAxis.label(yAxis.tick(i)));
        }
        for (int i = 0; i < xAxis.tickCount(); ++i) {
            const int x = static_cast<int>(std::lround(mapX(xAxis.tick(i))));
            painter.setPen(grid);
            painter.drawLine(x, area.top(), x, area.bottom());
            painter.setPen(text);
            painter.drawLine(x, area.bottom(), x, area.bottom() + 3);
            const QString label = xAxis.label(xAxis.tick(i));
            const int w = fm.horizontalAdvance(label);
            painter.drawText(QRect(x - w / 2 - 1, area.bottom() + 4, w + 2, lineHeight), Qt::AlignCenter, label);
        }
    }
    painter.setPen(text);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.drawText(QRect(area.left(), area.bottom() + 4 + lineHeight, area.width(), lineHeight), Qt::AlignCenter,
                     "simulated time since the run started (min)");
    if (!hasData) {
        painter.setPen(pal.color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter, drawable > 0 ? "values out of range" : "no data yet");
        return;
    }

    // The samples are taken a pixel column at a time, so that the cost stays
    // bounded by the width however many there are. Each column is joined to
    // the one before by a smooth line; where its own samples spread over more
    // than a pixel (a step, or orbits too close together to tell apart), that
    // spread is filled as a bar: wide smooth lines that overlap cost far more.
    painter.setClipRect(area);
    std::vector<QLineF> lines;
    std::vector<QRectF> spans;
    for (const Curve& c : kCurves) {
        lines.clear();
        spans.clear();
        bool open = false;  // a column is being gathered
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
        for (const orbit::EnergySample& s : samples_) {
            if (!finiteSample(s)) {
                closeColumn();
                joined = false;
                continue;
            }
            const double x = mapX(minutes(s));
            const double y = mapY(c.value(s));
            if (open && std::floor(x) == std::floor(columnX)) {
                lowest = std::min(lowest, y);
                highest = std::max(highest, y);
                last = y;
                continue;
            }
            closeColumn();
            open = true;
            columnX = x;
            first = lowest = highest = last = y;
        }
        closeColumn();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(c.color, 2, Qt::SolidLine, Qt::FlatCap));
        painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        painter.setBrush(c.color);
        painter.drawRects(spans.data(), static_cast<int>(spans.size()));
    }
}

}  // namespace korvel::qt
