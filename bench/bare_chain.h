#pragma once
// The floor any inverse-square sub-step waits for: the squared distance, its
// root and the division side by side, then one multiplication and one addition.

#include <cmath>

namespace korvel::bench {

inline double bareChainStep(double x, double y) {
    const double rr = x * x + y * y;
    const double perR2 = 1 / rr;
    const double r = std::sqrt(rr);
    return x + perR2 * r;
}

}  // namespace korvel::bench
