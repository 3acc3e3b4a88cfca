#pragma once
// Kinetic, potential and total energy per unit mass against simulated time,
// kept in bounded memory however long the run: when the history fills, every
// other sample is dropped and samples are then taken half as often.

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
};

// The craft's energy per unit mass in `state`; nothing when it is not finite
// (the craft at a planet's centre).
std::optional<EnergySample> energyOf(const SimulationState& state, const Planet& planet, double time);

class EnergyHistory {
public:
    explicit EnergyHistory(std::size_t capacity = 2048);

    // Forgets everything: a new run.
    void clear();
    // A sample as time goes on. Kept samples are a spacing apart; the newest
    // is always there.
    void add(const EnergySample& sample);
    // An impulse: the sample before it and the one after, at the same time, so
    // that it shows as a step; the drift is measured from the new total on.
    void addImpulse(const EnergySample& before, const EnergySample& after);

    const std::vector<EnergySample>& samples() const { return samples_; }
    std::size_t capacity() const { return capacity_; }
    // Relative change of the total since the run started or the last impulse
    // (0.01 = 1 %); nothing before any sample or when that total was 0.
    std::optional<double> drift() const;

private:
    void thin();

    std::size_t capacity_;
    std::vector<EnergySample> samples_;
    double spacing_ = 0;  // simulated seconds between kept samples
    std::optional<double> referenceTotal_;
};

}  // namespace korvel::orbit
