#include "orbit/energy_history.h"

#include <algorithm>
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

void EnergyRange::take(double value) {
    low = std::min(low, value);
    high = std::max(high, value);
}

void EnergyRange::take(const EnergyRange& other) {
    low = std::min(low, other.low);
    high = std::max(high, other.high);
}

EnergySpan EnergySpan::of(const EnergySample& sample, bool afterImpulse) {
    const double total = sample.total();
    return {sample,         sample,      {sample.kinetic, sample.kinetic}, {sample.potential, sample.potential},
            {total, total}, afterImpulse};
}

void EnergySpan::extend(const EnergySample& later) { extend(of(later)); }

void EnergySpan::extend(const EnergySpan& later) {
    last = later.last;
    kinetic.take(later.kinetic);
    potential.take(later.potential);
    total.take(later.total);
}

EnergyHistory::EnergyHistory(std::size_t capacity) : capacity_(capacity < 8 ? 8 : capacity) {
    spans_.reserve(capacity_ + 1);
}

void EnergyHistory::clear() {
    spans_.clear();
    spacing_ = 0;
    referenceTotal_.reset();
}

void EnergyHistory::add(const EnergySample& sample) {
    if (!referenceTotal_) referenceTotal_ = sample.total();
    if (!spans_.empty() && std::abs(sample.time - spans_.back().first.time) < spacing_) {
        spans_.back().extend(sample);
        return;
    }
    push(EnergySpan::of(sample));
}

void EnergyHistory::addImpulse(const EnergySample& before, const EnergySample& after) {
    add(before);
    push(EnergySpan::of(after, true));
    referenceTotal_ = after.total();
}

void EnergyHistory::push(const EnergySpan& span) {
    spans_.push_back(span);
    if (spans_.size() >= capacity_) thin();
}

void EnergyHistory::joinSpans(std::vector<EnergySpan>& spans, std::size_t crowded) {
    // Pairs join, but never across an impulse, unless impulses crowd the
    // history so that it would not shrink enough.
    const auto join = [&spans](bool acrossImpulses) {
        std::size_t kept = 0;
        bool open = false;  // the last kept span may take one more
        for (std::size_t i = 0; i < spans.size(); ++i) {
            if (open && (acrossImpulses || !spans[i].afterImpulse)) {
                spans[kept - 1].extend(spans[i]);
                open = false;
            } else {
                spans[kept++] = spans[i];
                open = true;
            }
        }
        spans.resize(kept);
    };
    join(false);
    if (spans.size() > crowded) join(true);
}

void EnergyHistory::thin() {
    const double span = std::abs(spans_.back().last.time - spans_.front().first.time);
    joinSpans(spans_, capacity_ * 3 / 4);
    spacing_ = std::max(2 * spacing_, 2 * span / static_cast<double>(capacity_));
}

void EnergyHistory::restore(const std::vector<EnergySpan>& spans) {
    clear();
    for (const EnergySpan& span : spans) push(span);
    if (spans_.empty()) return;
    // The drift is measured from the last impulse on, or from the start.
    const auto impulse = std::find_if(spans_.rbegin(), spans_.rend(), [](const auto& s) { return s.afterImpulse; });
    referenceTotal_ = (impulse == spans_.rend() ? spans_.front() : *impulse).first.total();
    // Spans go on covering what the kept ones did, on average.
    spacing_ = std::max(
        spacing_, std::abs(spans_.back().last.time - spans_.front().first.time) / static_cast<double>(spans_.size()));
}

std::optional<double> EnergyHistory::drift() const {
    if (spans_.empty() || !referenceTotal_ || *referenceTotal_ == 0) return std::nullopt;
    return (spans_.back().last.total() - *referenceTotal_) / std::abs(*referenceTotal_);
}

}  // namespace korvel::orbit
