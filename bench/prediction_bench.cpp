// Microseconds to predict one path: a revolution of the default orbit, the same
// with a second planet of mass 0.0123 at 2.5 length units, and an escape at
// 12,000 m/s. Each reports the points the path holds.

#include <benchmark/benchmark.h>

#include <cmath>

#include "orbit/prediction.h"

namespace {

using namespace korvel;

// The default run: 1.02 length units out, 8000 m/s at 1.57 rad.
SimulationState defaultRun(double speed, bool secondPlanet) {
    SimulationState s;
    s.posX[kCraft] = 1.02 * kLengthUnit;
    s.velX[kCraft] = speed * std::cos(1.57);
    s.velY[kCraft] = speed * std::sin(1.57);
    if (secondPlanet) {
        s.secondPlanetOn = true;
        s.secondPlanetMass = 0.0123;
        s.posX[kSecondPlanet] = 2.5 * kLengthUnit;
        s.velY[kSecondPlanet] = std::sqrt(9.8 / (2.5 * 2.5) * s.posX[kSecondPlanet]);
    }
    return s;
}

void predict(benchmark::State& bench, double speed, bool secondPlanet) {
    const SimulationState s = defaultRun(speed, secondPlanet);
    // The default view: screen scale 3, so its corners are 4.5 units out.
    const orbit::PredictionSettings settings{orbit::Planet{1}, 1, 4.53 * kLengthUnit};
    std::size_t points = 0;
    for (auto _ : bench) {
        const orbit::PredictedPath path = orbit::predictPath(s, settings);
        points = path.points.size();
        benchmark::DoNotOptimize(path.points.data());
    }
    bench.counters["points"] = static_cast<double>(points);
}

void BM_PredictDefaultOrbit(benchmark::State& bench) { predict(bench, 8000, false); }
void BM_PredictSecondPlanet(benchmark::State& bench) { predict(bench, 8000, true); }
void BM_PredictEscape(benchmark::State& bench) { predict(bench, 12000, false); }

BENCHMARK(BM_PredictDefaultOrbit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PredictSecondPlanet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PredictEscape)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
