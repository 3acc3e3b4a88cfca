#pragma once
// The arithmetic of a graph's axis: round bounds and ticks around a span of
// values, and their labels, with no drawing in it.

#include <string>

namespace korvel {

// A span of values and the round step its ticks fall on.
struct Axis {
    double low = 0;
    double high = 0;
    double step = 0;
    int decimals = 0;  // what the step needs to show

    bool valid() const;
    int tickCount() const;
    double tick(int i) const { return low + i * step; }
    // A tick's value with the axis's decimals and a "." always; a tick at
    // zero reads "0", never "-0" from rounding.
    std::string label(double value) const;
};

// The least 1, 2 or 5 × 10ⁿ at or above `value`; nothing sensible for a
// value that is not finite or not above 0 (it is given back as it is).
double roundStepAtLeast(double value);

// Round bounds around [low, high] on a 1-2-5 step, about `wanted` ticks
// apart. A single value gets a band around it, so that it draws in the
// middle. An axis that is not valid() when the span is not finite.
Axis niceAxis(double low, double high, int wanted);

}  // namespace korvel
