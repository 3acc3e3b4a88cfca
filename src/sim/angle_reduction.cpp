// The reduction by π/2 of fdlibm 5.3 (e_rem_pio2.c and k_rem_pio2.c),
// rewritten in C++ for doubles alone: Cody–Waite with π/2 split in pieces for
// ordinary angles, Payne–Hanek with a table of 2/π bits for huge ones. Its
// notice:
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

#include "sim/angle_reduction.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace korvel {
namespace {

// 2^e exactly, for the normal exponents the reduction meets (−1022 to 1023).
double powerOfTwo(int e) { return fromWords(static_cast<std::uint32_t>(e + 1023) << 20, 0); }

constexpr double kTwo24 = 0x1p24;
constexpr double kTwoMinus24 = 0x1p-24;

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
// multiplied, so huge x costs no more than small. The stages share the working
// pieces and indices, so they are members, called in order by
// remainderByPiOver2Huge.
class HugeReduction {
public:
    HugeReduction(const double* x, int e0, int nx)
        : x_(x), jx_(nx - 1), jv_(std::max(0, (e0 - 3) / 24)), q0_(e0 - 24 * (jv_ + 1)) {
        for (int i = 0, j = jv_ - jx_; i <= jx_ + jk; ++i, ++j) f_[i] = j < 0 ? 0.0 : kTwoOverPi[j];
        for (int i = 0; i <= jk; ++i) q_[i] = product(i);
    }

    // The integer part modulo 8 and the fraction after it, with more of 2/π
    // for as long as the fraction comes out as zero.
    void reduce() {
        for (;;) {
            splitIntoIntegers();
            takeIntegerPartModulo8();
            noteWhetherFractionIsAtLeastHalf();
            if (ih_ > 0) complementFromOne();
            if (!fractionVanished()) return;
            fetchMorePieces();
        }
    }

    // Drop the zero pieces at the end, or split the last into 24 bits.
    void trimLastPiece() {
        if (z_ == 0) {
            jz_ -= 1;
            q0_ -= 24;
            while (iq_[jz_] == 0) {
                --jz_;
                q0_ -= 24;
            }
        } else {
            z_ *= powerOfTwo(-q0_);
            if (z_ >= kTwo24) {
                const double fw = static_cast<std::int32_t>(kTwoMinus24 * z_);
                iq_[jz_] = static_cast<std::int32_t>(z_ - kTwo24 * fw);
                jz_ += 1;
                q0_ += 24;
                iq_[jz_] = static_cast<std::int32_t>(fw);
            } else {
                iq_[jz_] = static_cast<std::int32_t>(z_);
            }
        }
    }

    // The fraction as doubles, times π/2, summed into y[0] + y[1] (to 64
    // bits); the sign turns when the fraction was taken from 1.
    void foldTimesPiOver2(double* y) const {
        std::array<double, 20> fraction{}, fq{};
        double fw = powerOfTwo(q0_);
        for (int i = jz_; i >= 0; --i) {
            fraction[i] = fw * iq_[i];
            fw *= kTwoMinus24;
        }
        for (int i = jz_; i >= 0; --i) {
            double sum = 0;
            for (int k = 0; k <= jk && k <= jz_ - i; ++k) sum += kPiOver2Pieces[k] * fraction[i + k];
            fq[jz_ - i] = sum;
        }
        double head = 0;
        for (int i = jz_; i >= 0; --i) head += fq[i];
        double tail = fq[0] - head;
        for (int i = 1; i <= jz_; ++i) tail += fq[i];
        y[0] = ih_ == 0 ? head : -head;
        y[1] = ih_ == 0 ? tail : -tail;
    }

    int quotientModulo8() const { return n_ & 7; }

private:
    static constexpr int jk = 4;  // pieces of 2/π used first, beyond the first one

    // Piece i of x·2/π, not yet carried.
    double product(int i) const {
        double fw = 0;
        for (int j = 0; j <= jx_; ++j) fw += x_[j] * f_[jx_ + i - j];
        return fw;
    }

    // q in 24-bit integers, lowest first; the top piece stays in z.
    void splitIntoIntegers() {
        z_ = q_[jz_];
        for (int i = 0, j = jz_; j > 0; ++i, --j) {
            const double fw = static_cast<std::int32_t>(kTwoMinus24 * z_);
            iq_[i] = static_cast<std::int32_t>(z_ - kTwo24 * fw);
            z_ = q_[j - 1] + fw;
        }
    }

