// Bad-input sweep: long, seeded random sequences of clicks, ticks and panel
// texts driven through the window core. After every event nothing stored or
// drawn may be non-finite, and an event that was turned down (or had nothing
// to act on) must leave the state, the drawing, the timer and the panel as
// they were.
//
// The sequence is fixed by its seed. A failure prints the seed, the session
// and the event number; KORVEL_SWEEP_SEED and KORVEL_SWEEP_EVENTS replay it or
// run longer.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/panel.h"
#include "fakes.h"
#include "sim/numbers.h"

namespace korvel {
namespace {

using testing::FakeControls;
using testing::FakeTimer;
using testing::kStateNumberCount;
using testing::SeededRandom;
using testing::SetClock;
using testing::stateNumbers;

// Keeps no calls: counts them, folds each into a running hash so "the drawing
// did not change" is one comparison, and notes the first figure that is not
// finite.
class CheckingSurface : public Surface {
public:
    void setBackColor(Color color) override {
        ++erases;
        add(0, color);
    }
    void setScale(double height, double width) override {
        check("scale height", height);
        check("scale width", width);
        add(1, 0, height, width);
    }
    void setFillStyle(int style) override { add(2, static_cast<std::uint64_t>(style)); }
    void setFillColor(Color color) override { add(3, color); }
    void circle(double x, double y, double radius, Color color) override {
        check("circle x", x);
        check("circle y", y);
        check("circle radius", radius);
        add(4, color, x, y, radius);
    }
    void pset(double x, double y, Color color) override {
        check("point x", x);
        check("point y", y);
        add(5, color, x, y);
    }

    std::uint64_t calls = 0;
    std::uint64_t erases = 0;
    std::uint64_t hash = 0xcbf29ce484222325ull;
    std::string problem;  // the first figure that was not finite

private:
    void check(const char* what, double value) {
        if (!std::isfinite(value) && problem.empty()) problem = std::string(what) + " is " + std::to_string(value);
    }
    void mix(std::uint64_t word) {
        hash ^= word;
        hash *= 0x100000001b3ull;
        hash ^= hash >> 31;
    }
    void add(std::uint64_t kind, std::uint64_t color, double a = 0, double b = 0, double c = 0) {
        ++calls;
        mix(kind);
        mix(color);
        mix(std::bit_cast<std::uint64_t>(a));
        mix(std::bit_cast<std::uint64_t>(b));
        mix(std::bit_cast<std::uint64_t>(c));
    }
};

struct SweepRig {
    explicit SweepRig(std::uint32_t seed) : random(seed) { korvel.Form_Load(); }

