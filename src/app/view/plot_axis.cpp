#include "app/view/plot_axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace korvel {

bool Axis::valid() const {
    return std::isfinite(low) && std::isfinite(high) && std::isfinite(step) && step > 0 && high > low;
}

int Axis::tickCount() const { return valid() ? static_cast<int>(std::floor((high - low) / step + 1e-6)) + 1 : 0; }

std::string Axis::label(double value) const {
    if (std::fabs(value) < step * 1e-6) value = 0;
    // Never the C runtime's formatting, which follows the locale.
    char text[400];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string("?");
}

double roundStepAtLeast(double value) {
    if (!std::isfinite(value) || value <= 0) return value;
    const double magnitude = std::pow(10.0, std::floor(std::log10(value)));
    for (double m : {1.0, 2.0, 5.0})
        if (value <= m * magnitude) return m * magnitude;
    return magnitude * 10;
}

Axis niceAxis(double low, double high, int wanted) {
    if (!(high > low)) {
        const double pad = low != 0 ? std::fabs(low) * 0.05 : 1;
        low -= pad;
        high += pad;
    }
    Axis axis;
    const double raw = (high - low) / std::max(wanted, 1);
    if (!std::isfinite(raw) || raw <= 0) return axis;
    const double step = roundStepAtLeast(raw);
    axis.step = step;
    axis.low = std::floor(low / step) * step;
    axis.high = std::ceil(high / step) * step;
    axis.decimals = std::clamp(static_cast<int>(-std::floor(std::log10(step) + 1e-9)), 0, 9);
    return axis;
}

}  // namespace korvel
