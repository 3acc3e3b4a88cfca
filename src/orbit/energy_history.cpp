#include "orbit/energy_history.h"

#include <cmath>

namespace korvel::orbit {

std::optional<EnergySample> energyOf(const SimulationState& state, const Planet& planet, double time) {
    const double vx = state.velX[kCraft];
    const double vy = state.velY[kCraft];
    EnergySample sample{time, (vx * vx + vy * vy) / 2, 0};
    // A square root is exact on every platform, where hypot is not: the same
    // run gives the same energies on each.
    const auto potential = [](double mu, double dx, double dy) {
        return mu == 0 ? 0.0 : -mu / std::sqrt(dx * dx + dy * dy);
    };
    sample.potential = potential(planet.mu(), state.posX[kCraft], state.posY[kCraft]);
    if (state.secondPlanetOn) {
        const Planet second{state.secondPlanetMass};
        sample.potential += potential(second.mu(), state.posX[kCraft] - state.posX[kSecondPlanet],
                                      state.posY[kCraft] - state.posY[kSecondPlanet]);
    }
    if (!std::isfinite(sample.time) || !std::isfinite(sample.kinetic) || !std::isfinite(sample.potential) ||
        !std::isfinite(sample.total()))
        return std::nullopt;
    return sample;
}

EnergyHistory::EnergyHistory(std::size_t capacity) : capacity_(capacity < 8 ? 8 : capacity) {
    samples_.reserve(capacity_ + 2);
}

void EnergyHistory::clear() {
    samples_.clear();
    spacing_ = 0;
    referenceTotal_.reset();
}

void EnergyHistory::add(const EnergySample& sample) {
    if (!referenceTotal_) referenceTotal_ = sample.total();
    // The newest sample always shows: until it is a spacing on from the one
    // before, it takes the place of the last (unless that ends a step).
    const std::size_t n = samples_.size();
    if (n >= 2 && samples_[n - 1].time != samples_[n - 2].time &&
        std::abs(sample.time - samples_[n - 2].time) < spacing_) {
        samples_.back() = sample;
        return;
    }
    samples_.push_back(sample);
    if (samples_.size() >= capacity_) thin();
}

void EnergyHistory::addImpulse(const EnergySample& before, const EnergySample& after) {
    samples_.push_back(before);
    samples_.push_back(after);
    referenceTotal_ = after.total();
    if (samples_.size() >= capacity_) thin();
}

void EnergyHistory::thin() {
    const std::size_t n = samples_.size();
    const auto sameTime = [&](std::size_t i, std::size_t j) { return j < n && samples_[i].time == samples_[j].time; };
    // Every other sample goes, but both halves of an impulse's step stay, and
    // so does the newest; if steps crowd the history, they thin too.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const bool step = sameTime(i, i + 1) || (i > 0 && sameTime(i, i - 1));
        if (i % 2 == 0 || i == n - 1 || step) samples_[kept++] = samples_[i];
    }
    if (kept > capacity_ * 3 / 4) {
        std::size_t halved = 0;
        for (std::size_t i = 0; i < kept; ++i)
            if (i % 2 == 0 || i == kept - 1) samples_[halved++] = samples_[i];
        kept = halved;
    }
    samples_.resize(kept);
    const double span = std::abs(samples_.back().time - samples_.front().time);
    spacing_ = spacing_ > 0 ? 2 * spacing_ : 2 * span / static_cast<double>(capacity_);
}

std::optional<double> EnergyHistory::drift() const {
    if (samples_.empty() || !referenceTotal_ || *referenceTotal_ == 0) return std::nullopt;
    return (samples_.back().total() - *referenceTotal_) / std::abs(*referenceTotal_);
}

}  // namespace korvel::orbit
