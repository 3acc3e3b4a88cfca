// A run's data: ticks per second of a run without a window over ten
// simulated days of the default scenario (a row every 10 s, written as CSV),
// beside the bound the bare sub-step chain sets on a tick of 100 sub-steps,
// measured in the same run; milliseconds to export 24 simulated hours kept
// in the window's history; the history's memory after 3.6 million ticks.

#include <benchmark/benchmark.h>

#include "app/files/data_csv.h"
#include "app/headless_run.h"
#include "bare_chain.h"
#include "fakes.h"

namespace {

using namespace korvel;

void BM_HeadlessTenDays(benchmark::State& bench) {
    std::uint64_t ticks = 0;
    for (auto _ : bench) {
        std::string text = csvHeader(CsvStyle::Comma);
        const auto outcome = runHeadless(defaultScenario(), {864'000, 10},
                                         {[&](const DataRow& row) { appendCsvRow(text, row, CsvStyle::Comma); }, {}});
        benchmark::DoNotOptimize(text.data());
        ticks += outcome.ticks;
    }
    bench.counters["ticks_per_s"] = benchmark::Counter(double(ticks), benchmark::Counter::kIsRate);
}

// One tick's worth of the bare chain: the most ticks a second any run could
// make.
void BM_BareChainTickBound(benchmark::State& bench) {
    double x = 1.02;
    const double y = 0.3;
    for (auto _ : bench) {
        for (int i = 0; i < Korvel::kSubSteps; ++i) {
            x = korvel::bench::bareChainStep(x, y);
            benchmark::DoNotOptimize(x);
        }
    }
    bench.counters["ticks_per_s"] = benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
}

// The window's core on stand-ins that draw nothing, its log fed as in the
// window, for `ticks` 1 ms ticks of the default run.
struct RecordedRun {
    explicit RecordedRun(std::uint64_t ticks) {
        korvel.Form_Load();
        korvel.runSImulation_Click();
        for (std::uint64_t k = 1; k <= ticks; ++k) {
            clock.reading = 100 + static_cast<double>(k) / 1000;
            korvel.Timer1_Timer();
        }
    }
    testing::FakeControls controls;
    testing::CountingSurface picture;
    testing::FakeTimer timer;
    SetClock clock;
    testing::SeededRandom random{1};
    Korvel korvel{Platform{controls, picture, timer, clock, random}};
};

void BM_ExportDayFromHistory(benchmark::State& bench) {
    const RecordedRun run(86'400);
    const auto& rows = run.korvel.log().history().rows();
    std::size_t bytes = 0;
    for (auto _ : bench) {
        const std::string text = csvText(rows, CsvStyle::Comma);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    bench.counters["rows"] = double(rows.size());
    bench.counters["bytes"] = double(bytes);
}

void BM_HistoryMemoryAfterAnHour(benchmark::State& bench) {
    for (auto _ : bench) {
        const RecordedRun run(3'600'000);
        bench.counters["rows"] = double(run.korvel.log().history().rows().size());
        bench.counters["MB"] = double(run.korvel.log().history().memoryBytes()) / 1e6;
    }
}

BENCHMARK(BM_BareChainTickBound);
BENCHMARK(BM_HeadlessTenDays)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BareChainTickBound);
BENCHMARK(BM_ExportDayFromHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryMemoryAfterAnHour)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
