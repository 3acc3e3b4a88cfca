#pragma once
// Kinetic, potential and total energy per unit mass against simulated time,
// kept in bounded memory however long the run. Samples come every tick; the
// history keeps spans of them, each with every curve's lowest and highest,
// so that thinning it never loses a swing, however many revolutions a span
// comes to cover.

#include <cstddef>
#include <optional>
#include <vector>

#include "orbit/elements.h"
#include "sim/state.h"

namespace korvel::orbit {

struct EnergySample {
    double time = 0;       // simulated seconds since the run started
    double kinetic = 0;    // J/kg
    double potential = 0;  // J/kg: the planet's and, while it is on, the second planet's
    double total() const { return kinetic + potential; }
    bool operator==(const EnergySample&) const = default;
};

// The craft's energy per unit mass in `state`; nothing when it is not finite
// (the craft at a planet's centre).
std::optional<EnergySample> energyOf(const SimulationState& state, const Planet& planet, double time);

struct EnergyRange {
    double low = 0;
    double high = 0;
    void take(double value);
    void take(const EnergyRange& other);
    bool operator==(const EnergyRange&) const = default;
};

// Samples in a row: the first and the last, and what each curve spans
// between them.
struct EnergySpan {
    EnergySample first;
    EnergySample last;
    EnergyRange kinetic, potential, total;
    // It begins with the sample after an impulse: it stays apart from the
    // span before, so the impulse shows as a step.
    bool afterImpulse = false;

    static EnergySpan of(const EnergySample& sample, bool afterImpulse = false);
    // Takes in what comes after it.
    void extend(const EnergySample& later);
    void extend(const EnergySpan& later);
    bool operator==(const EnergySpan&) const = default;
};

class EnergyHistory {
public:
    static constexpr std::size_t kCapacity = 2048;
    explicit EnergyHistory(std::size_t capacity = kCapacity);

    // Forgets everything: a new run.
    void clear();
    // A sample as time goes on, every tick. A span takes samples until it
    // covers a spacing of simulated time; the newest is always its last.
    void add(const EnergySample& sample);
    // An impulse: the sample before it and the one after, at the same time, so
    // that it shows as a step; the drift is measured from the new total on.
    void addImpulse(const EnergySample& before, const EnergySample& after);

    // The spans as kept before, oldest first; the next samples follow them.
    void restore(const std::vector<EnergySpan>& spans);
    // Joins neighbouring spans in pairs, never across an impulse unless more
    // than `crowded` spans would be left.
    static void joinSpans(std::vector<EnergySpan>& spans, std::size_t crowded);

    const std::vector<EnergySpan>& spans() const { return spans_; }
    std::size_t capacity() const { return capacity_; }
    // Relative change of the total since the run started or the last impulse
    // (0.01 = 1 %); nothing before any sample or when that total was 0.
    std::optional<double> drift() const;

private:
    void push(const EnergySpan& span);
    // Joins neighbouring spans in pairs, and doubles the spacing.
    void thin();

    std::size_t capacity_;
    std::vector<EnergySpan> spans_;
    double spacing_ = 0;  // simulated seconds a span may cover
    std::optional<double> referenceTotal_;
};

}  // namespace korvel::orbit
