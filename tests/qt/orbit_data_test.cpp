// The Orbit Data window on the offscreen platform: its figures against an
// orbit worked out by hand, the texts of what an orbit lacks, the drift, and
// the energy graph's pixels.

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <clocale>
#include <cmath>
#include <limits>
#include <numbers>

#include "app/palette.h"
#include "orbit/energy_history.h"
#include "sim/numbers.h"
#include "ui/qt/energy_plot.h"
#include "ui/qt/orbit_data_window.h"
#include "ui/qt/picture_box.h"

using korvel::orbit::EnergySpan;
using korvel::orbit::OrbitFigures;
using korvel::orbit::Planet;
using korvel::qt::EnergyPlot;
using korvel::qt::OrbitDataWindow;

namespace {

constexpr double kUnit = 6'380'000;
constexpr double kMu = 9.8 * kUnit * kUnit;  // planet mass 1

QLabel* label(OrbitDataWindow& w, const char* name) {
    auto* found = w.findChild<QLabel*>(name);
    if (!found) qWarning("no label %s", name);
    return found;
}

// The number a label's text begins with, read the locale-proof way.
double lead(OrbitDataWindow& w, const char* name) {
    const std::string text = label(w, name)->text().toStdString();
    if (!korvel::startsWithNumber(text)) return std::nan("");
    return korvel::leadingNumber(text).value_or(std::nan(""));
}

// At periapsis 1.02 units with e = 0.1, by Kepler.
OrbitFigures ellipse() {
    const double rp = 1.02 * kUnit, e = 0.1, a = rp / (1 - e);
    OrbitFigures f;
    f.periapsis = rp;
    f.apoapsis = a * (1 + e);
    f.semiMajorAxis = a;
    f.eccentricity = e;
    f.period = 2 * std::numbers::pi * std::sqrt(a * a * a / kMu);
    f.timeToPeriapsis = 0;
    f.timeToApoapsis = *f.period / 2;
    f.energy = -kMu / (2 * a);
    f.speed = std::sqrt(kMu * (2 / rp - 1 / a));
    f.circularSpeed = std::sqrt(kMu / rp);
    f.escapeSpeed = std::sqrt(2 * kMu / rp);
    return f;
}

int countNear(const QImage& image, QColor c) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            n += std::abs(p.red() - c.red()) + std::abs(p.green() - c.green()) + std::abs(p.blue() - c.blue()) < 40;
        }
    return n;
}

}  // namespace

