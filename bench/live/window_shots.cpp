// Screenshots of the window for the docs: after start-up; "Run Simulation"
// with the keyboard focus and without, four times enlarged; after a few
// seconds of a default run with "impulse 100" chosen; the same run with the
// predicted path on; a burn preview; the Orbit Data window after a few burns;
// and the path bent by a second planet placed 2.5 radii out with the Moon's
// mass. Then the whole screen with the main window centred, as window
// managers place it, with the Hohmann task opened (so About This Scenario
// shows its words) and run at time factor 1e6, Orbit Data and Help opened
// beside it, and Orbit Data alone with its step warning (run it under a
// window manager for the frames, on a screen wide enough for the sides).
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/live/window_shots docs
//
// writes <dir>/window.png, run-button-focus.png, run-button-no-focus.png,
// run.png, orbit-path.png, burn-preview.png, orbit-data.png,
// second-planet.png, orbit-second-planet.png, orbit-data-step-warning.png,
// tool-windows.png, the views view-maximised.png, view-zoom-apoapsis.png
// and view-kept-run.png, and the lab bench's lab-light.png and lab-dark.png.

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "orbit/burn_preview.h"
#include "orbit/prediction.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/orbit_insight.h"
#include "ui/qt/scenario_files.h"
#include "ui/qt/view_tools.h"

using korvel::kLengthUnit;
using korvel::Vec2;

// Runs the event loop for the given time; QTest::qWait would sleep between
// events and slow the ticks down.
static void spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// How far, in metres, the second planet's pull moves the path that two
// burns forward would give.
static double bendAfterTwoBurns(korvel::SimulationState s) {
    using namespace korvel::orbit;
    for (int i = 0; i < 2; ++i) {
        const auto v = velocityAfterBurn(s, Burn::Forward, "");
        if (!v) return 0;
        s.velX[korvel::kCraft] = v->x;
        s.velY[korvel::kCraft] = v->y;
    }
    PredictionSettings settings;
    settings.planet.mass = 1;
    settings.viewRadius = 4 * kLengthUnit;
    const PredictedPath pulled = predictPath(s, settings);
    s.secondPlanetOn = false;
    const PredictedPath alone = predictPath(s, settings);
    double bend = 0;
    for (const Vec2& p : pulled.points) {
        double nearest = HUGE_VAL;
        for (const Vec2& q : alone.points) nearest = std::min(nearest, std::hypot(p.x - q.x, p.y - q.y));
        bend = std::max(bend, nearest);
    }
    return bend;
}

// The shots of the first main window, in the order they are taken: each one
// goes on from where the one before left the window. A save that fails makes
// ok() false but stops nothing.
class MainWindowShots {
public:
    MainWindowShots(const QString& dir, int runMs) : dir_(dir), runMs_(runMs), window_(main_.korvel()) {}

    bool show() {
        main_.show();
        return QTest::qWaitForWindowExposed(&main_);
    }