    FakeControls controls;
    CheckingSurface picture;
    FakeTimer timer;
    SetClock clock;
    SeededRandom random;
    Korvel korvel{Platform{controls, picture, timer, clock, random}};
};

// Names of the state numbers, in the order of stateNumbers, for messages.
std::string numberName(int i) {
    static const char* const bodies[] = {"posX", "posY", "velX", "velY"};
    static const char* const scalars[] = {
        "pauseStart",       "runStartTime",       "lastTickTime",      "tickElapsed",       "startRadius",
        "secondPlanetMass", "secondPlanetRadius", "secondPlanetPrevX", "secondPlanetPrevY", "distReadout"};
    if (i < 4 * kBodyCount) return std::string(bodies[i / kBodyCount]) + "[" + std::to_string(i % kBodyCount) + "]";
    i -= 4 * kBodyCount;
    if (i <= kMaxRings) return "ringRadius[" + std::to_string(i) + "]";
    return scalars[i - (kMaxRings + 1)];
}

// Everything an event could change.
struct Snapshot {
    SimulationState state;
    std::uint64_t drawCalls = 0;
    std::uint64_t drawHash = 0;
    std::uint64_t erases = 0;
    bool timerEnabled = false;
    int timerInterval = 0;
    std::uint64_t randomDraws = 0;
    std::array<std::string, kBoxCount> boxes;
    std::array<std::string, kBankCount> captions;
};

Snapshot snapshot(const SweepRig& rig) {
    return {rig.korvel.state(), rig.picture.calls, rig.picture.hash,   rig.picture.erases,       rig.timer.isEnabled,
            rig.timer.interval, rig.random.draws,  rig.controls.boxes, rig.controls.bankCaptions};
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// The first difference between two snapshots, or "" when they are the same.
std::string difference(const Snapshot& want, const Snapshot& got) {
    const auto a = stateNumbers(want.state);
    const auto b = stateNumbers(got.state);
    for (int i = 0; i < kStateNumberCount; ++i)
        if (!sameBits(a[i], b[i]))
            return numberName(i) + " changed from " + std::to_string(a[i]) + " to " + std::to_string(b[i]);
    const SimulationState& s = want.state;
    const SimulationState& t = got.state;
    if (s.impulseSize != t.impulseSize) return "impulseSize changed";
    if (s.secondPlanetOn != t.secondPlanetOn) return "secondPlanetOn changed";
    if (s.timeFactor != t.timeFactor || s.startAngle != t.startAngle || s.planetMass != t.planetMass ||
        s.screenScale != t.screenScale)
        return "a panel snapshot changed";
    if (want.drawCalls != got.drawCalls || want.drawHash != got.drawHash)
        return "the drawing changed (" + std::to_string(got.drawCalls - want.drawCalls) + " calls)";
    if (want.timerEnabled != got.timerEnabled || want.timerInterval != got.timerInterval) return "the timer changed";
    if (want.randomDraws != got.randomDraws) return "the random source was drawn";
    for (int i = 0; i < kBoxCount; ++i)
        if (want.boxes[i] != got.boxes[i]) return "box " + std::to_string(i) + " changed";
    for (int i = 0; i < kBankCount; ++i)
        if (want.captions[i] != got.captions[i]) return "caption " + std::to_string(i) + " changed";
    return {};
}

std::string nonFinite(const SimulationState& s) {
    const auto n = stateNumbers(s);
    for (int i = 0; i < kStateNumberCount; ++i)
        if (!std::isfinite(n[i])) return numberName(i) + " is " + std::to_string(n[i]);
    return {};
}

const std::vector<std::string>& hostileTexts() {
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t = {
            "",
            " ",
            "\t",
            "abc",
            "1,5",
            "1e999",
            "-1e999",
            "nan",
            "inf",
            "-inf",
            "0x10",
            "--1",
            "1e-400",
            "0",
            "-0",
            "-3",
            "2abc",
            "1e5x",
            "1e",
            ".",
            "-",
            "+",
            "e5",
            "1 2",
            "1e-310",
            "-4.9e-324",
            "1.7976931348623157e308",
            "-1.7e308",
            "1e308",
            "1e-160",
            "1e200",
            "1e155",
            "12345678901234567890e-300",
            "\xef\xbc\x91\xef\xbc\x92",  // full-width "12"
            "\xcf\x80",                  // pi
            "\xc3\x9cn\xc3\xaf"
            "c\xc3\xb6"
            "d\xc3\xa9",  // accented letters
            "\xff\xfe",   // not UTF-8
        };
        t.push_back(std::string(400, '9'));
        t.push_back(std::string(300, '9'));
        t.push_back("0." + std::string(500, '0') + "1");
        t.push_back("-" + std::string(308, '9'));
        return t;
    }();
    return texts;
}

const std::vector<std::string> kOrdinaryTexts = {
    "1",  "60.2", ".0123", "1e300", "-1e300", "1e-300", "3",   "100",    "1.02", "0.5",
    "-1", "1.57", "8000",  "1000",  "2",      "10",     "1e6", "-2.5e3", "6.28",
};

enum class Event { Tick, SetText, ResetPanel, Run, Restart, Pause, Continue, Bank, Apply };

const char* eventName(Event e) {
    switch (e) {
    case Event::Tick: return "tick";
    case Event::SetText: return "set text";
    case Event::ResetPanel: return "panel back to defaults";
    case Event::Run: return "Run Simulation";
    case Event::Restart: return "Run (don't clear)";
    case Event::Pause: return "pause";
    case Event::Continue: return "Continue";
    case Event::Bank: return "bank button";
    case Event::Apply: return "Apply Impulse";
    }
    return "?";
}

// One session: a fresh window and `events` random events after Form_Load.
class Sweep {
public:
    Sweep(std::uint32_t seed, std::uint32_t session)
        : seed_(seed), session_(session), rng_(seed + 7919u * session), rig_(seed ^ session) {}

