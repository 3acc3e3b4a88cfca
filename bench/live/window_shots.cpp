// Screenshots of the window for the docs: after start-up; "Run Simulation"
// with the keyboard focus and without, four times enlarged; after a few
// seconds of a default run with "impulse 100" chosen; and after a second
// planet is placed 2.5 radii out with the Moon's mass.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/live/window_shots docs
//
// writes <dir>/window.png, run-button-focus.png, run-button-no-focus.png,
// run.png and second-planet.png (the window's client area, or part of it).

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <cstdio>

#include "ui/qt/korvel_window.h"

// Runs the event loop for the given time; QTest::qWait would sleep between
// events and slow the ticks down.
static void spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const int runMs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 4000;

    korvel::qt::KorvelWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }
    // The focus shows only in the active window.
    window.activateWindow();
    spin(200);
    auto* run = window.findChild<QPushButton*>("runSImulation");
    if (!run->hasFocus()) std::fprintf(stderr, "\"Run Simulation\" has no focus: no window activation here\n");
    bool ok = window.grab().save(dir + "/window.png");

    const QRect around = run->geometry().adjusted(-8, -8, 8, 8);
    auto enlarged = [&] {
        return window.grab(around).scaled(around.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    };
    ok = enlarged().save(dir + "/run-button-focus.png") && ok;
    window.findChild<QLineEdit*>("txt_masses(0)")->setFocus();
    ok = enlarged().save(dir + "/run-button-no-focus.png") && ok;

    // Clicked as a mouse does, so the focus follows the clicks.
    auto click = [&](const char* name) {
        QTest::mouseClick(window.findChild<QPushButton*>(name), Qt::LeftButton);
    };
    click("cmd_color(5)");
    click("runSImulation");
    spin(runMs);
    ok = window.grab().save(dir + "/run.png") && ok;
    std::printf("ticks: %llu\n", static_cast<unsigned long long>(window.tickCount()));

    click("runSImulation");
    window.findChild<QLineEdit*>("txt_masses(12)")->setText(".0123");
    window.findChild<QLineEdit*>("txt_masses(13)")->setText("2.5");
    click("cmd_color(8)");
    spin(runMs / 2);
    ok = window.grab().save(dir + "/second-planet.png") && ok;
    return ok ? 0 : 1;
}
