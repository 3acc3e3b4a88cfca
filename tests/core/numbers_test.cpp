#include "sim/numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace korvel {
namespace {

struct Accepted {
    const char* text;
    double value;
};

const Accepted kStrictAccepted[] = {
    {"1", 1},          {"  1.02 ", 1.02}, {"-3", -3},    {"+4.5", 4.5}, {".0123", 0.0123}, {"5.", 5},     {"1e3", 1000},
    {"2.5E-2", 0.025}, {"-0", 0},         {"1e-400", 0}, {"\t7\t", 7},  {"1e+308", 1e308}, {"00012", 12},
};

const char* const kStrictRefused[] = {
    "",     " ", "abc", "1,5", "1e999", "-1e999", "nan", "inf", "-inf", "0x10",     "--1", "1e",
    "2abc", ".", "-",   "1 2", "1.2.3", "e5",     "+-1", "１",  "1e5x", "infinity", "NaN",
};

class StrictNumberTest : public ::testing::Test {};

TEST_F(StrictNumberTest, AcceptsWholeNumbersWithBlanksAround) {
    for (const Accepted& c : kStrictAccepted) {
        const auto value = strictNumber(c.text);
        ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(*value, c.value) << '"' << c.text << '"';
    }
}

TEST_F(StrictNumberTest, RefusesEverythingElse) {
    for (const char* text : kStrictRefused) EXPECT_FALSE(strictNumber(text).has_value()) << '"' << text << '"';
    // Of those, only numbers beyond the range are written as numbers.
    for (const char* text : kStrictRefused) {
        const std::string_view t = text;
        EXPECT_EQ(isWrittenAsNumber(text), t == "1e999" || t == "-1e999") << '"' << text << '"';
    }
    for (const Accepted& c : kStrictAccepted) EXPECT_TRUE(isWrittenAsNumber(c.text)) << c.text;
}

TEST_F(StrictNumberTest, LongDigitStringsWithinRangeAreRead) {
    EXPECT_DOUBLE_EQ(*strictNumber(std::string(300, '9')), 1e300);
    EXPECT_FALSE(strictNumber(std::string(400, '9')).has_value());
    EXPECT_DOUBLE_EQ(*strictNumber("0." + std::string(500, '0') + "1"), 0);
    // Beyond the range either way, whichever way the exponent points: 1e350 and 1e-351.
    EXPECT_FALSE(strictNumber("1" + std::string(400, '0') + "e-50").has_value());
    EXPECT_DOUBLE_EQ(*strictNumber("0." + std::string(400, '0') + "1e50"), 0);
}

TEST(LeadingNumberTest, TakesTheNumberAtTheStartOrZero) {
    const Accepted cases[] = {
        {"2abc", 2},
        {".0123", 0.0123},
        {"  -3.5e2x", -350},
        {"", 0},
        {"abc", 0},
        {"60.2", 60.2},
        {"2e", 2},
        {"1,5", 1},
        {"-", 0},
        {"1e-400", 0},
        {"second planet mass as multiple of Earth mass (Moon = .0123)", 0},
    };
    for (const Accepted& c : cases) {
        const auto value = leadingNumber(c.text);
        ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
        EXPECT_DOUBLE_EQ(*value, c.value) << '"' << c.text << '"';
    }
    // Whether there was a number at all, or the 0 stands for none.
    for (const Accepted& c : cases) {
        const std::string_view t = c.text;
        const bool none = t.empty() || t == "abc" || t == "-" || t.starts_with("second");
        EXPECT_EQ(startsWithNumber(c.text), !none) << '"' << c.text << '"';
    }
    EXPECT_TRUE(startsWithNumber(" \t1e999 radii"));
}

TEST(LeadingNumberTest, ALeadingNumberBeyondTheRangeGivesNothing) {
    EXPECT_FALSE(leadingNumber("1e999").has_value());
    EXPECT_FALSE(leadingNumber("-1e999 and more").has_value());
    // Words that other readers take for numbers are not numbers here.
    EXPECT_DOUBLE_EQ(*leadingNumber("inf"), 0);
    EXPECT_DOUBLE_EQ(*leadingNumber("nan"), 0);
}

TEST(NumberTextTest, SignPlaceAndPlainForms) {
    EXPECT_EQ(signedNumberText(2), " 2");
    EXPECT_EQ(signedNumberText(-2.5), "-2.5");
    EXPECT_EQ(signedNumberText(0.996875), " 0.996875");
    EXPECT_EQ(signedNumberText(-0.0), " 0");
    EXPECT_EQ(plainNumberText(7999.99750), "7999.9975");
    EXPECT_EQ(plainNumberText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(plainNumberText(1e20), "1e+20");
    EXPECT_EQ(shortNumberText(6.0000001), "6");
    EXPECT_EQ(shortNumberText(123.456789), "123.4568");
}

TEST(NumberTextTest, TextReadsBackAsTheSameNumberToItsDigits) {
    for (double v : {1.02, -350.0, 6507600.0, 1e-7, 123456789012345.0}) {
        EXPECT_DOUBLE_EQ(*strictNumber(plainNumberText(v)), v);
        EXPECT_DOUBLE_EQ(*strictNumber(signedNumberText(v)), v);
    }
}

TEST(NumberTextTest, TheLargestDoublesPrintAsTextThatReadsBack) {
    const double largest = std::numeric_limits<double>::max();
    for (double v : {largest, -largest, std::nextafter(largest, 0.0), 1.797693134862315e308, -1.797693134862312e308}) {
        for (const std::string& text : {plainNumberText(v), signedNumberText(v)}) {
            const auto back = strictNumber(text);
            ASSERT_TRUE(back.has_value()) << text;
            EXPECT_NEAR(*back / v, 1, 1e-14) << text;
        }
    }
}

// A locale with "," as the decimal point must change nothing.
TEST(NumberLocaleTest, GermanLocaleChangesNothing) {
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!german) german = std::setlocale(LC_ALL, "de_DE");
    if (!german) GTEST_SKIP() << "no German locale installed";
    EXPECT_DOUBLE_EQ(*strictNumber("1.5"), 1.5);
    EXPECT_FALSE(strictNumber("1,5").has_value());
    EXPECT_DOUBLE_EQ(*leadingNumber("1,5"), 1);
    EXPECT_EQ(plainNumberText(1.5), "1.5");
    EXPECT_EQ(signedNumberText(0.25), " 0.25");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace korvel