    // Runs the events; gives the first fault found, or "".
    std::string run(int events) {
        for (index_ = 0; index_ < events; ++index_) {
            std::string fault = step();
            if (!fault.empty()) return where() + fault;
        }
        return {};
    }

    int ticks = 0;
    int messages = 0;
    int runs = 0;
    int outOfRange = 0;

private:
    std::string where() const {
        std::ostringstream out;
        out << "seed " << seed_ << ", session " << session_ << ", event " << index_ << " (" << eventName(event_);
        if (event_ == Event::SetText) out << " box " << arg_ << " = \"" << text_ << '"';
        if (event_ == Event::Bank) out << " " << arg_;
        if (event_ == Event::Tick) out << " after " << step_ << " s";
        out << "): ";
        return out.str();
    }

    int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }

    Event pickEvent() {
        const int r = uniform(0, 99);
        if (r < 30) return Event::Tick;
        if (r < 55) return Event::SetText;
        if (r < 57) return Event::ResetPanel;
        if (r < 65) return Event::Run;
        if (r < 70) return Event::Restart;
        if (r < 75) return Event::Pause;
        if (r < 80) return Event::Continue;
        if (r < 95) return Event::Bank;
        return Event::Apply;
    }

    double tickStep() {
        const int r = uniform(0, 99);
        if (r < 4) return 0;
        if (r < 8) return 1e-9;
        if (r < 12) return 1e-6;
        if (r < 70) return 0.001;
        if (r < 99) return real(0, 0.002);
        // Every 10 µs of a tick is a sub-step, and a late tick runs a whole
        // second of them, so long ticks are rare.
        if (uniform(0, 9) > 0) return real(0.002, 0.05);
        const int late = uniform(0, 2);
        return late == 0 ? real(0.1, 5) : late == 1 ? real(10, 1000) : 1e6;
    }

    std::string pickText(int box) {
        const int r = uniform(0, 99);
        if (r < 45) {
            const auto& t = hostileTexts();
            return t[uniform(0, static_cast<int>(t.size()) - 1)];
        }
        if (r < 80) return kOrdinaryTexts[uniform(0, static_cast<int>(kOrdinaryTexts.size()) - 1)];
        return kDefaultTexts[box];
    }

    std::string step() {
        event_ = pickEvent();
        step_ = 0;
        if (event_ == Event::Tick) {
            step_ = tickStep();
        } else if (uniform(0, 1) == 0) {
            // The operator takes a moment; the next tick runs its sub-steps.
            step_ = real(0, 0.01);
        }
        rig_.clock.reading += step_;

        switch (event_) {
        case Event::SetText:
            arg_ = uniform(0, kBoxCount - 1);
            text_ = pickText(arg_);
            break;
        case Event::Bank: arg_ = uniform(-1, 10); break;
        default: break;
        }

        const Snapshot before = snapshot(rig_);
        const std::size_t messagesBefore = rig_.controls.messages.size();
        try {
            deliver();
        } catch (const std::exception& e) {
            return std::string("exception escaped: ") + e.what();
        } catch (...) {
            return "exception escaped";
        }
        const Snapshot after = snapshot(rig_);
        const std::size_t newMessages = rig_.controls.messages.size() - messagesBefore;

        if (!rig_.picture.problem.empty()) return "drawn: " + rig_.picture.problem;
        if (std::string bad = nonFinite(after.state); !bad.empty()) return "stored: " + bad;
        if (newMessages > 1) return "more than one message";
        if (rig_.controls.ended) return "the program ended";
        const bool message = newMessages == 1;
        if (message) ++messages;
        return checkEffect(before, after, message);
    }

