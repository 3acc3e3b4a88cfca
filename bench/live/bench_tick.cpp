// Microseconds per full tick on the real window's controls and drawing
// surface, on the offscreen platform (no X server needed):
//
//   build/bench/live/bench_tick
//
// BM_TickCore times the tick handler alone, as the timer runs it. During a run
// the window pushes the changed texts into the widgets at display pace, not
// per tick; BM_TickWindow adds that push to every tick, the worst case.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/qt/korvel_window.h"

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

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    korvel::qt::KorvelWindow korvelWindow;
    korvelWindow.show();
    window = &korvelWindow;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
