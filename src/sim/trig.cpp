// The sine and cosine of fdlibm 5.3 (s_sin.c, s_cos.c, k_sin.c, k_cos.c,
// e_rem_pio2.c and k_rem_pio2.c), rewritten in C++ for doubles alone: the
// angle is reduced by π/2 (angle_reduction.cpp), then minimax polynomials
// give the sine or cosine of the remainder. Its notice:
//
// ====================================================
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
// ====================================================
//
// The same bits everywhere need the same operations in the same order: the
// build keeps the compiler from contracting a × b + c into one fused step.

#include "sim/trig.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "sim/angle_reduction.h"

namespace korvel {
namespace {

// sin(x + y) for |x + y| ≤ π/4 with y a tail far below x; tailIsZero lets the
// common case skip the tail's terms. The polynomial is sin's minimax fit on
// [−π/4, π/4], error below 2^−58.
double kernelSin(double x, double y, bool tailIsZero) {
    constexpr double S1 = -1.66666666666666324348e-01;
    constexpr double S2 = 8.33333333332248946124e-03;
    constexpr double S3 = -1.98412698298579493134e-04;
    constexpr double S4 = 2.75573137070700676789e-06;
    constexpr double S5 = -2.50507602534068634195e-08;
    constexpr double S6 = 1.58969099521155010221e-10;
    const std::int32_t ix = highWord(x) & 0x7fffffff;
    if (ix < 0x3e400000) return x;  // |x| < 2^−27: sin x is x to the last bit
    const double z = x * x;
    const double v = z * x;
    const double r = S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)));
    if (tailIsZero) return x + v * (S1 + z * r);
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// cos(x + y), as kernelSin. 1 − x²/2 loses bits when x²/2 is large, so above
// |x| = 0.3 a part qx of x²/2 is taken from the 1 first, exactly.
double kernelCos(double x, double y) {
    constexpr double C1 = 4.16666666666666019037e-02;
    constexpr double C2 = -1.38888888888741095749e-03;
    constexpr double C3 = 2.48015872894767294178e-05;
    constexpr double C4 = -2.75573143513906633035e-07;
    constexpr double C5 = 2.08757232129817482790e-09;
    constexpr double C6 = -1.13596475577881948265e-11;
    const std::int32_t ix = highWord(x) & 0x7fffffff;
    if (ix < 0x3e400000) return 1;  // |x| < 2^−27
    const double z = x * x;
    const double r = z * (C1 + z * (C2 + z * (C3 + z * (C4 + z * (C5 + z * C6)))));
    if (ix < 0x3fd33333) return 1 - (0.5 * z - (z * r - x * y));  // |x| < 0.3
    // qx is x/4 cut to its top bits (0.28125 above 0.78125).
    const double qx = ix > 0x3fe90000 ? 0.28125 : fromWords(static_cast<std::uint32_t>(ix - 0x00200000), 0);
    const double hz = 0.5 * z - qx;
    const double a = 1 - qx;
    return a - (hz - (z * r - x * y));
}

bool isFinite(double x) { return (highWord(x) & 0x7fffffff) < 0x7ff00000; }

}  // namespace

double portableSin(double radians) {
    if ((highWord(radians) & 0x7fffffff) <= 0x3fe921fb) return kernelSin(radians, 0, true);
    if (!isFinite(radians)) return radians - radians;  // NaN
    double y[2];
    switch (remainderByPiOver2(radians, y) & 3) {
    case 0: return kernelSin(y[0], y[1], false);
    case 1: return kernelCos(y[0], y[1]);
    case 2: return -kernelSin(y[0], y[1], false);
    default: return -kernelCos(y[0], y[1]);
    }
}

double portableCos(double radians) {
    if ((highWord(radians) & 0x7fffffff) <= 0x3fe921fb) return kernelCos(radians, 0);
    if (!isFinite(radians)) return radians - radians;  // NaN
    double y[2];
    switch (remainderByPiOver2(radians, y) & 3) {
    case 0: return kernelCos(y[0], y[1]);
    case 1: return -kernelSin(y[0], y[1], false);
    case 2: return -kernelCos(y[0], y[1]);
    default: return kernelSin(y[0], y[1], false);
    }
}

double portableHypot(double x, double y) {
    if (std::isinf(x) || std::isinf(y)) return std::numeric_limits<double>::infinity();
    const double sum = x * x + y * y;
    // Squares well inside the double range: the plain sum is as good as hypot.
    if (sum > 0x1p-900 && sum < 0x1p900) return std::sqrt(sum);
    const double scale = std::max(std::abs(x), std::abs(y));
    if (!(scale > 0)) return scale + std::abs(x + y);  // 0, or NaN
    const double a = x / scale;
    const double b = y / scale;
    return scale * std::sqrt(a * a + b * b);
}

}  // namespace korvel