class OrbitDataTest : public QObject {
    Q_OBJECT
private slots:
    void ellipseFiguresLeadTheirLabels() {
        // Commas as decimal points must not reach a figure.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        OrbitDataWindow w;
        QCOMPARE(w.objectName(), QString("OrbitData"));
        QCOMPARE(w.windowTitle(), QString("Orbit Data"));
        QVERIFY(w.windowFlags().testFlag(Qt::Tool));
        const OrbitFigures f = ellipse();
        w.showFigures(f, std::nullopt, Planet{1}, std::nullopt, false);
        const double a = *f.semiMajorAxis;
        const struct {
            const char* name;
            double expected;
        } figures[] = {
            {"orbitPeriapsis", 1.02},
            {"orbitApoapsis", a * 1.1 / kUnit},
            {"orbitSemiMajorAxis", a / kUnit},
            {"orbitEccentricity", 0.1},
            {"orbitPeriod", *f.period / 60},
            {"orbitTimeToPeriapsis", 0},
            {"orbitTimeToApoapsis", *f.period / 120},
            {"orbitEnergy", f.energy / 1e6},
            {"orbitSpeed", f.speed},
            {"orbitCircularSpeed", f.circularSpeed},
            {"orbitEscapeSpeed", f.escapeSpeed},
        };
        for (const auto& [name, expected] : figures) {
            QVERIFY2(std::fabs(lead(w, name) - expected) <= 1e-3 * std::max(1.0, std::fabs(expected)),
                     qPrintable(label(w, name)->text()));
            QVERIFY2(!label(w, name)->accessibleName().isEmpty(), name);
        }
        // The height above the surface follows the distance.
        QVERIFY2(label(w, "orbitPeriapsis")->text().contains("127.6 km"),
                 qPrintable(label(w, "orbitPeriapsis")->text()));
        QVERIFY(label(w, "orbitWarning")->text().isEmpty() || label(w, "orbitWarning")->isHidden());
        QVERIFY(label(w, "orbitPeriapsisPreview")->isHidden());

        // A preview shows beside, and goes; the window widens for it and
        // narrows again.
        w.show();
        const int restWidth = w.width();
        OrbitFigures after = f;
        after.eccentricity = 0.25;
        w.showFigures(f, after, Planet{1}, std::nullopt, false);
        QVERIFY(w.width() > restWidth);
        QVERIFY(!label(w, "orbitEccentricityPreview")->isHidden());
        QCOMPARE(lead(w, "orbitEccentricityPreview"), 0.25);
        QCOMPARE(lead(w, "orbitEccentricity"), 0.1);
        w.showFigures(f, std::nullopt, Planet{1}, std::nullopt, false);
        QVERIFY(label(w, "orbitEccentricityPreview")->isHidden());
        QCOMPARE(w.width(), restWidth);

        QSignalSpy closed(&w, &OrbitDataWindow::closed);
        w.show();
        w.close();
        QCOMPARE(closed.count(), 1);
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_ALL, "C");
    }

    void missingFiguresSayWhy() {
        OrbitDataWindow w;
        OrbitFigures escape = ellipse();
        escape.escapes = true;
        escape.apoapsis.reset();
        escape.period.reset();
        escape.timeToApoapsis.reset();
        escape.timeToPeriapsis.reset();
        escape.semiMajorAxis = -3 * kUnit;
        escape.speed = std::numeric_limits<double>::quiet_NaN();
        escape.timeToSurface = 600;
        w.showFigures(escape, std::nullopt, Planet{1}, 0.0123, true);
        for (const char* name : {"orbitApoapsis", "orbitPeriod", "orbitTimeToApoapsis"})
            QCOMPARE(label(w, name)->text(), QString("none (escapes)"));
        QVERIFY(label(w, "orbitTimeToPeriapsis")->text().startsWith("none"));
        QCOMPARE(lead(w, "orbitSemiMajorAxis"), -3.0);
        QCOMPARE(label(w, "orbitSpeed")->text(), QString("—"));
        QVERIFY(!label(w, "orbitWarning")->isHidden());
        QCOMPARE(lead(w, "orbitWarning"), 10.0);
        QVERIFY(!label(w, "orbitSecondPull")->isHidden());
        QCOMPARE(lead(w, "orbitSecondPull"), 1.23);

        w.showFigures(std::nullopt, std::nullopt, Planet{0}, std::nullopt, false);
        for (QLabel* l :
             w.findChildren<QLabel*>(QRegularExpression("^orbit(?!Warning|StepWarning|SecondPull|PlanetOnly)")))
            if (!l->objectName().endsWith("Preview")) QCOMPARE(l->text(), QString("—"));
        QVERIFY(label(w, "orbitWarning")->isHidden());
        QVERIFY(label(w, "orbitSecondPull")->isHidden());
    }

    void driftOfTheTotal() {
        OrbitDataWindow w;
        korvel::orbit::EnergyHistory history;
        w.showEnergy(history, false);
        QCOMPARE(label(w, "energyDrift")->text(), QString("—"));
        history.add({0, 30e6, -60e6});
        history.add({60, 30e6, -60.3e6});  // the total from -30 to -30.3 MJ/kg
        w.showEnergy(history, false);
        QCOMPARE(std::fabs(lead(w, "energyDrift")), 1.0);
        w.showEnergy(history, true);
        QVERIFY(label(w, "energyDrift")->text().startsWith("not conserved"));
        // Beyond 1 % it warns, and says why; the step warning names the time factor.
        const QColor plain = label(w, "energyDrift")->palette().color(QPalette::WindowText);
        history.add({120, 30e6, -61e6});
        w.showEnergy(history, false);
        QVERIFY(label(w, "energyDrift")->text().contains("time factor too large"));
        QVERIFY(label(w, "energyDrift")->palette().color(QPalette::WindowText) != plain);
        QVERIFY(label(w, "orbitStepWarning")->isHidden());
        w.showStepWarning(11.2, 1e6);
        QVERIFY(!label(w, "orbitStepWarning")->isHidden());
        QVERIFY(label(w, "orbitStepWarning")->text().contains("covers 11.20 s at 1e+06"));
    }

    void plotDrawsTheThreeCurves() {
        EnergyPlot plot;
        plot.resize(400, 240);
        const QImage empty = plot.grab().toImage();  // axes and legend only

        korvel::orbit::EnergyHistory history;
        for (int i = 0; i <= 100; ++i)
            history.add({i * 30.0, 30e6 + 1e6 * std::sin(i / 10.0), -60e6 - 1e6 * std::sin(i / 10.0)});
        history.addImpulse({3000, 30e6, -60e6}, {3000, 38e6, -60e6});
        for (int i = 101; i <= 200; ++i) history.add({i * 30.0, 38e6, -60e6});
        std::vector<EnergySpan> spans = history.spans();
        // Nothing that is not finite is drawn, and the rest still is.
        spans.push_back(EnergySpan::of({6100, std::numeric_limits<double>::infinity(), -60e6}));
        spans.push_back(EnergySpan::of({std::nan(""), 38e6, -60e6}));
        plot.setSpans(spans);
        const QImage drawn = plot.grab().toImage();
        for (korvel::Color curve : {korvel::kKineticColor, korvel::kPotentialColor, korvel::kTotalColor}) {
            const QColor c = korvel::qt::toQColor(curve);
            QVERIFY2(countNear(drawn, c) > countNear(empty, c) + 100, qPrintable(c.name()));
        }

        // The graph's colours are its own, never the desktop theme's: Light
        // draws the curves on white.
        QPalette theme = plot.palette();
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::WindowText, QPalette::Mid})
            theme.setColor(role, Qt::magenta);
        plot.setPalette(theme);
        QCOMPARE(plot.grab().toImage(), drawn);
        const korvel::Profile light = korvel::lightProfile();
        plot.setProfile(light);
        const QImage lit = plot.grab().toImage();
        QCOMPARE(lit.pixelColor(1, 1), QColor(Qt::white));
        QVERIFY(countNear(lit, korvel::qt::toQColor(light.potential)) > 100);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    OrbitDataTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "orbit_data_test.moc"
