// Time from process start to the first painted window, and peak memory.
// Run it on an X server:
//
//   xvfb-run -a -s "-screen 0 1024x768x24" build/bench/live/startup_probe
//
// Process start comes from /proc/self/stat (10 ms resolution, against
// CLOCK_BOOTTIME); the time from main() is given too. The window counts as
// painted when the drawing surface's first paint event has been handled.

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include "ui/qt/korvel_window.h"
#include "ui/qt/main_window.h"

namespace {

double bootSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

// Seconds since boot at which this process started; negative if unknown.
double processStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The command name may hold blanks; fields resume after its ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream rest(line.substr(close + 2));
    std::string field;
    // Field 3 (state) is the first after the name; starttime is field 22.
    for (int i = 3; i < 22 && rest >> field; ++i) {
    }
    unsigned long long ticks = 0;
    if (!(rest >> ticks)) return -1;
    return static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

class FirstPaint : public QObject {
public:
    explicit FirstPaint(double mainStart) : mainStart_(mainStart) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Report once the paint has been handled.
            QTimer::singleShot(0, [this] { report(); });
        }
        return false;
    }

private:
    void report() {
        const double now = bootSeconds();
        const double start = processStart();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        if (start >= 0) std::printf("process start -> first paint: %.0f ms (target <= 300 ms)\n", 1000 * (now - start));
        std::printf("main()        -> first paint: %.0f ms\n", 1000 * (now - mainStart_));
        std::printf("peak memory (max RSS):        %.1f MB (target <= 80 MB)\n", usage.ru_maxrss / 1024.0);
        QCoreApplication::quit();
    }

    double mainStart_;
    bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const double mainStart = bootSeconds();
    QApplication app(argc, argv);
    korvel::qt::MainWindow window;
    FirstPaint probe(mainStart);
    window.korvel().picture().installEventFilter(&probe);
    window.show();
    QTimer::singleShot(10000, [] {
        std::fprintf(stderr, "no paint within 10 s\n");
        QCoreApplication::exit(1);
    });
    return QApplication::exec();
}
