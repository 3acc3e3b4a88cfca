#include "ui/qt/orbit_data_window.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "ui/qt/energy_plot.h"
#include "ui/qt/help_windows.h"
#include "ui/qt/tool_windows.h"

namespace korvel::qt {

namespace {

const QString kNone = QStringLiteral("—");
const QString kEscapes = QStringLiteral("none (escapes)");

// Locale-proof, never "-0.0", never a number that is not finite. Values too
// large for a readable fixed form take an exponent.
QString fixed(double value, int decimals) {
    if (!std::isfinite(value)) return kNone;
    if (std::fabs(value) >= 1e7) return QString::number(value, 'g', 6);
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0;
    return QString::number(value, 'f', decimals);
}

// A percentage that stays readable when tiny.
QString percent(double share) {
    const double value = share * 100;
    if (!std::isfinite(value)) return kNone;
    return (std::fabs(value) >= 0.01 || value == 0 ? fixed(value, 2) : QString::number(value, 'g', 2)) + " %";
}

QString minutes(double seconds) {
    const QString text = fixed(seconds / kSecondsPerMinute, 2);
    return text == kNone ? text : text + " min";
}

// From the centre in length units, then how far above (or below) the surface:
// short, so that a preview's column beside today's keeps the window narrow.
QString distance(double metres, const orbit::Planet& planet) {
    const QString units = fixed(metres / kLengthUnit, 4);
    if (units == kNone) return kNone;
    const double altitudeKm = (metres - planet.surfaceRadius()) / 1000;
    if (!std::isfinite(altitudeKm)) return units + " units";
    return altitudeKm >= 0 ? QString("%1 units, %2 km up").arg(units, fixed(altitudeKm, 1))
                           : QString("%1 units, %2 km below").arg(units, fixed(-altitudeKm, 1));
}

QString withUnit(double value, int decimals, const char* unit) {
    const QString text = fixed(value, decimals);
    return text == kNone ? text : text + " " + unit;
}

void setText(QLabel* label, const QString& text) {
    // The same text again would still cost an accessibility event.
    if (label->text() != text) label->setText(text);
}

void setShown(QWidget* widget, bool shown) {
    if (widget->isHidden() == shown) widget->setVisible(shown);
}

// Bold, in a red that stands out on a light face or a dark one.
void markAsWarning(QLabel* label) {
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    QPalette red = label->palette();
    const bool dark = red.color(QPalette::Window).lightness() < 128;
    red.setColor(QPalette::WindowText, dark ? QColor(255, 128, 128) : QColor(176, 0, 0));
    label->setPalette(red);
}

QLabel* valueLabel(const QString& name, const QString& accessibleName) {
    auto* label = new QLabel(kNone);
    label->setObjectName(name);
    label->setAccessibleName(accessibleName);
    return label;
}

}  // namespace

OrbitDataWindow::OrbitDataWindow(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("OrbitData");
    setWindowTitle("Orbit Data");
    // Room for a usual figure, so that the window does not jump as they change.
    valueWidth_ = fontMetrics().horizontalAdvance("00.0000 units, 00000.0 km up");

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFigures());
    planetOnly_ = new QLabel("The figures are the orbit about the planet alone, without the second planet's pull.");
    planetOnly_->setObjectName("orbitPlanetOnly");
    planetOnly_->setWordWrap(true);
    layout->addWidget(planetOnly_);
    buildWarnings();
    layout->addWidget(warning_);
    layout->addWidget(previewWarning_);
    layout->addWidget(stepWarning_);
    auto* units = new QLabel(
        "Distances from the planet's centre in length units of 6,380 km, then the height above its surface. " +
        unitsNote());
    units->setObjectName("unitsNote");
    units->setWordWrap(true);
    layout->addWidget(units);
    plot_ = new EnergyPlot;
    layout->addWidget(plot_, 1);
    layout->addLayout(buildDriftRow());

    // The preview's column and the second planet's lines show when they apply.
    for (QLabel* label : preview_) label->hide();
    for (QLabel* label : {previewHeading_, secondPullName_, secondPull_, planetOnly_}) label->hide();
    adjustSize();
    restWidth_ = width();
    closeOnEscape(this);
}

