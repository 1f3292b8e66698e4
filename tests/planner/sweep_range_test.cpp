// Naming the varied input and spreading the range over whole values.
#include <gtest/gtest.h>

#include <limits>

#include "planner/sweep_range.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

TEST(SweepRange, PointsAreEvenlySpacedWholeValuesRoundedHalfToEvenWithoutDuplicates) {
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(SweepValues({0, 10, 3}), (V{0, 5, 10}));
    // 2.5 and 7.5 round to 2 and 8.
    EXPECT_EQ(SweepValues({0, 10, 5}), (V{0, 2, 5, 8, 10}));
    EXPECT_EQ(SweepValues({-3, 3, 100}), (V{-3, -2, -1, 0, 1, 2, 3}));
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const V extremes = SweepValues({kMin, kMax, 3});
    EXPECT_EQ(extremes, (V{kMin, 0, kMax}));
}

TEST(SweepRange, BadRangesAndTicksAreRefused) {
    EXPECT_NE(CheckSweepRange({10, 5, 10}, kScoreRow), "");
    EXPECT_NE(CheckSweepRange({5, 5, 10}, kScoreRow), "");
    EXPECT_NE(CheckSweepRange({0, 5, 1}, kScoreRow), "");
    EXPECT_NE(CheckSweepRange({0, 5, 100001}, kScoreRow), "");
    EXPECT_EQ(CheckSweepRange({0, 5, 100000}, kScoreRow), "");
    // A count is read as 32 bits; a planet score as 64.
    EXPECT_NE(CheckSweepRange({0, 3000000000, 10}, UnitRow(kHarpy)), "");
    EXPECT_EQ(CheckSweepRange({0, 3000000000, 10}, kScoreRow), "");
    EXPECT_NE(CheckSweepTicks(0), "");
    EXPECT_NE(CheckSweepTicks(101), "");
    EXPECT_EQ(CheckSweepTicks(3), "");
}

TEST(SweepRange, InputsAreNamedByCaptionOrRowNumberOnTheirSide) {
    const ShipCatalogue& catalogue = DefaultRules().catalogue;
    EXPECT_EQ(FindSweepInput(catalogue, Side::Attacker, "Harpy").input, (SweepInput{Side::Attacker, 1}));
    EXPECT_EQ(FindSweepInput(catalogue, Side::Defender, "Metal Roids").input, (SweepInput{Side::Defender, 61}));
    EXPECT_EQ(FindSweepInput(catalogue, Side::Defender, "Eonium").input, (SweepInput{Side::Defender, kEoniumRow}));
    EXPECT_EQ(FindSweepInput(catalogue, Side::Attacker, "65").input, (SweepInput{Side::Attacker, kScoreRow}));
    EXPECT_EQ(FindSweepInput(catalogue, Side::Attacker, "Harpie").error, "The attacker has no row 'Harpie'");
    EXPECT_EQ(FindSweepInput(catalogue, Side::Defender, "Fleet Value").error,
              "Row 'Fleet Value' is not an input of the defender");
    // The attacker's asteroid rows only carry earlier captures; it has no planetary defences.
    EXPECT_NE(FindSweepInput(catalogue, Side::Attacker, "Metal Roids").error, "");
    EXPECT_NE(FindSweepInput(catalogue, Side::Attacker, std::to_string(UnitRow(kMesonicCutter))).error, "");
    EXPECT_NE(FindSweepInput(catalogue, Side::Defender, "0").error, "");
    EXPECT_EQ(SweepableRows(catalogue, Side::Defender).size(), 54u + 6u);
    EXPECT_EQ(SweepableRows(catalogue, Side::Attacker).size(), 49u + 1u);
}

}  // namespace
}  // namespace kestrin
