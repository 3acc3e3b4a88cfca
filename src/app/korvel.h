#pragma once
// The window `Korvel` as its handlers see it: it owns the one simulation
// state and has one handler per event, each in a file of this folder by what
// it does. The platform is reached only through the interfaces of platform.h.
// Views read the run through the typed read side below and drain the events;
// they never parse the state's texts or compare copies of it.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/platform.h"
#include "app/run_events.h"
#include "app/run_log.h"
#include "app/scenario.h"
#include "app/view/view_geometry.h"
#include "sim/state.h"

namespace korvel {

struct Platform {
    Controls& controls;
    Surface& picture;  // Picture1
    Timer& timer;      // Timer1
    Clock& clock;
    RandomSource& random;
};

// The panel as set-up reads it, checked and converted.
struct RunParameters {
    std::string planetMassText, timeFactorText, screenScaleText, startAngleText;
    double planetMass = 0;
    double timeFactor = 0;
    double screenScale = 0;
    double startRadius = 0;   // m
    double startAngle = 0;    // rad
    double speed = 0;         // m/s
    double direction = 0;     // rad
    double circleRadius = 0;  // drawing units; 0 or below draws no circle
};

// The run's settings as its start read them.
struct RunSettings {
    double planetMass = 0;  // Earth masses
    double timeFactor = 0;  // simulated seconds per real second
    ViewGeometry view;      // from the screen scale
    // The red reference circle the start drew, drawing units; 0 or below
    // for none. A kept run takes the one its circle radius box asks for.
    double circleRadius = 0;
};

class Korvel {
public:
    // The sub-steps of a nominal 1 ms tick. A sub-step has a fixed length:
    // the time factor times 10 µs of real time, so that a run's path does not
    // depend on how regularly the ticks come.
    static constexpr int kSubSteps = 100;
    static constexpr double kSubStepsPerSecond = 1000.0 * kSubSteps;
    // A tick runs at most a second of sub-steps; a longer wait (a suspended
    // machine, a debugger) counts beyond that as a pause.
    static constexpr auto kMostSubStepsPerTick = static_cast<std::int64_t>(kSubStepsPerSecond);
    // The whole sub-steps that `seconds` of real time hold. A reading a hair
    // short of a whole number, as the clock's rounding leaves it, counts as
    // that number.
    static std::int64_t subStepsIn(double seconds) {
        // The clock's readings are rounded to some 1e-10 s over days of
        // running; a thousandth of a sub-step is far above that and far below
        // a sub-step.
        constexpr double kRoundingAllowance = 1e-3;
        const double count = std::floor(seconds * kSubStepsPerSecond + kRoundingAllowance);
        // No time (or a reading from before the start) holds none; the upper
        // bound only keeps the conversion defined.
        return count > 0 ? static_cast<std::int64_t>(std::min(count, 0x1p62)) : 0;
    }

    explicit Korvel(const Platform& platform);

    // Events.
    void Form_Load();
    void Timer1_Timer();
    void runSImulation_Click();
    void cmd_restart_Click();
    void cmd_stop_simulation_Click();
    void cmd_continue_Click();
    void cmd_exit_program_Click();
    void cmd_color_Click(int Index);
    void cmd_apply_Click();

    // Scenarios. The panel as typed, with its title and description, and the run from its start on.
    Scenario scenario() const;
    // Without a run: a fresh start, as when the program starts (no run, a
    // clear drawing, no second planet, no size chosen), with the scenario's
    // texts in the boxes. With a run (checked by runFault first): that run
    // comes back paused, as it was kept; its drawing is the caller's.
    void openScenario(const Scenario& scenario);
    // What the scenario says of itself: the opened one's title and
    // description, or the operator's since, kept for the next one saved.
    void describeScenario(std::string title, std::string description);

    SimulationState& state() { return state_; }
    const SimulationState& state() const { return state_; }

