#include "sim/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace korvel {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the number at the start of `text` in the accepted grammar
// (sign, digits with optional "." fraction, optional exponent), 0 if none.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    // An exponent counts only when digits follow it: "2e" is the number 2.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }
    return i;
}

// Whether a number in the grammar, without its sign, is 1 or more in size,
// read from its digits: what a runtime's wider types see differs between
// platforms (on some, long double is no wider than double), so an overflow is
// told from an underflow the same way everywhere.
bool atLeastOne(std::string_view number) {
    long long firstDigitPower = 0;  // power of ten of the first non-zero digit
    bool nonZero = false;
    bool fraction = false;
    std::size_t i = 0;
    for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
        if (number[i] == '.') {
            fraction = true;
        } else if (!nonZero) {
            if (fraction) --firstDigitPower;
            nonZero = number[i] != '0';
        } else if (!fraction) {
            ++firstDigitPower;
        }
    }
    if (!nonZero) return false;
    // The exponent, saturated far beyond any double's range.
    long long exponent = 0;
    bool negative = false;
    if (i < number.size()) ++i;  // "e" or "E"
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
    for (; i < number.size(); ++i) exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000LL);
    return firstDigitPower + (negative ? -exponent : exponent) >= 0;
}

// Converts a number already known to match the grammar. Gives nothing when it
// lies beyond the double range; a value too small for a double becomes 0.
std::optional<double> convert(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    double value = 0;
    auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        if (atLeastOne(number)) return std::nullopt;
        value = 0;  // too small for a double
    } else if (error != std::errc{} || end != number.data() + number.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::string_view trimLeadingBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    return text;
}

// Whether a text already stripped of blanks is one number, whatever its size.
bool isWholeNumber(std::string_view trimmed) {
    const std::size_t length = numberLength(trimmed);
    return length != 0 && length == trimmed.size();
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
    text = trimLeadingBlanks(text);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> strictNumber(std::string_view text) {
    text = trimBlanks(text);
    if (!isWholeNumber(text)) return std::nullopt;
    return convert(text);
}

bool isWrittenAsNumber(std::string_view text) { return isWholeNumber(trimBlanks(text)); }

bool startsWithNumber(std::string_view text) { return numberLength(trimLeadingBlanks(text)) != 0; }

std::optional<double> leadingNumber(std::string_view text) {
    text = trimLeadingBlanks(text);
    std::size_t length = numberLength(text);
    if (length == 0) return 0.0;
    return convert(text.substr(0, length));
}

std::string signedNumberText(double value) {
    std::string text = numberText(value, 15);
    return text.front() == '-' ? text : " " + text;
}

std::string numberText(double value, int digits) {
    // Rounded to 15 digits, the largest doubles would print as a number beyond
    // the range, which no box could read back; they print as the largest
    // 15-digit number within it.
    constexpr double kLargest15 = 1.79769313486231e308;
    if (digits == 15 && std::isfinite(value) && std::fabs(value) > kLargest15) value = std::copysign(kLargest15, value);
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    if (error != std::errc{}) return "?";
    std::string text(buffer, end);
    if (text == "-0") text = "0";
    return text;
}

std::string plainNumberText(double value) { return numberText(value, 15); }

std::string roundTripText(double value) {
    if (value == 0 && std::signbit(value)) return "-0.0";
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

std::string shortNumberText(double value) { return numberText(static_cast<float>(value), 7); }

std::string groupedCount(std::size_t count) {
    std::string digits = std::to_string(count);
    for (auto at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
    return digits;
}

}  // namespace korvel
