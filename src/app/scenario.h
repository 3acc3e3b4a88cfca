#pragma once
// A scenario: the panel as typed, with a title and a description, and, when
// kept during a run, all that run needs to go on from that moment. The file
// format lives elsewhere; this is what it holds and what the program checks.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/platform.h"
#include "app/run_log.h"
#include "sim/state.h"
#include "sim/vec2.h"

namespace korvel {

inline constexpr std::string_view kScenarioFormat = "korvel-scenario";
inline constexpr int kScenarioVersion = 1;
// Longer texts are no panel's or description's; a file holding one is refused.
inline constexpr std::size_t kScenarioLongestText = 1000;
inline constexpr std::size_t kScenarioLargestFile = 8 * 1024 * 1024;

// The input boxes a scenario keeps, in the file's order; the readouts are not kept.
inline constexpr std::array<int, 11> kScenarioBoxes = {0, 1, 2, 3, 4, 5, 6, 7, 9, 12, 13};

// A box's name in the file: the name a screen reader reads for it.
const char* scenarioBoxName(int box);

// A run as kept: the state record (its texts are the settings as the run's
// start read them; its clock fields are not kept), the run's clock, the
// readouts as shown, and the drawing, which only the window decodes.
struct SavedRun {
    SimulationState state;
    // Real seconds since the run started, pauses excluded, and since its last
    // tick, so that the next tick covers what it would have.
    double runClock = 0;
    double sinceLastTick = 0;
    // Sub-steps run since the run started: its state's moment.
    std::int64_t subSteps = 0;
    // The texts of "clock time", "realtime interval" and "speed", and the
    // distance button's caption.
    std::string clockTime, realtimeInterval, speed, distanceCaption;
    // The screen scale the drawing was last set up with; none when no
    // "Run Simulation" ever set one.
    std::optional<double> pictureScale;
    // The drawing, a PNG, as the file's base64 text.
    std::string drawingBase64;
    // The run's log up to that moment; none in a file from before logs were
    // kept, whose log starts at the moment it is opened.
    std::optional<KeptLog> log;
};

// How the view was set up when the scenario was kept, so that a teacher's
// set-up opens ready to measure: the colours, the line width, the tools over
// the drawing and the zoom and centre. World points are metres from the
// planet's centre.
enum class ViewColours { Dark, Light };
struct ScenarioView {
    ViewColours colours = ViewColours::Dark;
    int lineWidth = 1;  // px: 1, 2 or 3
    bool grid = false;
    // The measuring tape's ends while it is on.
    std::optional<std::array<Vec2, 2>> tape;
    bool velocityArrow = false;
    bool gravityArrow = false;
    // Times the typed screen scale, within the view's zoom limits.
    double zoom = 1;
    Vec2 centre;
    friend bool operator==(const ScenarioView&, const ScenarioView&) = default;
};

struct Scenario {
    std::string title;
    std::string description;
    // Texts by box index; only kScenarioBoxes count, the rest stay empty.
    std::array<std::string, kBoxCount> panel;
    std::optional<SavedRun> run;
    // None in a file that keeps no view: it opens in the view the operator has.
    std::optional<ScenarioView> view;
};

// The panel as the program starts with it, untitled and without a run.
Scenario defaultScenario();

// "it is larger than 8 MB", from the limit itself, in every reader's words.
std::string tooLargeFault();

// Why the program could not go on from the run, or nothing when it can.
std::optional<std::string> runFault(const SavedRun& run);

// The run's simulated time at its kept moment, as the program works it out.
double savedSimulatedTime(const SavedRun& run);

}  // namespace korvel