    // After start-up, and "Run Simulation" with the keyboard focus and
    // without, four times enlarged.
    void startUp() {
        // The focus shows only in the active window.
        main_.activateWindow();
        spin(200);
        auto* run = window_.findChild<QPushButton*>("runSImulation");
        if (!run->hasFocus()) std::fprintf(stderr, "\"Run Simulation\" has no focus: no window activation here\n");
        save(main_.grab(), "window.png");
        const QRect around = run->geometry().adjusted(-8, -8, 8, 8);
        auto enlarged = [&] {
            return window_.grab(around).scaled(around.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        };
        save(enlarged(), "run-button-focus.png");
        box0()->setFocus();
        save(enlarged(), "run-button-no-focus.png");
    }

    void defaultRun() {
        click("cmd_color(5)");
        click("runSImulation");
        spin(runMs_);
        save(main_.grab(), "run.png");
        std::printf("ticks: %llu\n", static_cast<unsigned long long>(window_.tickCount()));
    }

    // One burn forward of 1000 m/s stretches the orbit into a long ellipse.
    void predictedPath() {
        action("actionPredictedPath")->setChecked(true);
        click("cmd_color(4)");
        click("cmd_color(0)");
        // The focus on "forward" would preview a second burn.
        box0()->setFocus();
        spin(runMs_ / 2);
        save(main_.grab(), "orbit-path.png");
    }

    // A preview shows while the pointer is on a burn button, here paused.
    void burnPreview() {
        click("cmd_stop_simulation");
        box0()->setFocus();
        auto* forward = window_.findChild<QPushButton*>("cmd_color(0)");
        QEnterEvent enter(QPointF(5, 5), forward->mapTo(&main_, QPointF(5, 5)), forward->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(forward, &enter);
        save(main_.grab(), "burn-preview.png");
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(forward, &leave);
    }

    // A few burns with the Orbit Data window open.
    void orbitData() {
        action("actionOrbitData")->setChecked(true);
        click("cmd_continue");
        for (const char* burn : {"cmd_color(0)", "cmd_color(1)", "cmd_color(2)"}) {
            spin(runMs_ / 3);
            click("cmd_color(5)");
            click(burn);
        }
        spin(runMs_ / 2);
        if (QWidget* data = main_.insight().dataWindow())
            save(data->grab(), "orbit-data.png");
        else
            std::fprintf(stderr, "no Orbit Data window in this build\n");
        action("actionOrbitData")->setChecked(false);
    }

    // A second planet 2.5 radii out with the Moon's mass, and the path it bends.
    void secondPlanet() {
        action("actionPredictedPath")->setChecked(false);
        click("runSImulation");
        window_.findChild<QLineEdit*>("txt_masses(12)")->setText(".0123");
        window_.findChild<QLineEdit*>("txt_masses(13)")->setText("2.5");
        click("cmd_color(8)");
        spin(runMs_ / 2);
        save(main_.grab(), "second-planet.png");
        // Two burns forward take the craft out to the second planet, fired when
        // its pull will bend the path by a sixth of a unit or more (or after
        // one of its revolutions).
        click("cmd_color(4)");
        for (int wait = 0; wait < 200 && bendAfterTwoBurns(window_.core().state()) < kLengthUnit / 6.0; ++wait)
            spin(100);
        action("actionPredictedPath")->setChecked(true);
        click("cmd_color(0)");
        click("cmd_color(0)");
        box0()->setFocus();
        spin(runMs_ / 4);
        save(main_.grab(), "orbit-second-planet.png");
    }

    // Stopped and out of the way of the next window's shots.
    void putAway() {
        click("cmd_stop_simulation");
        main_.hide();
    }

    bool ok() const { return ok_; }

private:
    void save(const QPixmap& shot, const char* name) { ok_ = shot.save(dir_ + "/" + name) && ok_; }
    // Clicked as a mouse does, so the focus follows the clicks.
    void click(const char* name) { QTest::mouseClick(window_.findChild<QPushButton*>(name), Qt::LeftButton); }
    QAction* action(const char* name) { return main_.findChild<QAction*>(name); }
    QLineEdit* box0() { return window_.findChild<QLineEdit*>("txt_masses(0)"); }

    const QString dir_;
    const int runMs_;
    korvel::qt::MainWindow main_;
    korvel::qt::KorvelWindow& window_;
    bool ok_ = true;
};

// A fresh main window, centred as window managers place it, so that the tool
// windows are placed anew, during a run at time factor 1e6: each sub-step is
// too long for the task's low orbit. The whole screen, and Orbit Data alone
// with its step warning. False when a shot failed or the window never showed.
static bool toolWindowShots(const QString& dir, int runMs) {
    korvel::qt::MainWindow centred;
    centred.show();
    if (!QTest::qWaitForWindowExposed(&centred)) return false;
    spin(300);
    const QRect screen = centred.screen()->availableGeometry();
    const QRect frame = centred.frameGeometry();
    centred.move(screen.center() - QPoint(frame.width() / 2, frame.height() / 2));
    spin(300);
    centred.findChild<QAction*>("example-7-hohmann-transfer")->trigger();
    spin(300);
    centred.korvel().findChild<QLineEdit*>("txt_masses(2)")->setText("1e6");
    QTest::mouseClick(centred.korvel().findChild<QPushButton*>("runSImulation"), Qt::LeftButton);
    centred.findChild<QAction*>("actionOrbitData")->setChecked(true);
    spin(300);
    centred.findChild<QAction*>("actionHelp")->trigger();
    spin(runMs / 4);
    bool ok = centred.screen()->grabWindow(0).save(dir + "/tool-windows.png");
    if (QWidget* data = centred.insight().dataWindow())
        ok = data->grab().save(dir + "/orbit-data-step-warning.png") && ok;
    return ok;
}

// A wheel turned by `notches` over the drawing at `at`, as a mouse sends it.
static void turnWheel(QWidget* drawing, QPointF at, int notches) {
    QWheelEvent wheel(at, drawing->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(drawing, &wheel);
}

// Clicks the button `name` of the window `times` times, as a mouse does.
static void press(korvel::qt::MainWindow& main, const char* name, int times = 1) {
    for (int i = 0; i < times; ++i) QTest::mouseClick(main.korvel().findChild<QPushButton*>(name), Qt::LeftButton);
}

// The Hohmann task at time factor 1e4: run, paused for the first burn as the
// task has it (1000, then 7 × 100, 3 × 10, 6 × 1 forward), and continued.
static void startTransfer(korvel::qt::MainWindow& main) {
    main.findChild<QAction*>("example-7-hohmann-transfer")->trigger();
    main.korvel().findChild<QLineEdit*>("txt_masses(2)")->setText("10000");
    press(main, "runSImulation");
    press(main, "cmd_stop_simulation");
    for (const auto& [size, times] :
         {std::pair{"cmd_color(4)", 1}, {"cmd_color(5)", 7}, {"cmd_color(6)", 3}, {"cmd_color(7)", 6}}) {
        press(main, size);
        press(main, "cmd_color(0)", times);
    }
    press(main, "cmd_continue");
}

// The drawing as a view of the run, in a maximised window: the Hohmann task
// after its first burn, the whole screen; the apoapsis zoomed onto, with the
// scale bar; and that run kept, opened again and zoomed out.
static bool viewShots(const QString& dir) {
    korvel::qt::MainWindow big;
    big.showMaximized();
    if (!QTest::qWaitForWindowExposed(&big)) return false;
    spin(500);
    big.findChild<QAction*>("actionPredictedPath")->setChecked(true);
    startTransfer(big);
    spin(400);
    bool ok = big.screen()->grabWindow(0).save(dir + "/view-maximised.png");

    QWidget* drawing = big.korvel().findChild<QWidget*>("Picture1");
    const auto& path = big.insight().path();
    if (path.apoapsis) {
        const QPointF apoapsis = big.korvel().view().toWidget(*path.apoapsis).value_or(QPointF());
        turnWheel(drawing, apoapsis, 8);
    }
    spin(600);
    ok = big.grab().save(dir + "/view-zoom-apoapsis.png") && ok;

    const QString kept = dir + "/view-kept-run.korvel";
    big.scenarios().save(kept);
    big.scenarios().open(kept);
    QFile::remove(kept);
    big.korvel().view().reset();
    big.korvel().view().zoomOut();
    spin(600);
    return big.grab().save(dir + "/view-kept-run.png") && ok;
}

// The lab bench: the Hohmann task after its first burn, paused, with the
// grid, the velocity arrow and the tape from the transfer's periapsis to its
// apoapsis, in the Light profile and in Dark.
static bool labShots(const QString& dir) {
    korvel::qt::MainWindow lab;
    lab.resize(1400, 860);
    lab.show();
    if (!QTest::qWaitForWindowExposed(&lab)) return false;
    spin(300);
    startTransfer(lab);
    spin(300);
    press(lab, "cmd_stop_simulation");
    for (const char* name : {"actionPredictedPath", "actionGrid", "actionVelocityArrow", "actionTape"})
        lab.findChild<QAction*>(name)->setChecked(true);
    spin(300);
    const auto& path = lab.insight().path();
    if (path.periapsis && path.apoapsis) {
        korvel::qt::DrawingView& view = lab.korvel().view();
        lab.tools().moveTapeEnd(0, view.toWidget(*path.periapsis).value_or(QPointF()), 8);
        lab.tools().moveTapeEnd(1, view.toWidget(*path.apoapsis).value_or(QPointF()), 8);
    }
    bool ok = true;
    for (const auto& [profile, file] :
         {std::pair{"actionColoursLight", "/lab-light.png"}, {"actionColoursDark", "/lab-dark.png"}}) {
        lab.findChild<QAction*>(profile)->trigger();
        spin(400);
        ok = lab.grab().save(dir + file) && ok;
    }
    return ok;
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const int runMs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 4000;

    MainWindowShots shots(dir, runMs);
    if (!shots.show()) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }
    shots.startUp();
    shots.defaultRun();
    shots.predictedPath();
    shots.burnPreview();
    shots.orbitData();
    shots.secondPlanet();
    shots.putAway();
    // The first window stays, hidden, while the second is shot.
    const bool toolWindowsOk = toolWindowShots(dir, runMs);
    const bool viewOk = viewShots(dir);
    const bool labOk = labShots(dir);
    return shots.ok() && toolWindowsOk && viewOk && labOk ? 0 : 1;
}
