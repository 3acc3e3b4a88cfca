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
// second-planet.png, orbit-second-planet.png, orbit-data-step-warning.png and
// tool-windows.png.

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "orbit/burn_preview.h"
#include "orbit/prediction.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/orbit_insight.h"

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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const int runMs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 4000;

    korvel::qt::MainWindow main;
    korvel::qt::KorvelWindow& window = main.korvel();
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }
    // The focus shows only in the active window.
    main.activateWindow();
    spin(200);
    auto* run = window.findChild<QPushButton*>("runSImulation");
    if (!run->hasFocus()) std::fprintf(stderr, "\"Run Simulation\" has no focus: no window activation here\n");
    bool ok = main.grab().save(dir + "/window.png");

    const QRect around = run->geometry().adjusted(-8, -8, 8, 8);
    auto enlarged = [&] {
        return window.grab(around).scaled(around.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    ok = enlarged().save(dir + "/run-button-focus.png") && ok;
    window.findChild<QLineEdit*>("txt_masses(0)")->setFocus();
    ok = enlarged().save(dir + "/run-button-no-focus.png") && ok;

    // Clicked as a mouse does, so the focus follows the clicks.
    auto click = [&](const char* name) { QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton); };
    auto action = [&](const char* name) { return main.findChild<QAction*>(name); };
    click("cmd_color(5)");
    click("runSImulation");
    spin(runMs);
    ok = main.grab().save(dir + "/run.png") && ok;
    std::printf("ticks: %llu\n", static_cast<unsigned long long>(window.tickCount()));

    // One burn forward of 1000 m/s stretches the orbit into a long ellipse.
    action("actionPredictedPath")->setChecked(true);
    click("cmd_color(4)");
    click("cmd_color(0)");
    // The focus on "forward" would preview a second burn.
    auto* box0 = window.findChild<QLineEdit*>("txt_masses(0)");
    box0->setFocus();
    spin(runMs / 2);
    ok = main.grab().save(dir + "/orbit-path.png") && ok;

    // A preview shows while the pointer is on a burn button, here paused.
    click("cmd_stop_simulation");
    box0->setFocus();
    auto* forward = window.findChild<QPushButton*>("cmd_color(0)");
    QEnterEvent enter(QPointF(5, 5), forward->mapTo(&main, QPointF(5, 5)), forward->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(forward, &enter);
    ok = main.grab().save(dir + "/burn-preview.png") && ok;
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(forward, &leave);

    // A few burns with the Orbit Data window open.
    action("actionOrbitData")->setChecked(true);
    click("cmd_continue");
    for (const char* burn : {"cmd_color(0)", "cmd_color(1)", "cmd_color(2)"}) {
        spin(runMs / 3);
        click("cmd_color(5)");
        click(burn);
    }
    spin(runMs / 2);
    if (QWidget* data = main.insight().dataWindow())
        ok = data->grab().save(dir + "/orbit-data.png") && ok;
    else
        std::fprintf(stderr, "no Orbit Data window in this build\n");
    action("actionOrbitData")->setChecked(false);

    action("actionPredictedPath")->setChecked(false);
    click("runSImulation");
    window.findChild<QLineEdit*>("txt_masses(12)")->setText(".0123");
    window.findChild<QLineEdit*>("txt_masses(13)")->setText("2.5");
    click("cmd_color(8)");
    spin(runMs / 2);
    ok = main.grab().save(dir + "/second-planet.png") && ok;
    // Two burns forward take the craft out to the second planet, fired when
    // its pull will bend the path by a sixth of a unit or more (or after
    // one of its revolutions).
    click("cmd_color(4)");
    for (int wait = 0; wait < 200 && bendAfterTwoBurns(window.core().state()) < kLengthUnit / 6.0; ++wait) spin(100);
    action("actionPredictedPath")->setChecked(true);
    click("cmd_color(0)");
    click("cmd_color(0)");
    box0->setFocus();
    spin(runMs / 4);
    ok = main.grab().save(dir + "/orbit-second-planet.png") && ok;

    click("cmd_stop_simulation");
    main.hide();

    // A fresh main window, centred as window managers place it, so that the
    // tool windows are placed anew, during a run at time factor 1e6: each
    // sub-step is too long for the task's low orbit.
    korvel::qt::MainWindow centred;
    centred.show();
    if (!QTest::qWaitForWindowExposed(&centred)) return 1;
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
    ok = centred.screen()->grabWindow(0).save(dir + "/tool-windows.png") && ok;
    if (QWidget* data = centred.insight().dataWindow())
        ok = data->grab().save(dir + "/orbit-data-step-warning.png") && ok;
    return ok ? 0 : 1;
}
