#pragma once
// The energy graph: kinetic, potential and total energy per unit mass
// (MJ/kg) against simulated time (minutes), scaled to fit all three curves.
// It keeps its own copy of the spans it was given, which the history keeps
// bounded, and repaints only when they change, at most a few times a second:
// a curve over minutes gains nothing from more, and each repaint of a full
// history costs about a millisecond.

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "app/palette.h"
#include "app/view/plot_axis.h"
#include "orbit/energy_history.h"

class QPainter;

namespace korvel::qt {

class EnergyPlot : public QWidget {
    Q_OBJECT
public:
    // Once a second: a graph of minutes to days of simulated time moves
    // slowly, and each repaint costs about a millisecond.
    static constexpr int kRepaintIntervalMs = 1000;

    explicit EnergyPlot(QWidget* parent = nullptr);

    void setSpans(const std::vector<orbit::EnergySpan>& spans);
    const std::vector<orbit::EnergySpan>& spans() const { return spans_; }
    // The graph's own colours, whatever the desktop's theme.
    void setProfile(const Profile& profile);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The two axes over the finite spans, and how many there are.
    struct Axes {
        Axis x;  // minutes
        Axis y;  // MJ/kg
        int drawable = 0;
        bool valid() const { return x.valid() && y.valid(); }
    };
    Axes axes() const;
    static QString axisLabel(const Axis& axis, double value);
    QRect plotArea(const Axes& axes) const;
    int yLabelWidth(const Axes& axes) const;
    static double mapX(const QRect& area, const Axes& axes, double minutes);
    static double mapY(const QRect& area, const Axes& axes, double megajoules);
    void paintTitleAndLegend(QPainter& painter) const;
    void paintFrame(QPainter& painter, const QRect& area, const Axes& axes) const;
    void paintCurves(QPainter& painter, const QRect& area, const Axes& axes) const;

    std::vector<orbit::EnergySpan> spans_;
    Profile profile_ = darkProfile();
    QTimer repaintPace_;
    bool repaintDue_ = false;
};

}  // namespace korvel::qt
