// Fuzzes the two text-to-number conversions, what tells their faults apart,
// and the number texts. Every property that fails traps, so libFuzzer reports
// the input that broke it.

#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sim/numbers.h"

namespace {

void require(bool property) {
    if (!property) __builtin_trap();
}

bool sameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// The shortest text that reads back as exactly this double.
std::string shortestText(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    require(error == std::errc{});
    return std::string(buffer, end);
}

bool onlyNumberCharacters(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' || c == ' ' ||
              c == '\t'))
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using korvel::leadingNumber;
    using korvel::strictNumber;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const auto strict = strictNumber(text);
    const auto leading = leadingNumber(text);  // must not throw: an escape aborts

    // leadingNumber gives nothing only for a number beyond the range, and
    // never anything that is not finite.
    if (leading) require(std::isfinite(*leading));

    // Blanks around change nothing.
    const auto padded = strictNumber(" \t" + std::string(text) + "\t ");
    require(padded.has_value() == strict.has_value());
    if (strict && padded) require(sameBits(*padded, *strict));

    // Being written as a number is what tells a number beyond the range from
    // text that is no number: such a number is refused by both readers.
    const bool written = korvel::isWrittenAsNumber(text);
    const bool starts = korvel::startsWithNumber(text);
    if (written) require(starts);
    if (written && !strict) require(!leading);
    if (!starts) require(leading && *leading == 0);

    if (!strict) return 0;
    require(written);
    const double value = *strict;

    // Only finite numbers, written with the characters of the grammar.
    require(std::isfinite(value));
    require(onlyNumberCharacters(text));

    // A whole number is also its own leading number.
    require(leading.has_value() && sameBits(*leading, value));

    // The shortest round-trip text reads back bit for bit, sign of zero included.
    const auto back = strictNumber(shortestText(value));
    require(back.has_value() && sameBits(*back, value));

    // The texts the program writes read back, to their 15 digits.
    for (const std::string& shown : {korvel::plainNumberText(value), korvel::signedNumberText(value)}) {
        const auto read = strictNumber(shown);
        require(read.has_value());
        require(std::fabs(*read - value) <= std::fabs(value) * 1e-14 + 1e-320);
    }
    return 0;
}