    // The typed read side.
    // The settings of the run, from its start on; nothing before the first run.
    const std::optional<RunSettings>& settings() const { return settings_; }
    // Whether the run is paused (by "pause simulation" or a motion out of
    // range); before any run, too.
    bool paused() const { return !p_.timer.enabled(); }
    // The moment the craft's state stands at: simulated seconds since the run
    // started, the sub-steps run so far times their length. The "realtime
    // interval" readout, read off the clock, is at most one sub-step ahead.
    // 0 before any run.
    double simulatedTime() const;
    // How long each sub-step is, simulated seconds; 0 before any run.
    double subStepLength() const;
    // Sub-steps run since the run started.
    std::int64_t subStepsRun() const { return subStepsRun_; }
    // Whether anything happened since the events were last drained.
    bool hasEvents() const { return !events_.empty(); }
    // What happened since the last drain, oldest first; the list is then empty.
    std::vector<RunEvent> drainEvents();
    // The run as recorded so far: its rows and its energy.
    const RunLog& log() const { return log_; }
    // A run without a window keeps only what it writes.
    void keepInLog(RunLog::Kept kept) { log_.keep(kept); }

private:
    // Set-up.
    enum class RunCheck { Full, NumbersOnly };
    std::optional<RunParameters> readRunParameters(RunCheck check);
    void setUpRun(const RunParameters& run);
    void drawDottedCircle(const ViewGeometry& view, double radius);
    // Takes the run's snapshot of the panel, places the craft, starts the clocks.
    void startCraft(const RunParameters& run);

    // How many sub-steps this tick runs: those the clock holds since the
    // last, at most a second of them; a longer wait shifts the run's clocks
    // as a pause does.
    std::int64_t subStepsDue();
    // Back to the state the program starts in, the panel aside.
    void startAfresh();

    // Display steps of the tick.
    void showDistance();
    void drawTrailPoint(const ViewGeometry& view);
    void redrawSecondPlanet(const ViewGeometry& view);
    void writeReadouts(double timeFactor);

    // Impulses. An impulse needs a size: until one is chosen, the operator is
    // told to choose one and nothing changes.
    bool impulseSizeChosen();
    void fireAlongTravel(Burn burn);
    // Gives the craft `velocity` by `burn`, and tells the views.
    void fireImpulse(Burn burn, Vec2 velocity);
    // The craft's energy now; nothing before any run.
    std::optional<orbit::EnergySample> craftEnergy() const;
    // Records an event of that kind at this moment, with what `fill` adds to
    // it, and keeps it for the views.
    void happened(EventKind kind, const std::function<void(RunEvent&)>& fill = {});
    void placeSecondPlanet();

    // Drawing in world metres, through the run's mapping; figures that are not
    // finite are never passed on.
    void drawWorldPoint(const ViewGeometry& view, double x, double y, Color color);
    void drawWorldCircle(const ViewGeometry& view, double x, double y, double radius, Color color);
    void drawPoint(double x, double y, Color color);
    void drawCircle(double x, double y, double radius, Color color);

    std::string boxText(int index) const;
    // Tells the operator that a box does not hold what it must, and, where
    // there is one, what to type instead.
    void refuseBox(const char* label, const std::string& text, const char* requirement,
                   const std::string& instead = {});
    // The number a box's text holds: the whole text, or a number it starts
    // with. When there is none, the operator is told, in one wording per fault
    // whichever box it is, and nothing is given.
    enum class NumberRead { Whole, Leading };
    std::optional<double> readNumber(const char* label, const std::string& text, NumberRead read);
    static constexpr const char* kNotANumber = "must be a number";
    static constexpr const char* kOutOfRange = "is out of range";

    Platform p_;
    SimulationState state_;
    std::optional<RunSettings> settings_;
    // The screen scale "Run Simulation" last set the picture up with.
    std::optional<double> pictureScale_;
    std::int64_t subStepsRun_ = 0;
    std::vector<RunEvent> events_;
    RunLog log_;
    std::string scenarioTitle_, scenarioDescription_;
};

}  // namespace korvel
