// The sine and cosine of fdlibm 5.3 (s_sin.c, s_cos.c, k_sin.c, k_cos.c,
// e_rem_pio2.c and k_rem_pio2.c), rewritten in C++ for doubles alone: the
// angle is reduced by π/2 (Cody–Waite with π/2 split in pieces for ordinary
// angles, Payne–Hanek with a table of 2/π bits for huge ones), then minimax
// polynomials give the sine or cosine of the remainder. Its notice:
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
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvel {
namespace {

// The upper 32 bits of a double (sign, exponent, top of the fraction): the
// ranges below are judged on them, as fdlibm does.
std::int32_t highWord(double x) { return static_cast<std::int32_t>(std::bit_cast<std::uint64_t>(x) >> 32); }
std::uint32_t lowWord(double x) { return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(x)); }
double fromWords(std::uint32_t high, std::uint32_t low) {
    return std::bit_cast<double>((std::uint64_t{high} << 32) | low);
}

// 2^e exactly, for the normal exponents the reduction meets (−1022 to 1023).
double powerOfTwo(int e) { return fromWords(static_cast<std::uint32_t>(e + 1023) << 20, 0); }

constexpr double kTwo24 = 0x1p24;
constexpr double kTwoMinus24 = 0x1p-24;

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

// 2/π in 24-bit pieces: piece i is bits 24i to 24i + 23 after the point.
// Enough for the largest double.
constexpr std::array<std::int32_t, 66> kTwoOverPi = {
    0xA2F983, 0x6E4E44, 0x1529FC, 0x2757D1, 0xF534DD, 0xC0DB62, 0x95993C, 0x439041, 0xFE5163, 0xABDEBB, 0xC561B7,
    0x246E3A, 0x424DD2, 0xE00649, 0x2EEA09, 0xD1921C, 0xFE1DEB, 0x1CB129, 0xA73EE8, 0x8235F5, 0x2EBB44, 0x84E99C,
    0x7026B4, 0x5F7E41, 0x3991D6, 0x398353, 0x39F49C, 0x845F8B, 0xBDF928, 0x3B1FF8, 0x97FFDE, 0x05980F, 0xEF2F11,
    0x8B5A0A, 0x6D1F6D, 0x367ECF, 0x27CB09, 0xB74F46, 0x3F669E, 0x5FEA2D, 0x7527BA, 0xC7EBE5, 0xF17B3D, 0x0739F7,
    0x8A5292, 0xEA6BFB, 0x5FB11F, 0x8D5D08, 0x560330, 0x46FC7B, 0x6BABF0, 0xCFBC20, 0x9AF436, 0x1DA9E3, 0x91615E,
    0xE61B08, 0x659985, 0x5F14A0, 0x68408D, 0xFFD880, 0x4D7327, 0x310606, 0x1556CA, 0x73A8C9, 0x60E27B, 0xC08C6B,
};

// π/2 in pieces of 24 bits, each exact in a double.
constexpr std::array<double, 8> kPiOver2Pieces = {
    1.57079625129699707031e+00, 7.54978941586159635335e-08, 5.39030252995776476554e-15, 3.28200341580791294123e-22,
    1.27065575308067607349e-29, 1.22933308981111328932e-36, 2.73370053816464559624e-44, 2.16741683877804819444e-51,
};

// Payne–Hanek: x (positive, at least 2^20·π/2) comes as nx pieces of 24 bits,
// x[i]·2^(e0 − 24i). Only the bits of 2/π that can change x·2/π modulo 8 are
// multiplied, so huge x costs no more than small. Gives the remainder by π/2
// as y[0] + y[1] (to 64 bits) and the last three bits of the quotient.
int remainderByPiOver2Huge(const double* x, double* y, int e0, int nx) {
    constexpr int jk = 4;  // pieces of 2/π used first, beyond the first one
    constexpr int jp = jk;
    std::array<std::int32_t, 20> iq{};
    std::array<double, 20> f{}, fq{}, q{};

    const int jx = nx - 1;
    const int jv = std::max(0, (e0 - 3) / 24);  // first piece of 2/π that matters
    int q0 = e0 - 24 * (jv + 1);                // exponent of q[0], below 3

    for (int i = 0, j = jv - jx; i <= jx + jk; ++i, ++j) f[i] = j < 0 ? 0.0 : kTwoOverPi[j];
    for (int i = 0; i <= jk; ++i) {
        double fw = 0;
        for (int j = 0; j <= jx; ++j) fw += x[j] * f[jx + i - j];
        q[i] = fw;
    }

    int jz = jk;
    int n = 0;
    int ih = 0;  // above 0: the fraction is at least 1/2, and the remainder is taken from 1
    double z = 0;
    for (;;) {
        // q in 24-bit integers, lowest first.
        z = q[jz];
        for (int i = 0, j = jz; j > 0; ++i, --j) {
            const double fw = static_cast<std::int32_t>(kTwoMinus24 * z);
            iq[i] = static_cast<std::int32_t>(z - kTwo24 * fw);
            z = q[j - 1] + fw;
        }
        // The integer part modulo 8. z is positive and below 2^52, so the cast
        // is floor.
        z *= powerOfTwo(q0);
        z -= 8.0 * static_cast<double>(static_cast<std::int64_t>(z * 0.125));
        n = static_cast<std::int32_t>(z);
        z -= n;
        ih = 0;
        if (q0 > 0) {  // iq[jz − 1] holds integer bits too
            const std::int32_t top = iq[jz - 1] >> (24 - q0);
            n += top;
            iq[jz - 1] -= top << (24 - q0);
            ih = iq[jz - 1] >> (23 - q0);
        } else if (q0 == 0) {
            ih = iq[jz - 1] >> 23;
        } else if (z >= 0.5) {
            ih = 2;
        }

        if (ih > 0) {
            n += 1;
            bool borrow = false;
            for (int i = 0; i < jz; ++i) {
                const std::int32_t j = iq[i];
                if (!borrow) {
                    if (j != 0) {
                        borrow = true;
                        iq[i] = 0x1000000 - j;
                    }
                } else {
                    iq[i] = 0xffffff - j;
                }
            }
            if (q0 == 1) iq[jz - 1] &= 0x7fffff;
            if (q0 == 2) iq[jz - 1] &= 0x3fffff;
            if (ih == 2) {
                z = 1 - z;
                if (borrow) z -= powerOfTwo(q0);
            }
        }

        // A fraction that came out as zero so far needs more pieces of 2/π.
        if (z != 0) break;
        std::int32_t rest = 0;
        for (int i = jz - 1; i >= jk; --i) rest |= iq[i];
        if (rest != 0) break;
        int more = 1;
        while (iq[jk - more] == 0) ++more;
        for (int i = jz + 1; i <= jz + more; ++i) {
            f[jx + i] = kTwoOverPi[jv + i];
            double fw = 0;
            for (int j = 0; j <= jx; ++j) fw += x[j] * f[jx + i - j];
            q[i] = fw;
        }
        jz += more;
    }

    // Drop the zero pieces at the end, or split the last into 24 bits.
    if (z == 0) {
        jz -= 1;
        q0 -= 24;
        while (iq[jz] == 0) {
            --jz;
            q0 -= 24;
        }
    } else {
        z *= powerOfTwo(-q0);
        if (z >= kTwo24) {
            const double fw = static_cast<std::int32_t>(kTwoMinus24 * z);
            iq[jz] = static_cast<std::int32_t>(z - kTwo24 * fw);
            jz += 1;
            q0 += 24;
            iq[jz] = static_cast<std::int32_t>(fw);
        } else {
            iq[jz] = static_cast<std::int32_t>(z);
        }
    }

    // The fraction as doubles, times π/2.
    double fw = powerOfTwo(q0);
    for (int i = jz; i >= 0; --i) {
        q[i] = fw * iq[i];
        fw *= kTwoMinus24;
    }
    for (int i = jz; i >= 0; --i) {
        double sum = 0;
        for (int k = 0; k <= jp && k <= jz - i; ++k) sum += kPiOver2Pieces[k] * q[i + k];
        fq[jz - i] = sum;
    }

    double head = 0;
    for (int i = jz; i >= 0; --i) head += fq[i];
    double tail = fq[0] - head;
    for (int i = 1; i <= jz; ++i) tail += fq[i];
    y[0] = ih == 0 ? head : -head;
    y[1] = ih == 0 ? tail : -tail;
    return n & 7;
}

// x − n·π/2 as y[0] + y[1], |y[0] + y[1]| ≤ π/4, and n. Finite x above π/4
// in size only.
int remainderByPiOver2(double x, double* y) {
    constexpr double kTwoOverPiDouble = 6.36619772367581382433e-01;
    // π/2 in pieces of 33 bits (1, 2, 3) and the rest after each (1t, 2t, 3t).
    constexpr double kPio2_1 = 1.57079632673412561417e+00;
    constexpr double kPio2_1t = 6.07710050650619224932e-11;
    constexpr double kPio2_2 = 6.07710050630396597660e-11;
    constexpr double kPio2_2t = 2.02226624879595063154e-21;
    constexpr double kPio2_3 = 2.02226624871116645580e-21;
    constexpr double kPio2_3t = 8.47842766036889956997e-32;
    // High words of n·π/2 for n = 1 to 32: x near one of them loses bits when
    // n·π/2 is taken away, so the reduction goes on with more of π/2.
    constexpr std::array<std::int32_t, 32> kHighWordOfNPiOver2 = {
        0x3FF921FB, 0x400921FB, 0x4012D97C, 0x401921FB, 0x401F6A7A, 0x4022D97C, 0x4025FDBB, 0x402921FB,
        0x402C463A, 0x402F6A7A, 0x4031475C, 0x4032D97C, 0x40346B9C, 0x4035FDBB, 0x40378FDB, 0x403921FB,
        0x403AB41B, 0x403C463A, 0x403DD85A, 0x403F6A7A, 0x40407E4C, 0x4041475C, 0x4042106C, 0x4042D97C,
        0x4043A28C, 0x40446B9C, 0x404534AC, 0x4045FDBB, 0x4046C6CB, 0x40478FDB, 0x404858EB, 0x404921FB,
    };

    const std::int32_t hx = highWord(x);
    const std::int32_t ix = hx & 0x7fffffff;
    if (ix < 0x4002d97c) {  // |x| < 3π/4: n is ±1
        const double sign = hx > 0 ? 1 : -1;
        double z = x - sign * kPio2_1;
        if (ix != 0x3ff921fb) {  // 33 + 53 bits of π/2 are enough
            y[0] = z - sign * kPio2_1t;
            y[1] = (z - y[0]) - sign * kPio2_1t;
        } else {  // near π/2: 33 + 33 + 53 bits
            z -= sign * kPio2_2;
            y[0] = z - sign * kPio2_2t;
            y[1] = (z - y[0]) - sign * kPio2_2t;
        }
        return hx > 0 ? 1 : -1;
    }
    if (ix <= 0x413921fb) {  // |x| ≤ 2^19·π/2: Cody–Waite
        const double t = hx < 0 ? -x : x;
        const auto n = static_cast<std::int32_t>(t * kTwoOverPiDouble + 0.5);
        const double fn = n;
        double r = t - fn * kPio2_1;
        double w = fn * kPio2_1t;  // good to 85 bits
        if (n < 32 && ix != kHighWordOfNPiOver2[n - 1]) {
            y[0] = r - w;
        } else {
            // Cancellation: as many more pieces of π/2 as the bits lost need.
            const std::int32_t j = ix >> 20;
            y[0] = r - w;
            std::int32_t lost = j - ((highWord(y[0]) >> 20) & 0x7ff);
            if (lost > 16) {  // a second piece, good to 118 bits
                double before = r;
                w = fn * kPio2_2;
                r = before - w;
                w = fn * kPio2_2t - ((before - r) - w);
                y[0] = r - w;
                lost = j - ((highWord(y[0]) >> 20) & 0x7ff);
                if (lost > 49) {  // a third, good to 151 bits: enough for any double
                    before = r;
                    w = fn * kPio2_3;
                    r = before - w;
                    w = fn * kPio2_3t - ((before - r) - w);
                    y[0] = r - w;
                }
            }
        }
        y[1] = (r - y[0]) - w;
        if (hx < 0) {
            y[0] = -y[0];
            y[1] = -y[1];
            return -n;
        }
        return n;
    }

    // Huge: |x| as three pieces of 24 bits, the first scaled to [2^23, 2^24).
    const std::int32_t e0 = (ix >> 20) - 1046;
    double z = fromWords(static_cast<std::uint32_t>(ix - e0 * 0x100000), lowWord(x));
    std::array<double, 3> tx{};
    for (int i = 0; i < 2; ++i) {
        tx[i] = static_cast<std::int32_t>(z);
        z = (z - tx[i]) * kTwo24;
    }
    tx[2] = z;
    int nx = 3;
    while (tx[nx - 1] == 0) --nx;
    const int n = remainderByPiOver2Huge(tx.data(), y, e0, nx);
    if (hx < 0) {
        y[0] = -y[0];
        y[1] = -y[1];
        return -n;
    }
    return n;
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
