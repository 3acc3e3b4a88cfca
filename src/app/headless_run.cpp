#include "app/headless_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "app/korvel.h"

namespace korvel {
namespace {

// Keeps the texts the handlers read back, and the last message; nobody reads
// the readouts.
class UnseenControls : public Controls {
public:
    std::string text(ControlArray array, int index) const override { return texts(array).at(index); }
    void setText(ControlArray array, int index, std::string_view text) override { texts(array).at(index) = text; }
    void place(ControlArray, int, const TwipsRect&) override {}
    void showMessage(std::string_view message) override { lastMessage = message; }
    void closeMessage() override {}
    void endProgram() override {}
    bool seen() const override { return false; }

    std::string lastMessage;

private:
    std::array<std::string, kBoxCount>& texts(ControlArray array) const {
        return array == ControlArray::txt_masses ? boxes_ : array == ControlArray::lbl_mass_id ? labels_ : bank_;
    }
    // Wider than any array, so one type serves all three.
    mutable std::array<std::string, kBoxCount> boxes_, labels_, bank_;
};

class UnseenSurface : public Surface {
public:
    void setBackColor(Color) override {}
    void setScale(double, double) override {}
    void setFillStyle(int) override {}
    void setFillColor(Color) override {}
    void circle(double, double, double, Color) override {}
    void pset(double, double, Color) override {}
    bool seen() const override { return false; }
};

class HeadlessTimer : public Timer {
public:
    void setInterval(int) override {}
    void setEnabled(bool enabled) override { enabled_ = enabled; }
    bool enabled() const override { return enabled_; }

private:
    bool enabled_ = true;
};

// The trail's gaps are all the random source decides, and nothing is drawn.
class NoRandom : public RandomSource {
public:
    void seed(double) override {}
    float next() override { return 0.5f; }
};

// A run that would take longer than this many ticks (about a day of
// computing) is refused rather than started.
constexpr double kMostTicks = 1e11;
// The exact tick of a run without a window: a thousand a second.
constexpr double kTicksPerSecond = 1000;
// Progress is told this many ticks apart.
constexpr std::uint64_t kProgressTicks = 1 << 16;

// Starts the scenario's run as "Run Simulation" would from its panel, or goes
// on from its kept run at once; why it cannot, or nothing.
std::optional<std::string> startScenario(Korvel& korvel, const Scenario& scenario, const UnseenControls& controls) {
    if (scenario.run) {
        if (const auto fault = runFault(*scenario.run)) return "the kept run cannot go on: " + *fault + ".";
        korvel.openScenario(scenario);
        korvel.cmd_continue_Click();
    } else {
        korvel.openScenario(scenario);
        korvel.runSImulation_Click();
        if (!korvel.settings()) return controls.lastMessage;
    }
    if (korvel.settings()->timeFactor == 0) return "the time factor is 0, so no simulated time passes.";
    return std::nullopt;
}

}  // namespace

HeadlessOutcome runHeadless(const Scenario& scenario, const HeadlessRequest& request, const HeadlessSink& sink) {
    UnseenControls controls;
    UnseenSurface picture;
    HeadlessTimer timer;
    SetClock clock;
    NoRandom random;
    clock.reading = 0;
    Korvel korvel(Platform{controls, picture, timer, clock, random});
    // Rows go out as they come, and nobody looks at a graph.
    korvel.keepInLog({.rows = false, .energy = false});
    korvel.Form_Load();

    HeadlessOutcome outcome;
    if (auto fault = startScenario(korvel, scenario, controls)) {
        outcome.fault = std::move(*fault);
        return outcome;
    }
    const double factor = korvel.settings()->timeFactor;
    const double ticksNeeded = std::ceil(request.duration / (std::abs(factor) / kTicksPerSecond));
    if (!(ticksNeeded <= kMostTicks)) {
        outcome.fault = "the run would take " + std::to_string(ticksNeeded) +
                        " ticks at this time factor; choose a shorter duration.";
        return outcome;
    }

    const RunLog& log = korvel.log();
    const auto give = [&](const std::optional<DataRow>& row) {
        if (row) sink.row(*row);
    };
    // The run started, or was opened and went on at once: one row for both.
    const double start = korvel.simulatedTime();
    give(log.startRow());
    double nextRow = 1;  // in multiples of `every`
    for (std::uint64_t k = 1;; ++k) {
        // Each reading from the tick count, so that no error adds up.
        clock.reading = static_cast<double>(k) / kTicksPerSecond;
        korvel.Timer1_Timer();
        outcome.ticks = k;
        // Every row at its state's own moment.
        const double time = korvel.simulatedTime();
        const double elapsed = std::abs(time - start);
        if (korvel.paused()) {
            outcome.stopped = controls.lastMessage;
            give(log.latestRow());  // the pause's own
            break;
        }
        const bool last = elapsed >= request.duration;
        if (last || elapsed >= nextRow * request.every) {
            give(log.latestRow());
            nextRow = std::floor(elapsed / request.every) + 1;
        }
        if (last) break;
        if (sink.progress && k % kProgressTicks == 0) sink.progress(static_cast<double>(k) / ticksNeeded);
    }
    return outcome;
}

}  // namespace korvel
