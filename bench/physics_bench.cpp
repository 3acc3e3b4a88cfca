// Nanoseconds per physics sub-step, with the second planet off and on, and for
// comparison the floors under them: a chain of square roots, each waiting for
// the last, and the bare chain of an inverse-square sub-step.

#include <benchmark/benchmark.h>

#include <cmath>

#include "bare_chain.h"
#include "sim/physics.h"

namespace {

using namespace korvel;

SimulationState circularOrbit(bool secondPlanet) {
    SimulationState s;
    s.posX[kCraft] = 1.02 * kLengthUnit;
    s.velY[kCraft] = std::sqrt(9.8 * kLengthUnit / 1.02);
    if (secondPlanet) {
        s.secondPlanetOn = true;
        s.secondPlanetMass = 0.0123;
        s.posX[kSecondPlanet] = 60.2 * kLengthUnit;
        s.velY[kSecondPlanet] = std::sqrt(9.8 / (60.2 * 60.2) * s.posX[kSecondPlanet]);
    }
    return s;
}

void subStep(benchmark::State& bench, bool secondPlanet) {
    SimulationState s = circularOrbit(secondPlanet);
    const StepConstants k = stepConstants(s, 0.01, 1);
    for (auto _ : bench) {
        benchmark::DoNotOptimize(advanceSubStep(s, k));
    }
    benchmark::DoNotOptimize(s);
}

void BM_SubStepSecondPlanetOff(benchmark::State& bench) { subStep(bench, false); }
void BM_SubStepSecondPlanetOn(benchmark::State& bench) { subStep(bench, true); }

void BM_DependentSquareRoot(benchmark::State& bench) {
    double x = 2;
    for (auto _ : bench) {
        x = std::sqrt(x) + 1;
        benchmark::DoNotOptimize(x);
    }
}

void BM_BareChain(benchmark::State& bench) {
    double x = 1.02;
    const double y = 0.3;
    for (auto _ : bench) {
        x = korvel::bench::bareChainStep(x, y);
        benchmark::DoNotOptimize(x);
    }
}

BENCHMARK(BM_SubStepSecondPlanetOff);
BENCHMARK(BM_SubStepSecondPlanetOn);
BENCHMARK(BM_DependentSquareRoot);
BENCHMARK(BM_BareChain);

}  // namespace

BENCHMARK_MAIN();
