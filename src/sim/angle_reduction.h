#pragma once
// The angle reduced by π/2 for the portable sine and cosine, and the words of
// a double that both judge ranges on, as fdlibm does.

#include <bit>
#include <cstdint>

namespace korvel {

// The upper 32 bits of a double (sign, exponent, top of the fraction), the
// lower 32, and the double they make.
inline std::int32_t highWord(double x) { return static_cast<std::int32_t>(std::bit_cast<std::uint64_t>(x) >> 32); }
inline std::uint32_t lowWord(double x) { return static_cast<std::uint32_t>(std::bit_cast<std::uint64_t>(x)); }
inline double fromWords(std::uint32_t high, std::uint32_t low) {
    return std::bit_cast<double>((std::uint64_t{high} << 32) | low);
}

// x − n·π/2 as y[0] + y[1], |y[0] + y[1]| ≤ π/4, and n. Finite x above π/4
// in size only.
int remainderByPiOver2(double x, double* y);

}  // namespace korvel
