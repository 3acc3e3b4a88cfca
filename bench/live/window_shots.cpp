// Screenshots of the window for the docs: after start-up, and after a few
// seconds of a default run with "impulse 100" chosen.
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/live/window_shots docs
//
// writes <dir>/window.png and <dir>/run.png (the window's client area).

#include <QApplication>
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
    spin(200);
    bool ok = window.grab().save(dir + "/window.png");

    window.findChild<QPushButton*>("cmd_color(5)")->click();
    window.findChild<QPushButton*>("runSImulation")->click();
    spin(runMs);
    ok = window.grab().save(dir + "/run.png") && ok;
    std::printf("ticks: %llu\n", static_cast<unsigned long long>(window.tickCount()));
    return ok ? 0 : 1;
}
