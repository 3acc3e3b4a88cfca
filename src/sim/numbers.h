#pragma once
// Text to number and number to text, the same under every locale: "." is
// always the decimal point.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The whole text, blanks around it allowed, must be a finite number: an
// optional sign, digits with an optional "." fraction, an optional exponent.
// Anything else (including "nan", "inf", hex and values beyond the double
// range) gives nothing. A value too small for a double reads as 0.
std::optional<double> strictNumber(std::string_view text);

// The number at the start of the text (after blanks), or 0 when there is none.
// Gives nothing only when that leading number lies beyond the double range.
std::optional<double> leadingNumber(std::string_view text);

// Whether the whole text, blanks around it allowed, is written as a number in
// strictNumber's grammar, whatever its size: a text that is but still gives
// nothing lies beyond the double range.
bool isWrittenAsNumber(std::string_view text);

// Whether the text starts with a number, after blanks.
bool startsWithNumber(std::string_view text);

// The text without the blanks (spaces and tabs) around it.
std::string_view trimBlanks(std::string_view text);

// Up to 15 significant digits, with a blank before a number that is not
// negative: " 2", "-0.5".
std::string signedNumberText(double value);

// Up to 15 significant digits, no leading blank.
std::string plainNumberText(double value);

// Up to 7 significant digits (a single-precision reading), no leading blank.
std::string shortNumberText(double value);

// Up to `digits` significant digits (1 to 17), no leading blank.
std::string numberText(double value, int digits);

// The shortest text that reads back to the same double, the same on every
// platform; "-0.0" keeps the sign that an integer zero would lose.
std::string roundTripText(double value);

// A whole number as the messages and labels write it, its thousands
// grouped: "1,000".
std::string groupedCount(std::size_t count);

}  // namespace korvel

namespace korvel {

// A panel text captured at set-up: empty means never set and reads as 0.
inline std::optional<double> snapshotNumber(std::string_view text) {
    return text.empty() ? std::optional<double>(0.0) : strictNumber(text);
}

}  // namespace korvel
