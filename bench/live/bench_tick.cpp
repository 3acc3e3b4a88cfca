// Microseconds per full tick on the real window's controls and drawing
// surface, on the offscreen platform (no X server needed):
//
//   build/bench/live/bench_tick
//
// BM_TickCore times the tick handler alone, as the timer runs it. During a run
// the window pushes the changed texts into the widgets at display pace, not
// per tick; BM_TickWindow adds that push to every tick, the worst case.
// BM_SaveScenario and BM_OpenScenario time keeping a run with its drawing in
// a file and bringing it back; the file's size is in their label.
// BM_RedrawView draws the view of a 200,000-row log anew, and
// BM_TickWindowZoomed is BM_TickWindow in a zoomed view.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include "app/panel.h"
#include "ui/qt/drawing_view.h"
#include "ui/qt/korvel_window.h"
#include "ui/qt/scenario_files.h"

namespace {

korvel::qt::KorvelWindow* window = nullptr;

void startDefaultRun() {
    window->core().runSImulation_Click();
    // The bench drives the ticks itself.
    window->timer().setEnabled(false);
}

void BM_TickCore(benchmark::State& state) {
    startDefaultRun();
    for (auto _ : state) window->core().Timer1_Timer();
    state.SetLabel("core().Timer1_Timer()");
}
BENCHMARK(BM_TickCore)->Unit(benchmark::kMicrosecond);

void BM_TickWindow(benchmark::State& state) {
    startDefaultRun();
    for (auto _ : state) {
        window->tick();
        window->flushTexts();
    }
    state.SetLabel("tick, then its texts pushed into the widgets");
}
BENCHMARK(BM_TickWindow)->Unit(benchmark::kMicrosecond);

// A default run of a few hundred ticks, kept in a file of its own.
QString keptRun(korvel::qt::ScenarioFiles& files, const QTemporaryDir& dir) {
    startDefaultRun();
    for (int i = 0; i < 300; ++i) window->tick();
    window->core().cmd_stop_simulation_Click();
    const QString file = dir.filePath("kept.korvel");
    files.save(file);
    return file;
}

void BM_SaveScenario(benchmark::State& state) {
    const QTemporaryDir dir;
    korvel::qt::ScenarioFiles files(window, *window);
    const QString file = keptRun(files, dir);
    for (auto _ : state) benchmark::DoNotOptimize(files.save(file));
    state.SetLabel(QString("a run with its drawing, %1 bytes").arg(QFileInfo(file).size()).toStdString());
}
BENCHMARK(BM_SaveScenario)->Unit(benchmark::kMillisecond);

void BM_OpenScenario(benchmark::State& state) {
    const QTemporaryDir dir;
    korvel::qt::ScenarioFiles files(window, *window);
    const QString file = keptRun(files, dir);
    for (auto _ : state) benchmark::DoNotOptimize(files.open(file));
    state.SetLabel("read, checked, drawing decoded, run restored");
}
BENCHMARK(BM_OpenScenario)->Unit(benchmark::kMillisecond);

// A default orbit run fast, until its trail holds `rows` rows, the whole
// orbit then fitted into the view.
void logOfRows(std::size_t rows) {
    window->setText(korvel::ControlArray::txt_masses, korvel::kBoxTimeFactor, "100000");
    startDefaultRun();
    const auto& kept = window->core().log().trail().rows();
    while (kept.size() < rows) window->core().Timer1_Timer();
    window->setText(korvel::ControlArray::txt_masses, korvel::kBoxTimeFactor, "1000");
    window->view().fit({});
}

void BM_RedrawView(benchmark::State& state) {
    logOfRows(200'000);
    for (auto _ : state) {
        // A new line width throws the cached image away: the next picture
        // is drawn from the log.
        window->view().setLineWidth(2);
        benchmark::DoNotOptimize(window->view().image());
    }
    state.SetLabel(QString("%1 rows, whole orbit in view, 2 px lines")
                       .arg(window->core().log().trail().rows().size())
                       .toStdString());
    window->view().reset();
}
BENCHMARK(BM_RedrawView)->Unit(benchmark::kMillisecond);

// A tick in a zoomed view: beside BM_TickWindow, what the view's cached
// image adds.
void BM_TickWindowZoomed(benchmark::State& state) {
    startDefaultRun();
    window->view().zoomIn();
    window->view().image();
    for (auto _ : state) {
        window->tick();
        window->flushTexts();
    }
    window->view().reset();
    state.SetLabel("as BM_TickWindow, the view zoomed in twice");
}
BENCHMARK(BM_TickWindowZoomed)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The recent list goes to a scratch folder, not the user's settings.
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    korvel::qt::KorvelWindow korvelWindow;
    korvelWindow.show();
    window = &korvelWindow;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
