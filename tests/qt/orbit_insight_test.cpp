// The orbit over the real window's drawing, on the offscreen platform: the
// predicted path, the preview of a burn, and Orbit Data with its warnings.

#include "ui/qt/orbit_insight.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

#include "orbit/elements.h"
#include "qt_support.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"

using korvel::qt::KorvelWindow;
using korvel::qt::MainWindow;
using namespace korvel::qt::testing;

class OrbitInsightTest : public QObject {
    Q_OBJECT

    static void point(QWidget* button, bool in) {
        if (in) {
            QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), button->mapToGlobal(QPointF(4, 4)));
            QApplication::sendEvent(button, &enter);
        } else {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(button, &leave);
        }
    }

    static bool samePoints(const std::vector<korvel::Vec2>& a, const std::vector<korvel::Vec2>& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                          [](auto p, auto q) { return p.x == q.x && p.y == q.y; });
    }

    // Recent files and dialog folders go here, not into the settings of
    // whoever runs the tests.
    QTemporaryDir settings_;

private slots:
    void initTestCase() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings_.path()); }

    void pathLiesOnTheTrailAndNeverInTheDrawing() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        action(m, "actionPredictedPath")->setChecked(true);
        QVERIFY(m.insight().path().points.empty());  // no run yet
        // An ellipse out to 2.8 units; turned half round by a negative scale.
        box(w, 2)->setText("20000");
        box(w, 6)->setText("9500");
        for (const char* scale : {"3", "-3"}) {
            box(w, 3)->setText(scale);
            runPaused(m, 1000);  // more than a revolution
            const QImage drawing = w.picture().image().copy();
            const QImage shown = w.picture().shownImage();
            QCOMPARE(w.picture().grab().toImage().convertToFormat(QImage::Format_RGB32), shown);
            // Every pixel the path changes lies within its markers' reach of the trail.
            int changed = 0;
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    if (shown.pixel(x, y) == drawing.pixel(x, y)) continue;
                    ++changed;
                    bool near = false;
                    for (int dy = -5; dy <= 5 && !near; ++dy)
                        for (int dx = -5; dx <= 5 && !near; ++dx)
                            near = drawing.valid(x + dx, y + dy) && isTrail(drawing.pixel(x + dx, y + dy));
                    QVERIFY2(near, qPrintable(QString("scale %1 at %2, %3").arg(scale).arg(x).arg(y)));
                }
            QVERIFY(changed > 500);
            // Zoomed and reset, the picture is the same, path and all.
            w.view().zoomIn();
            w.view().reset();
            QCOMPARE(w.picture().shownImage(), shown);
            action(m, "actionPredictedPath")->setChecked(false);
            QCOMPARE(w.picture().shownImage(), drawing);
            QCOMPARE(w.picture().image(), drawing);
        }
    }

    void previewShowsABurnAndBecomesThePathWhenPressed() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        runPaused(m, 100);
        QPushButton* forward = bank(w, 0);
        point(forward, true);
        QVERIFY(!m.insight().preview());  // no size chosen: nothing, and no message
        QVERIFY(!w.messageBox() || !w.messageBox()->isVisible());
        point(forward, false);

        QTest::mouseClick(bank(w, 4), Qt::LeftButton);
        const QImage drawing = w.picture().image().copy();
        const double speed = w.core().state().velX[korvel::kCraft];
        const QImage shownBefore = w.picture().shownImage();
        point(forward, true);
        QVERIFY(m.insight().preview());
        const auto preview = m.insight().preview()->points;
        QVERIFY(!samePoints(preview, m.insight().path().points));
        QCOMPARE(w.core().state().velX[korvel::kCraft], speed);
        QCOMPARE(w.picture().image(), drawing);
        forward->click();
        QVERIFY(samePoints(m.insight().path().points, preview));
        QVERIFY(!m.insight().preview());  // the pointer stays, but no second future shows
        point(forward, false);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.picture().shownImage() != shownBefore);  // the new loop shows, not the old

        // "Apply Impulse" reads its direction now; one that is not a number
        // previews nothing, and a message left open stays as it is.
        QPushButton* apply = button(w, "cmd_apply");
        w.showMessage("left open");
        box(w, 7)->setText("up");
        point(apply, true);
        QVERIFY(!m.insight().preview());
        QVERIFY(w.messageBox()->isVisible());
        QCOMPARE(w.messageBox()->text(), QString("left open"));
        point(apply, false);
        // The focus previews as the pointer does.
        box(w, 7)->setText("3.14");
        m.activateWindow();
        QTRY_VERIFY(m.isActiveWindow());
        apply->setFocus();
        QVERIFY(m.insight().preview());
        box(w, 0)->setFocus();
        QVERIFY(!m.insight().preview());
        // After a press by key the focus stays, without a preview, until the
        // keyboard brings it back.
        apply->setFocus();
        QVERIFY(m.insight().preview());
        QTest::keyClick(apply, Qt::Key_Space);
        QVERIFY(!m.insight().preview());
        QTest::keyClick(apply, Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTRY_COMPARE(QApplication::focusWidget(), apply);
        QVERIFY(m.insight().preview());
    }

    void orbitDataAloneShowsThePreviewAndAMasslessPlanetsDrift() {
        MainWindow m;
        m.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m));
        KorvelWindow& w = m.korvel();
        action(m, "actionOrbitData")->setChecked(true);
        box(w, 12)->setText("0");
        box(w, 13)->setText("2.5");
        click(w, "runSImulation");
        click(w, "cmd_color(8)");
        spin(250);
        click(w, "cmd_stop_simulation");
        QWidget* data = m.insight().dataWindow();
        // A second planet of mass 0 pulls nothing: the drift is measured.
        QTRY_VERIFY2(data->findChild<QLabel*>("energyDrift")->text().contains("%"),
                     qPrintable(data->findChild<QLabel*>("energyDrift")->text()));
        QTest::mouseClick(bank(w, 4), Qt::LeftButton);
        point(bank(w, 0), true);
        QVERIFY(m.insight().preview());
        QVERIFY(data->findChild<QLabel*>("orbitPeriapsisPreview")->isVisible());
        QVERIFY(!w.picture().showsOverlay());  // no path drawn: Predicted Path is off
    }

    // The warning follows the path drawn, second planet included, where the
    // two-body orbit would say the opposite.
    void surfaceWarningSpeaksOfThePathDrawn() {
        const struct {
            const char *distance, *speed;
            bool meets;
        } cases[] = {{"1.5", "5858.9", true}, {"2", "4518.9", false}};
        for (const auto& c : cases) {
            MainWindow m;
            KorvelWindow& w = m.korvel();
            action(m, "actionOrbitData")->setChecked(true);
            box(w, 4)->setText(c.distance);
            box(w, 6)->setText(c.speed);
            box(w, 12)->setText(".05");
            box(w, 13)->setText("2.5");
            click(w, "runSImulation");
            click(w, "cmd_color(8)");
            click(w, "cmd_stop_simulation");
            QWidget* data = m.insight().dataWindow();
            QTRY_VERIFY(!data->findChild<QLabel*>("orbitPeriapsis")->text().startsWith("\u2014"));
            const auto& s = w.core().state();
            const auto twoBody = korvel::orbit::orbitFigures({s.posX[korvel::kCraft], s.posY[korvel::kCraft]},
                                                             {s.velX[korvel::kCraft], s.velY[korvel::kCraft]}, {1});
            QCOMPARE(twoBody->timeToSurface.has_value(), !c.meets);
            auto* warning = data->findChild<QLabel*>("orbitWarning");
            QCOMPARE(warning->isVisible(), c.meets);
            QCOMPARE(m.insight().path().impact.has_value(), c.meets);
            if (c.meets) {
                QVERIFY2(warning->text().endsWith("until the path meets the surface"), qPrintable(warning->text()));
                const double shown = warning->text().section(' ', 0, 0).toDouble();
                QCOMPARE(std::round(*m.insight().path().timeToImpact / 60 * 100) / 100, shown);
            }
        }
    }

    void stepWarningOnlyWhereTheTimeFactorIsTooCoarse() {
        for (const char* timeFactor : {"1000", "1e6"}) {
            MainWindow m;
            KorvelWindow& w = m.korvel();
            box(w, 2)->setText(timeFactor);
            click(w, "runSImulation");
            click(w, "cmd_stop_simulation");
            w.core().state().tickElapsed = 0.0011;  // a tick as the platform timer gives them
            action(m, "actionOrbitData")->setChecked(true);
            auto* warning = m.insight().dataWindow()->findChild<QLabel*>("orbitStepWarning");
            QCOMPARE(warning->isVisible(), QByteArray(timeFactor) == "1e6");
        }
    }
};

int main(int argc, char** argv) { return runWindowSuite<OrbitInsightTest>(argc, argv); }

#include "orbit_insight_test.moc"
