#pragma once
// Stand-ins for the window and platform: a clock the test sets, a scripted
// random source, a surface that records its calls.

#include <array>
#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "app/headless_run.h"
#include "app/korvel.h"
#include "orbit/prediction.h"

namespace korvel::testing {

class FakeControls : public Controls {
public:
    std::string text(ControlArray array, int index) const override;
    void setText(ControlArray array, int index, std::string_view text) override;
    void place(ControlArray array, int index, const TwipsRect& rect) override;
    void showMessage(std::string_view message) override {
        messages.emplace_back(message);
        messageOpen = true;
    }
    void closeMessage() override { messageOpen = false; }
    void endProgram() override { ended = true; }

    std::string& box(int index) { return boxes.at(index); }
    std::string& bank(int index) { return bankCaptions.at(index); }

    std::array<std::string, kLabelCount> labels;
    std::array<std::string, kBoxCount> boxes;
    std::array<std::string, kBankCount> bankCaptions;
    std::array<TwipsRect, kLabelCount> labelRects;
    std::array<TwipsRect, kBoxCount> boxRects;
    std::array<TwipsRect, kBankCount> bankRects;
    std::vector<std::string> messages;
    bool messageOpen = false;
    bool ended = false;
};

struct DrawCall {
    enum Kind { BackColor, Scale, FillStyle, FillColor, Circle, Point } kind;
    double x = 0, y = 0, radius = 0;  // Scale: x = height, y = width; FillStyle: x = style
    Color color = 0;
    bool operator==(const DrawCall&) const = default;
};

class RecordingSurface : public Surface {
public:
    void setBackColor(Color color) override { calls.push_back({DrawCall::BackColor, 0, 0, 0, color}); }
    void setScale(double height, double width) override { calls.push_back({DrawCall::Scale, height, width, 0, 0}); }
    void setFillStyle(int style) override { calls.push_back({DrawCall::FillStyle, double(style), 0, 0, 0}); }
    void setFillColor(Color color) override { calls.push_back({DrawCall::FillColor, 0, 0, 0, color}); }
    void circle(double x, double y, double radius, Color color) override {
        calls.push_back({DrawCall::Circle, x, y, radius, color});
    }
    void pset(double x, double y, Color color) override { calls.push_back({DrawCall::Point, x, y, 0, color}); }

    std::vector<DrawCall> of(DrawCall::Kind kind) const;
    std::vector<DrawCall> calls;
};

class FakeTimer : public Timer {
public:
    void setInterval(int milliseconds) override { interval = milliseconds; }
    void setEnabled(bool on) override { isEnabled = on; }
    bool enabled() const override { return isEnabled; }
    bool ticking() const { return isEnabled && interval > 0; }

    int interval = 0;
    bool isEnabled = true;  // created enabled, with no interval
};

// The exact clock runs without a window use.
using korvel::SetClock;

// Gives the scripted values in turn, then `fallback` for ever.
class ScriptedRandom : public RandomSource {
public:
    void seed(double value) override { seeds.push_back(value); }
    float next() override;

    std::deque<float> script;
    float fallback = 0.5f;
    std::vector<double> seeds;
};

// Keeps no calls, for long runs: counts them and notes whether any figure was
// not finite.
class CountingSurface : public Surface {
public:
    void setBackColor(Color) override { ++calls; }
    void setScale(double height, double width) override { ++calls, note(height), note(width); }
    void setFillStyle(int) override { ++calls; }
    void setFillColor(Color) override { ++calls; }
    void circle(double x, double y, double radius, Color) override { ++calls, note(x), note(y), note(radius); }
    void pset(double x, double y, Color) override { ++calls, note(x), note(y); }

    std::uint64_t calls = 0;
    bool allFinite = true;

private:
    void note(double v);
};

// Uniform in [0, 1) from its own engine, whatever it is seeded with; counts
// its draws.
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(std::uint32_t seed) : engine_(seed) {}
    void seed(double) override {}
    float next() override {
        ++draws;
        return static_cast<float>(engine_() >> 8) * 0x1p-24f;
    }
    std::uint64_t draws = 0;

private:
    std::mt19937 engine_;
};

// Every number the state holds, in a fixed order: the per-body arrays, the
// ring radii, then the scalars.
constexpr int kStateNumberCount = 4 * kBodyCount + (kMaxRings + 1) + 10;
std::array<double, kStateNumberCount> stateNumbers(const SimulationState& s);
bool allFinite(const SimulationState& s);

// A window core on fakes, loaded as at start-up.
struct Rig {
    Rig();
    // Runs a tick `seconds` after the previous clock reading.
    void tickAfter(double seconds);
    void run() { korvel.runSImulation_Click(); }
    // The run goes on at another time factor, as a kept run whose file says
    // so would.
    void goOnAtTimeFactor(const char* timeFactor) {
        Scenario kept = korvel.scenario();
        kept.run->state.timeFactor = timeFactor;
        korvel.openScenario(kept);
        korvel.cmd_continue_Click();
    }

    FakeControls controls;
    RecordingSurface picture;
    FakeTimer timer;
    SetClock clock;
    ScriptedRandom random;
    Korvel korvel{Platform{controls, picture, timer, clock, random}};
    SimulationState& state = korvel.state();
};

// A default run at `timeFactor`, with or without a second planet of mass
// 0.0123 at 2.5 length units: the path predicted at its start, and how far, in
// pixels of the default view, the trail then drawn in 1 ms ticks strays from
// it over one revolution.
struct TrailAgainstPath {
    orbit::PredictedPath path;
    double worstPixels = 0;
};
TrailAgainstPath trailAgainstPath(const char* timeFactor, bool secondPlanet);

}  // namespace korvel::testing
