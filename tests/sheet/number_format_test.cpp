#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "sheet/number_format.h"

namespace kestrin {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

struct FormatCase {
    std::int64_t value;
    const char* plain;      // "%.0n"
    const char* shortened;  // k/m shortening
};

TEST(NumberFormat, ThousandsSeparatorsAndShortening) {
    const NumberLocale cli;
    const FormatCase cases[] = {
        {0, "0", "0"},
        {7, "7", "7"},
        {-7, "-7", "-7"},
        {999, "999", "999"},
        {1000, "1,000", "1,000"},
        {9999, "9,999", "9,999"},
        {-9999, "-9,999", "-9,999"},
        {10000, "10,000", "10k"},
        {-10000, "-10,000", "-10k"},
        {-12345, "-12,345", "-12k"},
        {123456, "123,456", "123k"},
        {9999999, "9,999,999", "9,999k"},
        {10000000, "10,000,000", "10m"},
        {-1234567890, "-1,234,567,890", "-1,234m"},
        {kMax, "9,223,372,036,854,775,807", "9,223,372,036,854m"},
        {kMin, "-9,223,372,036,854,775,808", "-9,223,372,036,854m"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, cli), c.plain) << c.value;
        EXPECT_EQ(FormatShortened(c.value, cli), c.shortened) << c.value;
    }
}

TEST(NumberFormat, SeparatorComesFromTheLocale) {
    EXPECT_EQ(FormatNumber(-1234567, NumberLocale{".", ','}), "-1.234.567");
    EXPECT_EQ(FormatNumber(1234567, NumberLocale{"\u202f", ','}), "1\u202f234\u202f567");
    EXPECT_EQ(FormatNumber(1234567, NumberLocale{"", '.'}), "1234567");
    EXPECT_EQ(FormatShortened(40000000, NumberLocale{" ", ','}), "40m");
    EXPECT_EQ(FormatShortened(-99999999, NumberLocale{" ", ','}), "-99m");
}

}  // namespace
}  // namespace kestrin
