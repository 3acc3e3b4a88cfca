#pragma once
// Orbit Data: a tool window of its own listing the craft's two-body orbit
// about the planet, the orbit a burn would give beside it while one is
// previewed, and the energy graph. It is fed up to about ten times a second,
// so it only touches a label whose text changed.

#include <QWidget>

#include <array>
#include <optional>

#include "orbit/elements.h"
#include "orbit/energy_history.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;

namespace korvel::qt {

class EnergyPlot;

class OrbitDataWindow : public QWidget {
    Q_OBJECT
public:
    explicit OrbitDataWindow(QWidget* parent = nullptr);

    // Today's figures ("—" everywhere without them) and, while a burn is
    // previewed, the figures of the orbit it would give in a column beside.
    // While the craft is inside the planet, the warning says so instead of
    // when the path meets the surface.
    void showFigures(const std::optional<orbit::OrbitFigures>& now, const std::optional<orbit::OrbitFigures>& preview,
                     const orbit::Planet& planet, std::optional<double> secondPullShare, bool secondPlanetOn,
                     bool craftInside = false);
    // Says that the time factor is too large for the orbit while `subStep`
    // (simulated seconds) is given; quiet otherwise.
    void showStepWarning(std::optional<double> subStep, double timeFactor);
    // The graph, and the drift of the total unless a second planet of mass
    // above 0 pulls.
    void showEnergy(const orbit::EnergyHistory& history, bool secondPlanetPulls);
    EnergyPlot& plot() { return *plot_; }

signals:
    // The operator closed it.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    enum Figure {
        Periapsis,
        Apoapsis,
        SemiMajorAxis,
        Eccentricity,
        Period,
        TimeToPeriapsis,
        TimeToApoapsis,
        Energy,
        Speed,
        CircularSpeed,
        EscapeSpeed,
        FigureCount
    };
    using Column = std::array<QLabel*, FigureCount>;

    QGridLayout* buildFigures();
    void buildWarnings();
    QHBoxLayout* buildDriftRow();
    // Back to the width it had before a long text widened it, once the texts
    // are short again.
    void fitWidth();
    static void fill(const Column& column, const std::optional<orbit::OrbitFigures>& figures,
                     const orbit::Planet& planet);

    Column now_{};
    Column preview_{};
    QGridLayout* figures_ = nullptr;
    int valueWidth_ = 0;
    QLabel* previewHeading_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* previewWarning_ = nullptr;
    QLabel* stepWarning_ = nullptr;
    QPalette driftPalette_;  // the drift's look while it is no warning
    bool driftWarned_ = false;
    // A drift of the total beyond this share since the last impulse warns.
    static constexpr double kDriftWarning = 0.01;
    QLabel* secondPullName_ = nullptr;
    QLabel* secondPull_ = nullptr;
    QLabel* planetOnly_ = nullptr;
    QLabel* drift_ = nullptr;
    EnergyPlot* plot_ = nullptr;
    bool previewShown_ = false;
    // The width the window has when no text holds it wider: the operator's
    // or the first one.
    int restWidth_ = 0;
    bool fitting_ = false;
};

}  // namespace korvel::qt
