#include "app/scenario.h"

#include <cmath>

#include "app/korvel.h"
#include "app/panel.h"
#include "app/view/view_geometry.h"
#include "sim/numbers.h"

namespace korvel {

const char* scenarioBoxName(int box) {
    switch (box) {
    case kBoxSecondPlanetMass: return kSecondPlanetMassName;
    case kBoxSecondPlanetDist: return kSecondPlanetDistName;
    default: return kLabelCaptions.at(box);
    }
}

Scenario defaultScenario() {
    Scenario scenario;
    for (int box : kScenarioBoxes) scenario.panel[box] = kDefaultTexts[box];
    return scenario;
}

std::string tooLargeFault() { return "it is larger than " + std::to_string(kScenarioLargestFile >> 20) + " MB"; }

std::optional<std::string> runFault(const SavedRun& run) {
    const SimulationState& s = run.state;
    for (int body = 0; body < kBodyCount; ++body) {
        for (double v : {s.posX[body], s.posY[body], s.velX[body], s.velY[body]})
            if (!std::isfinite(v)) return "a position or velocity is not a finite number";
    }
    if (s.posX[kPlanet] != 0 || s.posY[kPlanet] != 0 || s.velX[kPlanet] != 0 || s.velY[kPlanet] != 0)
        return "the planet is not at rest at the centre";
    for (double r : s.ringRadius)
        if (!std::isfinite(r)) return "a ring radius is not a finite number";
    for (double v : {s.startRadius, s.secondPlanetMass, s.secondPlanetRadius, s.secondPlanetPrevX, s.secondPlanetPrevY,
                     s.distReadout})
        if (!std::isfinite(v)) return "a figure of the run is not a finite number";
    if (!(std::isfinite(run.runClock) && run.runClock >= 0 && std::isfinite(run.sinceLastTick) &&
          run.sinceLastTick >= 0))
        return "the run's clock is not a time";
    // Beyond 2^53 a count no longer reads back whole.
    if (!(run.subSteps >= 0 && run.subSteps <= (std::int64_t{1} << 53))) return "its sub-step count is out of range";
    const std::pair<const char*, const std::string*> settings[] = {{"time factor", &s.timeFactor},
                                                                   {"planet mass", &s.planetMass},
                                                                   {"screen scale", &s.screenScale},
                                                                   {"init ang pos", &s.startAngle}};
    for (const auto& [name, text] : settings)
        if (!snapshotNumber(*text)) return std::string("the run's ") + name + " is not a number";
    if (!ViewGeometry(*snapshotNumber(s.screenScale)).finite() ||
        (run.pictureScale && !(*run.pictureScale != 0 && ViewGeometry(*run.pictureScale).finite())))
        return "the run's screen scale is out of range";
    bool sizeKnown = s.impulseSize == 0;
    for (int size : kImpulseSizes) sizeKnown = sizeKnown || s.impulseSize == size;
    if (!sizeKnown) {
        std::string sizes;
        for (std::size_t i = 0; i < kImpulseSizes.size(); ++i)
            sizes += (i == 0 ? "" : i + 1 == kImpulseSizes.size() ? " and " : ", ") + std::to_string(kImpulseSizes[i]);
        return "the impulse size is none of " + sizes;
    }
    return std::nullopt;
}

}  // namespace korvel

namespace korvel {

double savedSimulatedTime(const SavedRun& run) {
    const auto timeFactor = snapshotNumber(run.state.timeFactor);
    if (!timeFactor || run.subSteps == 0) return 0;
    return static_cast<double>(run.subSteps) * *timeFactor / Korvel::kSubStepsPerSecond;
}

}  // namespace korvel
