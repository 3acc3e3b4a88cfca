// The largest relative deviation of the distance over ten circular orbits,
// run through the real tick on a clock of exact 1 ms ticks at time factor 1000;
// and how far the trail of a default run strays from the path predicted at its
// start, with the second planet off and on.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "app/panel.h"
#include "fakes.h"
#include "sim/numbers.h"

int main() {
    using namespace korvel;
    testing::FakeControls controls;
    testing::CountingSurface picture;
    testing::FakeTimer timer;
    testing::SetClock clock;
    testing::ScriptedRandom random;
    Korvel window(Platform{controls, picture, timer, clock, random});
    window.Form_Load();

    const double distance = 1.02;
    const double speed = std::sqrt(9.8 * kLengthUnit / distance);
    controls.box(kBoxBurn) = plainNumberText(speed);
    controls.box(kBoxDirection) = "1.5707963";
    window.runSImulation_Click();

    const SimulationState& s = window.state();
    const double r0 = distance * kLengthUnit;
    const double period = 2 * std::numbers::pi * r0 / speed;  // simulated seconds
    const long ticks = std::lround(10 * period / 1000 / 0.001);
    double worst = 0;
    for (long i = 0; i < ticks; ++i) {
        clock.reading += 0.001;
        window.Timer1_Timer();
        worst = std::max(worst, std::abs(std::hypot(s.posX[kCraft], s.posY[kCraft]) / r0 - 1));
    }
    std::printf("orbits: 10, ticks: %ld, sub-steps: %ld\n", ticks, ticks * 100);
    std::printf("largest relative distance deviation: %.3g\n", worst);

    // The predicted path against the trail then drawn, over one revolution.
    for (const bool second : {false, true}) {
        const auto check = testing::trailAgainstPath("1000", second);
        std::printf("predicted path, second planet %s: %zu points, trail within %.4f px of it\n",
                    second ? "on " : "off", check.path.points.size(), check.worstPixels);
    }
    return 0;
}
