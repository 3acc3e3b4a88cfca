#pragma once
// The window `Korvel` as its handlers see it: it owns the one simulation
// state and has one handler per event. The handlers live with their
// subsystems (sim/, setup/, ui/); the platform is reached only through the
// interfaces of platform.h.

#include <optional>
#include <string>

#include "sim/state.h"
#include "ui/platform.h"

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
    double screenScale = 0;
    double startRadius = 0;  // m
    double startAngle = 0;   // rad
    double speed = 0;        // m/s
    double direction = 0;    // rad
    double circleRadius = 0; // drawing units; 0 or below draws no circle
};

// Where a world point (metres from the planet's centre, y up) lands on the
// drawing, in its user units: the planet in the middle of a view 170 s / 75
// units wide and 2 s high, one unit per length unit, y down.
struct PicturePoint {
    double x = 0;
    double y = 0;
};
inline PicturePoint worldToPicture(double screenScale, double unit, double x, double y) {
    return {screenScale * 85 / 75 + x / unit, screenScale - y / unit};
}

class Korvel {
public:
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

    SimulationState& state() { return state_; }
    const SimulationState& state() const { return state_; }

private:
    // Set-up.
    enum class RunCheck { Full, NumbersOnly };
    std::optional<RunParameters> readRunParameters(RunCheck check);
    void setUpRun(const RunParameters& run);
    void drawDottedCircle(double screenScale, double radius);
    // Takes the run's snapshot of the panel, places the craft, starts the clocks.
    void startCraft(const RunParameters& run);

    // Display steps of the tick.
    void showDistance();
    void drawTrailPoint(double screenScale);
    void redrawSecondPlanet(double screenScale);
    void writeReadouts(double timeFactor);

    // Impulses. An impulse needs a size: until one is chosen, the operator is
    // told to choose one and nothing changes.
    bool impulseSizeChosen();
    void fireAlongTravel(int button);
    void placeSecondPlanet();

    bool paused() const { return !p_.timer.enabled(); }

    // Drawing in world metres, through the run's mapping; figures that are not
    // finite are never passed on.
    void drawWorldPoint(double screenScale, double x, double y, Color color);
    void drawWorldCircle(double screenScale, double x, double y, double radius, Color color);
    void drawPoint(double x, double y, Color color);
    void drawCircle(double x, double y, double radius, Color color);

    std::string boxText(int index) const;
    // Tells the operator that a box does not hold what it must.
    void refuseBox(const char* label, const std::string& text, const char* requirement);
    // The number a box's text holds: the whole text, or a number it starts
    // with. When there is none, the operator is told, in one wording per fault
    // whichever box it is, and nothing is given.
    enum class NumberRead { Whole, Leading };
    std::optional<double> readNumber(const char* label, const std::string& text, NumberRead read);
    static constexpr const char* kNotANumber = "must be a number";
    static constexpr const char* kOutOfRange = "is out of range";

    Platform p_;
    SimulationState state_;
};

}  // namespace korvel
