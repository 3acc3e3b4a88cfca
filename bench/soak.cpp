// One simulated hour of 1 ms ticks (3.6 million) through the real window core
// on stand-ins, the second planet on, with what the predicted path and the
// Orbit Data window work out ten times a second: prints the time taken, the
// memory at the start and the end, and whether every stored figure stayed
// finite.

#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

#include "app/panel.h"
#include "fakes.h"
#include "orbit/energy_history.h"
#include "orbit/prediction.h"
#include "sim/numbers.h"

namespace {

using namespace korvel;

long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;  // kilobytes on Linux
}

long currentRssKb() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr long kTicks = 3'600'000;  // one hour at 1 ms
constexpr double kStep = 0.001;

// The default run with the second planet on, as the panel places it.
bool startWithSecondPlanet(Korvel& window, testing::FakeControls& controls, const testing::FakeTimer& timer) {
    window.Form_Load();
    controls.box(kBoxSecondPlanetMass) = ".0123";
    controls.box(kBoxSecondPlanetDist) = "60.2";
    window.cmd_color_Click(kBankSecondPlanet);
    window.runSImulation_Click();  // the default panel: time factor 1000
    return window.state().secondPlanetOn && timer.ticking() && controls.messages.empty();
}

// The readings the hour started from, and what it leaves for the report.
struct Soak {
    const long peakStartKb;
    const long rssStartKb;
    const double clockStart;  // s
    long ticks = 0;
    bool finite = true;
    std::size_t pathPoints = 0;
    long rssTenthKb = 0;  // after a tenth of the ticks: growth after it would be a leak
    double wall = 0;      // s
    orbit::EnergyHistory history{};
};

// The ticks, with what the orbit views work out at display pace; stops early
// if the timer does.
void runTicks(Korvel& window, const testing::FakeTimer& timer, testing::SetClock& clock, Soak& soak) {
    const SimulationState& s = window.state();
    const orbit::Planet planet{*snapshotNumber(s.planetMass)};
    const auto wallStart = std::chrono::steady_clock::now();
    for (long i = 1; i <= kTicks; ++i) {
        clock.reading = soak.clockStart + i * kStep;
        if (!timer.ticking()) break;
        window.Timer1_Timer();
        ++soak.ticks;
        soak.finite = soak.finite && testing::allFinite(s);
        if (i % 100 == 0) {  // display pace for the orbit views
            const double simulated = (clock.reading - s.runStartTime) * 1000;
            if (const auto sample = orbit::energyOf(s, planet, simulated)) soak.history.add(*sample);
            soak.finite = soak.finite && orbit::orbitFigures({s.posX[kCraft], s.posY[kCraft]},
                                                             {s.velX[kCraft], s.velY[kCraft]}, planet);
            soak.pathPoints = orbit::predictPath(s, {planet, 1, 4.53 * kLengthUnit}).points.size();
        }
        if (i == kTicks / 10) soak.rssTenthKb = currentRssKb();
    }
    soak.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
}

void report(const Soak& soak, const SimulationState& s, const testing::CountingSurface& picture,
            const testing::FakeControls& controls, double clockEnd) {
    std::printf("ticks run: %ld of %ld (time factor %s, 100 sub-steps each)\n", soak.ticks, kTicks,
                s.timeFactor.c_str());
    std::printf("wall time: %.2f s, %.2f us per tick\n", soak.wall, soak.wall / soak.ticks * 1e6);
    std::printf("simulated: %.1f days\n", (clockEnd - soak.clockStart) * 1000 / 86400);
    std::printf("drawing calls: %llu, every figure finite: %s\n", static_cast<unsigned long long>(picture.calls),
                picture.allFinite ? "yes" : "no");
    std::printf("peak RSS: %ld kB at start, %ld kB at end\n", soak.peakStartKb, peakRssKb());
    std::printf("current RSS: %ld kB at start, %ld kB after a tenth, %ld kB at end\n", soak.rssStartKb, soak.rssTenthKb,
                currentRssKb());
    std::printf("energy spans kept: %zu of %zu; last predicted path: %zu points\n", soak.history.spans().size(),
                soak.history.capacity(), soak.pathPoints);
    std::printf("state finite throughout: %s; messages: %zu\n", soak.finite ? "yes" : "no", controls.messages.size());
    std::printf("craft distance: %.6f length units; second planet: %.3f length units out\n",
                std::hypot(s.posX[kCraft], s.posY[kCraft]) / kLengthUnit,
                std::hypot(s.posX[kSecondPlanet], s.posY[kSecondPlanet]) / kLengthUnit);
}

}  // namespace

int main() {
    testing::FakeControls controls;
    testing::CountingSurface picture;
    testing::FakeTimer timer;
    testing::SetClock clock;
    testing::SeededRandom random(12345u);
    Korvel window(Platform{controls, picture, timer, clock, random});
    if (!startWithSecondPlanet(window, controls, timer)) {
        std::printf("set-up failed\n");
        return 1;
    }
    const long peakStartKb = peakRssKb();
    const long rssStartKb = currentRssKb();
    Soak soak{peakStartKb, rssStartKb, clock.reading};
    runTicks(window, timer, clock, soak);
    report(soak, window.state(), picture, controls, clock.reading);
    return soak.finite && picture.allFinite ? 0 : 1;
}