    void deliver() {
        Korvel& k = rig_.korvel;
        switch (event_) {
        case Event::Tick:
            // The platform timer ticks only while enabled with an interval.
            if (rig_.timer.ticking()) {
                ++ticks;
                k.Timer1_Timer();
            }
            break;
        case Event::SetText: rig_.controls.box(arg_) = text_; break;
        case Event::ResetPanel:
            for (int i = 0; i < kBoxCount; ++i) rig_.controls.box(i) = kDefaultTexts[i];
            break;
        case Event::Run: k.runSImulation_Click(); break;
        case Event::Restart: k.cmd_restart_Click(); break;
        case Event::Pause: k.cmd_stop_simulation_Click(); break;
        case Event::Continue: k.cmd_continue_Click(); break;
        case Event::Bank: k.cmd_color_Click(arg_); break;
        case Event::Apply: k.cmd_apply_Click(); break;
        }
    }

    // What the event may have changed, given whether it told the operator something.
    std::string checkEffect(const Snapshot& before, const Snapshot& after, bool message) {
        const double now = rig_.clock.reading;
        const SimulationState& s = after.state;
        Snapshot want = before;
        switch (event_) {
        case Event::Tick: return checkTick(before, after, message);
        case Event::SetText:
        case Event::ResetPanel:
            if (message) return "setting a text showed a message";
            return {};
        case Event::Run:
        case Event::Restart: return checkRun(before, after, message);
        case Event::Pause:
            if (message) return "pause showed a message";
            if (before.timerEnabled) {
                want.timerEnabled = false;
                want.state.pauseStart = now;
            }
            return difference(want, after);
        case Event::Continue: return checkContinue(want, before, after, message);
        case Event::Bank: return checkBank(want, before, after, message);
        case Event::Apply:
            if (before.state.impulseSize == 0 && !message) return "an impulse of no size was silent";
            if (!message) {
                want.state.velX[kCraft] = s.velX[kCraft];
                want.state.velY[kCraft] = s.velY[kCraft];
            }
            return difference(want, after);
        }
        return {};
    }

    std::string checkTick(const Snapshot& before, const Snapshot& after, bool message) {
        const double now = rig_.clock.reading;
        const SimulationState& s = after.state;
        if (!before.timerEnabled || before.timerInterval <= 0) return difference(before, after);
        if (after.erases != before.erases) return "a tick erased the drawing";
        if (s.lastTickTime != now) return "the tick did not note its clock reading";
        for (int box : {kBoxClockTime, kBoxRealtimeInterval, kBoxSpeed})
            if (!strictNumber(after.boxes[box]) && after.boxes[box] != "?")
                return "readout " + std::to_string(box) + " shows \"" + after.boxes[box] + '"';
        if (message) {
            ++outOfRange;
            if (rig_.controls.messages.back().find("out of range") == std::string::npos)
                return "unexpected message: " + rig_.controls.messages.back();
            if (after.timerEnabled) return "the run was not paused";
            if (s.pauseStart != now) return "the pause did not start at this tick";
        } else if (!after.timerEnabled) {
            return "the timer stopped without a message";
        }
        return {};
    }

    // "Run Simulation" clears and reads the panel; "restart" runs on without
    // clearing.
    std::string checkRun(const Snapshot& before, const Snapshot& after, bool message) {
        const double now = rig_.clock.reading;
        const SimulationState& s = after.state;
        if (message) return difference(before, after);
        ++runs;
        if (event_ == Event::Restart) {
            if (after.erases != before.erases) return "a run without clearing erased";
            if (!after.timerEnabled) return "the run did not enable the timer";
            if (s.lastTickTime != now) return "the run did not restart the clock";
            return {};
        }
        if (after.erases != before.erases + 1) return "a run did not erase once";
        if (!after.timerEnabled || after.timerInterval != 1) return "the run did not start the timer";
        if (s.timeFactor != after.boxes[kBoxTimeFactor] || s.screenScale != after.boxes[kBoxScreenScale] ||
            s.planetMass != after.boxes[kBoxPlanetMass])
            return "the run did not take the panel's texts";
        if (s.runStartTime != now || s.lastTickTime != now) return "the run did not start the clocks";
        return {};
    }