    // z is positive and below 2^52, so the cast is floor. With q0 above 0,
    // iq[jz − 1] holds integer bits too.
    void takeIntegerPartModulo8() {
        z_ *= powerOfTwo(q0_);
        z_ -= 8.0 * static_cast<double>(static_cast<std::int64_t>(z_ * 0.125));
        n_ = static_cast<std::int32_t>(z_);
        z_ -= n_;
        if (q0_ > 0) {
            const std::int32_t top = iq_[jz_ - 1] >> (24 - q0_);
            n_ += top;
            iq_[jz_ - 1] -= top << (24 - q0_);
        }
    }

    // ih above 0: the fraction is at least 1/2 (2: judged on z alone).
    void noteWhetherFractionIsAtLeastHalf() {
        ih_ = 0;
        if (q0_ > 0) {
            ih_ = iq_[jz_ - 1] >> (23 - q0_);
        } else if (q0_ == 0) {
            ih_ = iq_[jz_ - 1] >> 23;
        } else if (z_ >= 0.5) {
            ih_ = 2;
        }
    }

    // The remainder is taken from 1, and the quotient rounds up.
    void complementFromOne() {
        n_ += 1;
        bool borrow = false;
        for (int i = 0; i < jz_; ++i) {
            const std::int32_t j = iq_[i];
            if (!borrow) {
                if (j != 0) {
                    borrow = true;
                    iq_[i] = 0x1000000 - j;
                }
            } else {
                iq_[i] = 0xffffff - j;
            }
        }
        if (q0_ == 1) iq_[jz_ - 1] &= 0x7fffff;
        if (q0_ == 2) iq_[jz_ - 1] &= 0x3fffff;
        if (ih_ == 2) {
            z_ = 1 - z_;
            if (borrow) z_ -= powerOfTwo(q0_);
        }
    }

    bool fractionVanished() const {
        if (z_ != 0) return false;
        std::int32_t rest = 0;
        for (int i = jz_ - 1; i >= jk; --i) rest |= iq_[i];
        return rest == 0;
    }

    // As many more pieces of 2/π as the zero pieces at the end of the fraction.
    void fetchMorePieces() {
        int more = 1;
        while (iq_[jk - more] == 0) ++more;
        for (int i = jz_ + 1; i <= jz_ + more; ++i) {
            f_[jx_ + i] = kTwoOverPi[jv_ + i];
            q_[i] = product(i);
        }
        jz_ += more;
    }

    const double* x_;
    const int jx_;  // index of x's last piece
    const int jv_;  // first piece of 2/π that matters
    int q0_;        // exponent of q[0], below 3 until the last piece is trimmed
    int jz_ = jk;   // index of the last piece of the product
    int n_ = 0;     // the quotient
    int ih_ = 0;    // above 0: the remainder is taken from 1
    double z_ = 0;  // the piece being carried, then the fraction
    std::array<std::int32_t, 20> iq_{};
    std::array<double, 20> f_{}, q_{};
};

int remainderByPiOver2Huge(const double* x, double* y, int e0, int nx) {
    HugeReduction reduction(x, e0, nx);
    reduction.reduce();
    reduction.trimLastPiece();
    reduction.foldTimesPiOver2(y);
    return reduction.quotientModulo8();
}

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

// The remainders below are of |x|; this gives them x's sign (hx is x's high word).
int withSignOf(std::int32_t hx, int n, double* y) {
    if (hx >= 0) return n;
    y[0] = -y[0];
    y[1] = -y[1];
    return -n;
}

// |x| < 3π/4 (ix is |x|'s high word): n is ±1.
int remainderBelowThreePiOver4(double x, std::int32_t hx, std::int32_t ix, double* y) {
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

// |x| ≤ 2^19·π/2: Cody–Waite, n·π/2 taken away in pieces.
int remainderCodyWaite(double x, std::int32_t hx, std::int32_t ix, double* y) {
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
    return withSignOf(hx, n, y);
}

// Larger |x|: as three pieces of 24 bits, the first scaled to [2^23, 2^24),
// for Payne–Hanek.
int remainderHuge(double x, std::int32_t hx, std::int32_t ix, double* y) {
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
    return withSignOf(hx, remainderByPiOver2Huge(tx.data(), y, e0, nx), y);
}

}  // namespace

int remainderByPiOver2(double x, double* y) {
    const std::int32_t hx = highWord(x);
    const std::int32_t ix = hx & 0x7fffffff;
    if (ix < 0x4002d97c) return remainderBelowThreePiOver4(x, hx, ix, y);
    if (ix <= 0x413921fb) return remainderCodyWaite(x, hx, ix, y);
    return remainderHuge(x, hx, ix, y);
}

}  // namespace korvel
