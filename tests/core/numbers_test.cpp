#include "sim/numbers.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <ios>
#include <limits>
#include <random>

#include "sim/trig.h"

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

// Sine and cosine as portableSin and portableCos gave them once, kept: the
// same bits must come on every platform and from every later build. When the
// table was made each lay within 1 unit in the last place of the value at
// 3000 bits. The angles: zeros and tiny ones (the sine is the angle itself),
// both sides of π/4 (where the reduction starts), the directions of the
// examples, n·π/2 as doubles (where taking n·π/2 off cancels most bits),
// both sides of 2^20·π/2 (where Payne–Hanek takes over), and the huge angle
// nearest a multiple of π/2 of all doubles.
struct TrigValues {
    double angle;
    double sin;
    double cos;
};

constexpr TrigValues kKeptTrig[] = {
    {0x0p+0, 0x0p+0, 0x1p+0},
    {-0x0p+0, -0x0p+0, 0x1p+0},
    {0x0.0000000000001p-1022, 0x0.0000000000001p-1022, 0x1p+0},
    {0x1.ffffffffffffp-28, 0x1.ffffffffffffp-28, 0x1p+0},
    {0x1p-27, 0x1p-27, 0x1p+0},
    {0x1p-2, 0x1.faaeed4f31577p-3, 0x1.f01549f7deea1p-1},
    {-0x1.3333333333333p-2, -0x1.2e9cd95baba33p-2, 0x1.e921dd42f09bap-1},
    {0x1.921fb54442d18p-1, 0x1.6a09e667f3bccp-1, 0x1.6a09e667f3bcdp-1},
    {0x1.921fb54442d19p-1, 0x1.6a09e667f3bcdp-1, 0x1.6a09e667f3bccp-1},
    {0x1p+0, 0x1.aed548f090ceep-1, 0x1.14a280fb5068cp-1},
    {0x1.91eb851eb851fp+0, 0x1.fffff55c67bb1p-1, 0x1.a181296fadbfbp-11},
    {0x1.921fb4d12d84ap+0, 0x1.ffffffffffffdp-1, 0x1.cc553391a6262p-26},
    {-0x1.921fb4d12d84ap+0, -0x1.ffffffffffffdp-1, 0x1.cc553391a6262p-26},
    {0x1.921fb54442d18p+0, 0x1p+0, 0x1.1a62633145c07p-54},
    {-0x1.921fb54442d18p+0, -0x1p+0, 0x1.1a62633145c07p-54},
    {0x1.921fb54442d18p+1, 0x1.1a62633145c07p-53, -0x1p+0},
    {0x1.2d97c7f3321d2p+2, -0x1p+0, -0x1.a79394c9e8a0ap-53},
    {0x1.921fb54442d18p+2, -0x1.1a62633145c07p-52, 0x1p+0},
    {-0x1.921fb54442d18p+2, 0x1.1a62633145c07p-52, 0x1p+0},
    {0x1.921fb54442d18p+5, -0x1.1a62633145c07p-49, 0x1p+0},
    {0x1.f6a7a2955385ep+5, -0x1.60fafbfd97309p-49, 0x1p+0},
    {0x1.f4p+9, 0x1.a75cc150a206bp-1, 0x1.1ff026793f1bcp-1},
    {-0x1.81cd6c8b43958p+13, 0x1.687d5890974a5p-1, 0x1.6b94c3bbe24b8p-1},
    {0x1.e848p+19, -0x1.6664b2568d867p-2, 0x1.df9df9906d32cp-1},
    {0x1.921fb54442d18p+20, -0x1.1a62633145c07p-34, 0x1p+0},
    {0x1.921fcp+20, 0x1.3e479a61836ebp-1, 0x1.910d18d26c0d4p-1},
    {0x1.312dp+23, 0x1.aea414a8a3352p-2, -0x1.d085be7a8f4a1p-1},
    {0x1.0f0cf064dd592p+73, -0x1.b453ab76bf397p-1, 0x1.0be2cef01c8f4p-1},
    {-0x1.0f0cf064dd592p+73, 0x1.b453ab76bf397p-1, 0x1.0be2cef01c8f4p-1},
    {0x1.6ac5b262ca1ffp+849, 0x1p+0, -0x1.14ae72e6ba22fp-61},
    {0x1.7e43c8800759cp+996, -0x1.a2c16b010e385p-1, -0x1.2699022adc4c1p-1},
    {0x1.fffffffffffffp+1023, 0x1.452fc98b34e97p-8, -0x1.fffe62ecfab75p-1},
};

std::uint64_t bitsOf(double x) { return std::bit_cast<std::uint64_t>(x); }

TEST(PortableTrigTest, GivesTheKeptBitsOnEveryPlatform) {
    for (const TrigValues& kept : kKeptTrig) {
        EXPECT_EQ(bitsOf(portableSin(kept.angle)), bitsOf(kept.sin)) << std::hexfloat << kept.angle;
        EXPECT_EQ(bitsOf(portableCos(kept.angle)), bitsOf(kept.cos)) << std::hexfloat << kept.angle;
    }
    const double inf = std::numeric_limits<double>::infinity();
    for (double angle : {inf, -inf, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_TRUE(std::isnan(portableSin(angle))) << angle;
        EXPECT_TRUE(std::isnan(portableCos(angle))) << angle;
    }
}

// Units in the last place between two finite doubles of the same sign.
std::uint64_t unitsApart(double a, double b) {
    const std::uint64_t x = bitsOf(std::abs(a));
    const std::uint64_t y = bitsOf(std::abs(b));
    return std::signbit(a) != std::signbit(b) ? x + y : (x > y ? x - y : y - x);
}

// glibc's sine and cosine are within a unit of the true value too (but for
// rare huge angles next to a multiple of π/2: the table's 0x1.6ac5b262ca1ffp+849
// has a cosine 8 units off in glibc 2.36), so ours may differ from them by
// one at most. Ordinary angles, angles up to a million, and doubles of every
// size. The C runtime of a Windows build is no such reference: under wine
// it is hundreds of units off near π/2.
TEST(PortableTrigTest, AgreesWithGlibcWithinOneUnitInTheLastPlace) {
#ifdef _WIN32
    GTEST_SKIP() << "the C runtime here is no reference to within a unit";
#endif
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> ordinary(-10, 10);
    std::uniform_real_distribution<double> large(-1e6, 1e6);
    for (int i = 0; i < 100'000; ++i) {
        double anySize = std::bit_cast<double>(random());
        if (!std::isfinite(anySize)) anySize = 0;
        for (double angle : {ordinary(random), large(random), anySize}) {
            ASSERT_LE(unitsApart(portableSin(angle), std::sin(angle)), 1u) << std::hexfloat << angle;
            ASSERT_LE(unitsApart(portableCos(angle), std::cos(angle)), 1u) << std::hexfloat << angle;
        }
        // Any size, to the ends of the double range, never overflowing in between.
        const double x = std::bit_cast<double>(random() >> 1), y = ordinary(random);
        if (std::isfinite(x)) {
            ASSERT_LE(unitsApart(portableHypot(x, y), std::hypot(x, y)), 1u) << x << " " << y;
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
