#include <gtest/gtest.h>

#include "engine/fixed_format.h"

namespace kestrin {
namespace {

TEST(FixedFormat, RoundsOnceFromTheExactValueTiesAwayFromZero) {
    struct Case { long double value; int significant, decimals; char separator; const char* text; };
    const Case cases[] = {
        {0.90625L, 4, 4, '.', "0.9063"},       // a true tie goes up
        {0.8125L, 4, 4, '.', "0.8125"},
        {0.0L, 4, 4, '.', "0.0000"},
        {8.9e-16L, 4, 4, '.', "0.0000"},
        {0.73205080756887L, 4, 4, ',', "0,7321"},
        {static_cast<long double>(0.15) * 100, 3, 2, '.', "15.00"},  // 14.99999999999999944...
        {static_cast<long double>(0.0099999990) * 100, 3, 2, '.', "1.00"},
        {12.345L, 3, 2, '.', "12.30"},         // three significant digits are coarser here
        {9.996L, 3, 2, '.', "10.00"},          // carry into a new digit
        {0.125L, 3, 2, '.', "0.13"},
        {-0.125L, 3, 2, '.', "-0.13"},
        {-0.001L, 3, 2, '.', "0.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixedRounded(c.value, c.significant, c.decimals, c.separator), c.text)
            << static_cast<double>(c.value);
}

}  // namespace
}  // namespace kestrin
