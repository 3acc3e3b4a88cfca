// The tick rate of a default run in a real window against a bare
// 1 ms timer, and the CPU share of the run. Run it on an X server:
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/live/live_rate [--orbit] [--zoomed] [--maximised]
//       [--tools] [--light]
//
// First 3 s of a bare 1 ms precise timer with an empty handler, then 10 s of
// a default run ("Run Simulation"); the CPU share is taken over 5 s in the
// middle of the run. With --orbit the predicted path and the Orbit Data
// window are on; with --zoomed the drawing is a view zoomed in twice; with
// --maximised the window fills the screen (a view of the run too); with
// --tools the grid, the tape and both arrows are on; with --light the Light
// profile.
//
// With --drift SCENARIO REVOLUTIONS it runs that scenario in the window for
// as many revolutions of its starting orbit instead, and prints how far the
// total energy strayed from its start: run a busy loop beside it to see what
// a loaded machine does to the run.

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "orbit/elements.h"
#include "orbit/energy_history.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"

namespace {

double cpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
#endif
}

// Runs the event loop for the given time.
void spin(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the window's scenario for `revolutions` of its starting orbit and
// prints the largest relative change of the total energy on the way.
int measureDrift(korvel::qt::MainWindow& main, double revolutions) {
    korvel::qt::KorvelWindow& window = main.korvel();
    window.findChild<QPushButton*>("runSImulation")->click();
    const korvel::Korvel& core = window.core();
    const korvel::orbit::Planet planet{core.settings()->planetMass};
    const auto energy = [&] { return korvel::orbit::energyOf(core.state(), planet, 0)->total(); };
    const korvel::SimulationState& s = core.state();
    const auto figures = korvel::orbit::orbitFigures({s.posX[korvel::kCraft], s.posY[korvel::kCraft]},
                                                     {s.velX[korvel::kCraft], s.velY[korvel::kCraft]}, planet);
    if (!figures || !figures->period) {
        std::fprintf(stderr, "the scenario's orbit has no period\n");
        return 1;
    }
    const double start = energy();
    const double until = revolutions * *figures->period;
    double worst = 0, longestTick = 0;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&window, &korvel::qt::KorvelWindow::ticked, [&] {
        worst = std::max(worst, std::abs(energy() / start - 1));
        longestTick = std::max(longestTick, s.tickElapsed);
    });
    while (core.simulatedTime() < until) spin(100);
    std::printf("%.1f revolutions of %.1f min in %.1f s, %llu ticks, the longest %.1f ms\n", revolutions,
                *figures->period / 60, clock.nsecsElapsed() * 1e-9, static_cast<unsigned long long>(window.tickCount()),
                longestTick * 1e3);
    std::printf("largest energy drift: %.4f %%\n", 100 * worst);
    return 0;
}

}  // namespace

// The ceiling: ticks a second of a bare 1 ms timer with an empty handler, over 3 s.
static double bareTimerRate() {
    std::uint64_t bareTicks = 0;
    QTimer bare;
    bare.setTimerType(Qt::PreciseTimer);
    QObject::connect(&bare, &QTimer::timeout, [&] { ++bareTicks; });
    QElapsedTimer clock;
    clock.start();
    bare.start(1);
    spin(3000);
    bare.stop();
    return bareTicks / (clock.nsecsElapsed() * 1e-9);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    // The profile chosen here is the measurement's, not the user's.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    const bool orbit = arguments.contains("--orbit");
    korvel::qt::MainWindow main;
    korvel::qt::KorvelWindow& window = main.korvel();
    const bool maximised = arguments.contains("--maximised");
    const bool zoomed = arguments.contains("--zoomed");
    maximised ? main.showMaximized() : main.show();
    if (const auto drift = arguments.indexOf("--drift"); drift > 0 && drift + 2 < arguments.size()) {
        if (!main.openScenarioFile(arguments[drift + 1]) || !QTest::qWaitForWindowExposed(&main)) return 1;
        return measureDrift(main, arguments[drift + 2].toDouble());
    }
    if (orbit) {
        main.findChild<QAction*>("actionPredictedPath")->setChecked(true);
        main.findChild<QAction*>("actionOrbitData")->setChecked(true);
    }
    if (!QTest::qWaitForWindowExposed(&main)) {
        std::fprintf(stderr, "window not exposed\n");
        return 1;
    }
    spin(300);

    const double bareRate = bareTimerRate();

    // A default run.
    window.findChild<QPushButton*>("runSImulation")->click();
    if (zoomed) main.findChild<QAction*>("actionZoomIn")->trigger();
    for (const char* tool : {"actionGrid", "actionTape", "actionVelocityArrow", "actionGravityArrow"})
        if (arguments.contains("--tools")) main.findChild<QAction*>(tool)->setChecked(true);
    if (arguments.contains("--light")) main.findChild<QAction*>("actionColoursLight")->trigger();
    const std::uint64_t ticks0 = window.tickCount();
    const quint64 repaints0 = window.picture().repaintRequests();
    QElapsedTimer clock;
    clock.start();
    spin(2500);
    const double cpu0 = cpuSeconds();
    QElapsedTimer cpuWall;
    cpuWall.start();
    spin(5000);
    const double cpuShare = (cpuSeconds() - cpu0) / (cpuWall.nsecsElapsed() * 1e-9);
    spin(2500);
    const double runSeconds = clock.nsecsElapsed() * 1e-9;
    const double tickRate = (window.tickCount() - ticks0) / runSeconds;
    const double repaintRate = (window.picture().repaintRequests() - repaints0) / runSeconds;

    std::printf("predicted path and Orbit Data: %s\n", orbit ? "on" : "off");
    std::printf("view: %s, window %d x %d\n", window.view().active() ? "drawn from the run log" : "the drawing itself",
                main.width(), main.height());
    std::printf("bare 1 ms timer:   %.1f ticks/s\n", bareRate);
    std::printf("default run:       %.1f ticks/s over %.1f s\n", tickRate, runSeconds);
    std::printf("rate ratio:        %.3f (target >= 0.97)\n", tickRate / bareRate);
    std::printf("CPU share:         %.1f %% of one core over 5 s (target <= 10 %%)\n", 100 * cpuShare);
    std::printf("surface repaints:  %.1f /s\n", repaintRate);
    return 0;
}