    std::string checkContinue(Snapshot& want, const Snapshot& before, const Snapshot& after, bool message) {
        const double now = rig_.clock.reading;
        const SimulationState& s = after.state;
        if (message) return "continue showed a message";
        if (before.timerEnabled) return difference(want, after);
        if (!after.timerEnabled) return "continue did not resume";
        // Both clocks move on by the length of the pause.
        for (auto clock : {&SimulationState::lastTickTime, &SimulationState::runStartTime}) {
            const double pause = now - before.state.pauseStart;
            const double moved = s.*clock - before.state.*clock;
            if (!(std::abs(moved - pause) <= 1e-9 * (1 + std::abs(s.*clock))))
                return "continue did not move the clocks by the pause";
        }
        want.timerEnabled = true;
        want.state.runStartTime = s.runStartTime;
        want.state.lastTickTime = s.lastTickTime;
        return difference(want, after);
    }

    std::string checkBank(Snapshot& want, const Snapshot& before, const Snapshot& after, bool message) {
        const SimulationState& s = after.state;
        if (arg_ >= kBankForward && arg_ <= kBankToLeft) {
            const bool atRest = std::hypot(before.state.velX[kCraft], before.state.velY[kCraft]) == 0;
            // No size chosen, at rest, or too slow to scale by: a message, and
            // nothing changes.
            if (before.state.impulseSize == 0 && !message) return "an impulse of no size was silent";
            if (atRest && !message) return "a craft at rest was steered silently";
            if (!message) {
                want.state.velX[kCraft] = s.velX[kCraft];
                want.state.velY[kCraft] = s.velY[kCraft];
            }
            return difference(want, after);
        }
        if (arg_ >= kBankImpulse1000 && arg_ <= kBankImpulse1) {
            if (message) return "a size button showed a message";
            const int sizes[] = {1000, 100, 10, 1};
            if (s.impulseSize != sizes[arg_ - kBankImpulse1000]) return "wrong impulse size";
            want.state.impulseSize = s.impulseSize;
            return difference(want, after);
        }
        if (arg_ == kBankSecondPlanet) {
            if (!message) {
                if (!s.secondPlanetOn) return "the second planet was not switched on";
                want.state.secondPlanetOn = true;
                for (auto body :
                     {&SimulationState::posX, &SimulationState::posY, &SimulationState::velX, &SimulationState::velY})
                    (want.state.*body)[kSecondPlanet] = (s.*body)[kSecondPlanet];
                want.state.secondPlanetMass = s.secondPlanetMass;
                want.state.secondPlanetRadius = s.secondPlanetRadius;
            }
            return difference(want, after);
        }
        // The distance readout and indices that name no button.
        if (message) return "a button that does nothing showed a message";
        return difference(want, after);
    }

    std::uint32_t seed_;
    std::uint32_t session_;
    std::mt19937 rng_;
    SweepRig rig_;
    int index_ = 0;
    Event event_ = Event::Tick;
    int arg_ = 0;
    std::string text_;
    double step_ = 0;
};

std::uint32_t envNumber(const char* name, std::uint32_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10)) : fallback;
}

TEST(SweepTest, RandomEventsKeepEverythingFiniteAndTurnedDownEventsChangeNothing) {
    const std::uint32_t seed = envNumber("KORVEL_SWEEP_SEED", 20240611u);
    const std::uint32_t events = envNumber("KORVEL_SWEEP_EVENTS", 300000u);
    constexpr std::uint32_t kPerSession = 4000;
    int ticks = 0, messages = 0, runs = 0, outOfRange = 0;
    for (std::uint32_t session = 0; session * kPerSession < events; ++session) {
        Sweep sweep(seed, session);
        const std::string fault = sweep.run(static_cast<int>(std::min(kPerSession, events - session * kPerSession)));
        ASSERT_EQ(fault, "") << "replay with KORVEL_SWEEP_SEED=" << seed;
        ticks += sweep.ticks;
        messages += sweep.messages;
        runs += sweep.runs;
        outOfRange += sweep.outOfRange;
    }
    std::printf(
        "sweep: seed %u, %u events, %d ticks, %d runs started, %d messages, %d out-of-range "
        "pauses\n",
        seed, events, ticks, runs, messages, outOfRange);
    // A sweep that never starts a run or never ticks checks little.
    EXPECT_GT(runs, static_cast<int>(events / 100));
    EXPECT_GT(ticks, static_cast<int>(events / 20));
    EXPECT_GT(outOfRange, static_cast<int>(events / 10000));
}

}  // namespace
}  // namespace korvel
