#include "engine/number_text.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>

namespace kestrin {
namespace {

// Short decimals take a quicker road than the general conversion; the value must not differ
// in a single bit.
TEST(NumberText, ShortDecimalsConvertExactlyAsTheGeneralConversion) {
    std::mt19937 rng(20261207);
    for (int i = 0; i < 20000; ++i) {
        const int digits = std::uniform_int_distribution<int>(1, 19)(rng);
        std::string text;
        for (int d = 0; d < digits; ++d) text += char('0' + rng() % 10);
        if (rng() % 4 != 0) text.insert(rng() % (text.size() + 1), ".");
        long double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const bool negative = rng() % 2 == 0;
        const std::optional<long double> value = ParseDecimal((negative ? "-" : "") + text);
        ASSERT_TRUE(value) << text;
        ASSERT_EQ(*value, negative ? -expected : expected) << text;
        ASSERT_EQ(std::signbit(*value), negative) << text;
    }
}

}  // namespace
}  // namespace kestrin
