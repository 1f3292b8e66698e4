// The software extended type must give the x87 hardware's and the C library's results bit for
// bit: WebAssembly computes every figure with it. Here, on x86-64, the hardware is the oracle.

#include <gtest/gtest.h>
#include <quadmath.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <bit>
#include <cstring>
#include <random>
#include <string>

#include "engine/long_double_bits.h"
#include "engine/soft_extended.h"

#if LDBL_MANT_DIG == 64

namespace kestrin {
namespace {

SoftExtended Soft(long double x) { return SoftFromLongDouble(x); }
long double Hard(SoftExtended x) { return LongDoubleFromSoft(x); }

// Bit equality, with every NaN equal to every NaN (payloads are not figures).
::testing::AssertionResult Same(long double expected, SoftExtended actual, const char* what, long double a,
                                long double b = 0) {
    const SoftExtended wanted = Soft(expected);
    if ((std::isnan(expected) && actual.IsNaN()) ||
        (wanted.Significand() == actual.Significand() && wanted.SignExponent() == actual.SignExponent()))
        return ::testing::AssertionSuccess();
    char text[300];
    const SoftExtended sa = Soft(a), sb = Soft(b);
    std::snprintf(text, sizeof text, "%s(%.21Lg [%04x %016llx], %.21Lg [%04x %016llx]): want %.21Lg, got %.21Lg", what,
                  a, sa.SignExponent(), static_cast<unsigned long long>(sa.Significand()), b, sb.SignExponent(),
                  static_cast<unsigned long long>(sb.Significand()), expected, Hard(actual));
    return ::testing::AssertionFailure() << text;
}

// Operands of the shapes that make rounding hard: random bits at every scale, subnormals,
// near neighbours (cancellation), whole numbers, doubles, halves, specials.
class Operands {
public:
    long double Next() {
        switch (pick_(random_)) {
            case 0: return FromBits(bits_(random_), static_cast<std::uint16_t>(field_(random_)));
            case 1: return FromBits(bits_(random_) >> (1 + bits_(random_) % 63), 0);  // subnormal
            case 2: return static_cast<long double>(static_cast<std::int64_t>(bits_(random_)) >> (bits_(random_) % 64));
            case 3: return last_ * ((bits_(random_) & 1) ? 1 + 0x1p-62L : 1 - 0x1p-63L);  // a near neighbour
            case 4: return static_cast<long double>(std::bit_cast<double>(bits_(random_)));
            case 5: return static_cast<long double>(static_cast<std::int64_t>(bits_(random_) % 2001) - 1000) / 2;
            default: {
                static constexpr long double kSpecial[] = {0.0L, -0.0L, 1.0L, -1.0L, 1e4000L, -1e4000L, LDBL_MIN, LDBL_MAX};
                return kSpecial[bits_(random_) % 8];
            }
        }
    }
    long double Keep(long double x) { return last_ = x; }
    std::uint64_t Bits() { return bits_(random_); }

private:
    static long double FromBits(std::uint64_t significand, std::uint16_t field) {
        // The integer bit set exactly for normal numbers: no unnormals, which nothing makes.
        significand = (field & 0x7fff) != 0 ? significand | std::uint64_t(1) << 63 : significand & ~(std::uint64_t(1) << 63);
        return Hard(SoftExtended::FromBits(significand, field));
    }
    std::mt19937_64 random_{20240611};
    std::uniform_int_distribution<int> pick_{0, 7};
    std::uniform_int_distribution<int> field_{0, 0xfffe};
    std::uniform_int_distribution<std::uint64_t> bits_;
    long double last_ = 1;
};

TEST(SoftExtendedTest, ArithmeticConversionsAndRoundingEqualTheHardware) {
    Operands operands;
    for (int i = 0; i < 300000; ++i) {
        const long double a = operands.Keep(operands.Next());
        const long double b = (i % 3 == 0) ? a * (1 - 0x1p-63L) * (1 + (i % 5)) : operands.Next();
        const SoftExtended sa = Soft(a), sb = Soft(b);
        ASSERT_TRUE(Same(a + b, sa + sb, "add", a, b));
        ASSERT_TRUE(Same(a - b, sa - sb, "subtract", a, b));
        ASSERT_TRUE(Same(a * b, sa * sb, "multiply", a, b));
        ASSERT_TRUE(Same(a / b, sa / sb, "divide", a, b));
        ASSERT_EQ(a < b, sa < sb);
        ASSERT_EQ(a == b, sa == sb);
        ASSERT_EQ(a >= b, sa >= sb);
        ASSERT_TRUE(Same(std::floor(a), Soft(a).ToInteger(SoftExtended::Rounding::Down), "floor", a));
        ASSERT_TRUE(Same(std::ceil(a), Soft(a).ToInteger(SoftExtended::Rounding::Up), "ceil", a));
        ASSERT_TRUE(Same(std::rint(a), Soft(a).ToInteger(SoftExtended::Rounding::Nearest), "rint", a));
        const double d = static_cast<double>(a);
        ASSERT_TRUE(std::isnan(d) ? std::isnan(static_cast<double>(sa))
                                  : std::bit_cast<std::uint64_t>(d) == std::bit_cast<std::uint64_t>(static_cast<double>(sa)))
            << static_cast<double>(a);
        ASSERT_TRUE(Same(static_cast<long double>(d), SoftExtended(d), "from double", a));
        if (std::fabs(a) < 0x1p63L) { ASSERT_EQ(static_cast<std::int64_t>(a), static_cast<std::int64_t>(sa)) << static_cast<double>(a); }
        const auto whole = static_cast<std::int64_t>(operands.Bits()) >> (i % 64);
        ASSERT_TRUE(Same(static_cast<long double>(whole), SoftExtended(whole), "from integer", whole));
    }
}

// e^x and ln x must be the correctly rounded results, which quad precision decides (its
// results err by less than 2^-111 of a value) wherever the exact value is not within about
// 2^-100 of a tie between two extended numbers. Arguments: the solver's (G a multiple of 2^-50
// in (0, 1], ln G, and the power's exponent k / scale times ln G) and arbitrary bit patterns.
::testing::AssertionResult CorrectlyRounded(__float128 exact, SoftExtended actual, const char* what, long double a) {
    const long double nearest = static_cast<long double>(exact);
    if (std::isfinite(nearest) && nearest != 0) {
        const long double next = std::nextafter(nearest, exact > nearest ? HUGE_VALL : -HUGE_VALL);
        const __float128 tie = (static_cast<__float128>(nearest) + static_cast<__float128>(next)) / 2;
        const __float128 gap = exact - tie;
        if ((gap < 0 ? -gap : gap) < (exact < 0 ? -exact : exact) * static_cast<__float128>(0x1p-100L)) return ::testing::AssertionSuccess();
    }
    return Same(nearest, actual, what, a);
}

TEST(SoftExtendedTest, ExpAndLogAreCorrectlyRounded) {
    for (long double x : {1.0L, 2.0L, 0.5L, 0x1p-50L, 0x1p40L, 0.0L, -0.0L, 1e4000L, -1e4000L, -1.0L})
        ASSERT_TRUE(Same(std::log(x), Soft(x).Log(), "log", x));
    for (long double x : {0.0L, 0x1p-70L, -0x1p-68L, 20000.0L, -20000.0L, 1e4000L, -1e4000L, 1e300L, -1e300L})
        ASSERT_TRUE(Same(std::exp(x), Soft(x).Exp(), "exp", x));
    // The ends of the range: the largest finite result, and results among the subnormals.
    for (long double x : {11356.5L, 11357.2L, -11355.0L, -11390.0L, -11398.0L, -11400.0L})
        ASSERT_TRUE(CorrectlyRounded(expq(static_cast<__float128>(x)), Soft(x).Exp(), "exp", x));
    std::mt19937_64 random(77);
    std::uniform_int_distribution<std::uint64_t> unit(1, std::uint64_t(1) << 50);
    std::uniform_real_distribution<double> rate(1e-7, 2.0);
    Operands operands;
    for (int i = 0; i < 100000; ++i) {
        const long double g = static_cast<long double>(static_cast<double>(unit(random)) * 0x1p-50);
        ASSERT_TRUE(CorrectlyRounded(logq(static_cast<__float128>(g)), Soft(g).Log(), "log", g));
        const long double x = static_cast<long double>(rate(random)) / static_cast<long double>(rate(random)) *
                              Hard(Soft(g).Log());
        ASSERT_TRUE(CorrectlyRounded(expq(static_cast<__float128>(x)), Soft(x).Exp(), "exp", x));
        const long double any = std::fabs(operands.Next());
        if (std::isfinite(any) && any != 0) {
            ASSERT_TRUE(CorrectlyRounded(logq(static_cast<__float128>(any)), Soft(any).Log(), "log", any));
        }
        const long double power = operands.Next();
        if (std::isfinite(power) && std::fabs(power) < 11000) {
            ASSERT_TRUE(CorrectlyRounded(expq(static_cast<__float128>(power)), Soft(power).Exp(), "exp", power));
        }
    }
}

TEST(SoftExtendedTest, DecimalTextConvertsAsTheCLibraryDoes) {
    std::mt19937_64 random(5);
    std::uniform_int_distribution<int> digit(0, 9), length(1, 40), exponent(-4960, 4940);
    const auto check = [](const std::string& text) {
        long double expected = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), expected);
        const std::optional<SoftExtended> actual = SoftExtended::FromDecimal(text);
        ASSERT_EQ(error == std::errc(), actual.has_value()) << text;
        if (actual) { ASSERT_TRUE(Same(expected, *actual, text.c_str(), expected)); }
    };
    for (const char* text : {"0", "0.0e5", "1e4932", "1.1897314953572317649e4932", "1.18973149535723176515e4932",
                             "1e4933", "3.6e-4951", "1.8e-4951", "1.9e-4951", "1e-5000", "0.1", "4.5", "1e-4940"})
        check(text);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int digits = length(random);
        for (int d = 0; d < digits; ++d) text += static_cast<char>('0' + digit(random));
        if (i % 2 == 0) text.insert(static_cast<std::size_t>(digits / 2), ".");
        if (i % 3 != 0) text += "e" + std::to_string(i % 7 == 0 ? exponent(random) : exponent(random) / 100);
        check(text);
    }
}

TEST(SoftExtendedTest, FixedDecimalsAreTheExactValueAsTheCLibraryWritesIt) {
    Operands operands;
    for (int i = 0; i < 20000; ++i) {
        const long double x = std::fabs(std::ldexp(operands.Next(), 0) / (1 << (i % 30)));
        if (!std::isfinite(x) || x > 1e40L || (x != 0 && x < 1e-60L)) continue;
        char buffer[6000];
        const int decimals = i % 2 == 0 ? 120 : i % 20;
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
        ASSERT_EQ(std::string(buffer, written.ptr), Soft(x).FixedDecimal(decimals));
    }
}

}  // namespace
}  // namespace kestrin

#endif