// A row a figure: its caption, today's value and the previewed one.
QGridLayout* OrbitDataWindow::buildFigures() {
    struct Row {
        const char* name;
        const char* caption;  // what it is, shown and spoken
    };
    static constexpr Row kRows[FigureCount] = {
        {"orbitPeriapsis", "periapsis"},
        {"orbitApoapsis", "apoapsis"},
        {"orbitSemiMajorAxis", "semi-major axis"},
        {"orbitEccentricity", "eccentricity"},
        {"orbitPeriod", "period"},
        {"orbitTimeToPeriapsis", "time to periapsis"},
        {"orbitTimeToApoapsis", "time to apoapsis"},
        {"orbitEnergy", "specific orbital energy"},
        {"orbitSpeed", "speed"},
        {"orbitCircularSpeed", "circular speed"},
        {"orbitEscapeSpeed", "escape speed"},
    };
    auto* figures = figures_ = new QGridLayout;
    figures->setHorizontalSpacing(fontMetrics().horizontalAdvance("000"));
    auto* nowHeading = new QLabel("now");
    previewHeading_ = new QLabel("after the burn");
    for (QLabel* heading : {nowHeading, previewHeading_}) {
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
    }
    figures->addWidget(nowHeading, 0, 1);
    figures->addWidget(previewHeading_, 0, 2);
    for (int i = 0; i < FigureCount; ++i) {
        const QString caption = QString::fromLatin1(kRows[i].caption);
        const QString name = QString::fromLatin1(kRows[i].name);
        figures->addWidget(new QLabel(caption), i + 1, 0);
        now_[i] = valueLabel(name, caption);
        preview_[i] = valueLabel(name + "Preview", caption + " after the burn");
        figures->addWidget(now_[i], i + 1, 1);
        figures->addWidget(preview_[i], i + 1, 2);
    }
    secondPullName_ = new QLabel("second planet's pull");
    secondPull_ = valueLabel("orbitSecondPull", "second planet's pull");
    figures->addWidget(secondPullName_, FigureCount + 1, 0);
    figures->addWidget(secondPull_, FigureCount + 1, 1, 1, 2);
    figures->setColumnMinimumWidth(1, valueWidth_);
    figures->setColumnStretch(3, 1);
    return figures;
}

void OrbitDataWindow::buildWarnings() {
    warning_ = new QLabel;
    warning_->setObjectName("orbitWarning");
    warning_->setAccessibleName("warning");
    previewWarning_ = new QLabel;
    previewWarning_->setObjectName("orbitWarningPreview");
    previewWarning_->setAccessibleName("warning after the burn");
    stepWarning_ = new QLabel;
    stepWarning_->setObjectName("orbitStepWarning");
    stepWarning_->setAccessibleName("time factor warning");
    for (QLabel* warning : {warning_, previewWarning_, stepWarning_}) {
        markAsWarning(warning);
        warning->setWordWrap(true);
        warning->hide();
    }
}

QHBoxLayout* OrbitDataWindow::buildDriftRow() {
    auto* driftRow = new QHBoxLayout;
    driftRow->addWidget(new QLabel("drift of the total"));
    drift_ = valueLabel("energyDrift", "drift of the total energy");
    drift_->setWordWrap(true);
    driftPalette_ = drift_->palette();
    driftRow->addWidget(drift_, 1);
    return driftRow;
}

void OrbitDataWindow::fill(const Column& column, const std::optional<orbit::OrbitFigures>& figures,
                           const orbit::Planet& planet) {
    if (!figures) {
        for (QLabel* label : column) setText(label, kNone);
        return;
    }
    const orbit::OrbitFigures& f = *figures;
    const QString missing = f.escapes ? kEscapes : kNone;
    setText(column[Periapsis], distance(f.periapsis, planet));
    setText(column[Apoapsis], f.apoapsis ? distance(*f.apoapsis, planet) : missing);
    // A hyperbola's axis is negative, and a parabola has none: neither is a
    // distance above the surface.
    QString axis = "none (parabola)";
    if (f.semiMajorAxis && *f.semiMajorAxis < 0)
        axis = withUnit(*f.semiMajorAxis / kLengthUnit, 4, "units (hyperbola)");
    else if (f.semiMajorAxis)
        axis = distance(*f.semiMajorAxis, planet);
    setText(column[SemiMajorAxis], axis);
    setText(column[Eccentricity], fixed(f.eccentricity, 4));
    setText(column[Period], f.period ? minutes(*f.period) : missing);
    setText(column[TimeToPeriapsis], f.timeToPeriapsis ? minutes(*f.timeToPeriapsis)
                                     : f.escapes       ? "none (passed; escapes)"
                                                       : kNone);
    setText(column[TimeToApoapsis], f.timeToApoapsis ? minutes(*f.timeToApoapsis) : missing);
    setText(column[Energy], withUnit(f.energy / 1e6, 3, "MJ/kg"));
    setText(column[Speed], withUnit(f.speed, 1, "m/s"));
    setText(column[CircularSpeed], withUnit(f.circularSpeed, 1, "m/s"));
    setText(column[EscapeSpeed], withUnit(f.escapeSpeed, 1, "m/s"));
}

void OrbitDataWindow::showFigures(const std::optional<orbit::OrbitFigures>& now,
                                  const std::optional<orbit::OrbitFigures>& preview, const orbit::Planet& planet,
                                  std::optional<double> secondPullShare, bool secondPlanetOn, bool craftInside) {
    fill(now_, now, planet);
    if (preview) fill(preview_, preview, planet);
    if (preview.has_value() != previewShown_) {
        previewShown_ = preview.has_value();
        for (QLabel* label : preview_) setShown(label, previewShown_);
        setShown(previewHeading_, previewShown_);
        figures_->setColumnMinimumWidth(2, previewShown_ ? valueWidth_ : 0);
    }

    const auto surfaceWarning = [](QLabel* label, const std::optional<orbit::OrbitFigures>& figures, const char* what) {
        const QString time = figures && figures->timeToSurface ? minutes(*figures->timeToSurface) : kNone;
        const bool shown = time != kNone;
        setText(label, shown ? QString("%1 until %2 meets the surface").arg(time, what) : QString());
        setShown(label, shown);
    };
    // The path from inside would only speak of the next pass.
    if (craftInside) {
        setText(warning_, "The craft is inside the planet: the planet pulls as a point and does not stop it.");
        setShown(warning_, true);
    } else {
        surfaceWarning(warning_, now, "the path");
    }
    surfaceWarning(previewWarning_, preview, "the path after the burn");

    setText(secondPull_, secondPullShare ? percent(*secondPullShare) + " of the planet's" : kNone);
    for (QWidget* w : {static_cast<QWidget*>(secondPullName_), static_cast<QWidget*>(secondPull_),
                       static_cast<QWidget*>(planetOnly_)})
        setShown(w, secondPlanetOn);
    fitWidth();
}

void OrbitDataWindow::showEnergy(const orbit::EnergyHistory& history, bool secondPlanetPulls) {
    plot_->setSpans(history.spans());
    QString text = kNone;
    // With a second planet pulling, the craft's energy about the planet is
    // not meant to stay put: a drift would mislead.
    if (secondPlanetPulls)
        text = "not conserved (the second planet pulls)";
    else if (const auto drift = history.drift())
        text = percent(*drift) + " since the last impulse or the start";
    if (text.startsWith(kNone)) text = kNone;
    // More than 1 % with nothing to pull it: the steps are too coarse.
    const auto drift = history.drift();
    const bool tooMuch = !secondPlanetPulls && drift && std::fabs(*drift) > kDriftWarning;
    if (tooMuch) text += " (time factor too large)";
    setText(drift_, text);
    if (tooMuch != driftWarned_) {
        driftWarned_ = tooMuch;
        if (tooMuch)
            markAsWarning(drift_);
        else {
            drift_->setPalette(driftPalette_);
            drift_->setFont(font());
        }
    }
    fitWidth();
}

void OrbitDataWindow::showStepWarning(std::optional<double> subStep, double timeFactor) {
    setText(stepWarning_, subStep ? QString("time factor too large for this orbit: each step covers %1 s at %2")
                                        .arg(fixed(*subStep, 2), QString::number(timeFactor, 'g', 6))
                                  : QString());
    setShown(stepWarning_, subStep.has_value());
    fitWidth();
}

void OrbitDataWindow::fitWidth() {
    // The layout widens the window to what its texts need at once, but never
    // narrows it again by itself.
    layout()->activate();
    const int wanted = std::max(restWidth_, minimumWidth());
    if (width() <= wanted) return;
    fitting_ = true;
    resize(wanted, height());
    fitting_ = false;
}

void OrbitDataWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A width the texts did not force is the one to come back to.
    if (!fitting_ && event->size().width() > minimumWidth()) restWidth_ = event->size().width();
}

void OrbitDataWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed();
}

}  // namespace korvel::qt
