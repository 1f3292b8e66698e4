#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "sheet/fleet_value.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using Counts = std::array<std::int32_t, kShipCount>;
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int32_t kMax32 = std::numeric_limits<std::int32_t>::max();

TEST(FleetValue, SumsPositiveCountsTimesCosts) {
    Counts counts{};
    counts[kHarpy] = 2;           // 1250 / 0 / 0
    counts[kPhoenix] = 3;         // 2250 / 250 / 0
    counts[kMesonicCutter] = 1;   // 750 / 750 / 1500
    counts[kDragon] = 0;          // skipped
    counts[kSpider] = -5;         // negative counts are left out
    const FleetFigures f = FleetValue(counts, DefaultRules().catalogue);
    EXPECT_EQ(f.units, 6);
    EXPECT_EQ(f.metal, 2 * 1250 + 3 * 2250 + 750);
    EXPECT_EQ(f.crystal, 3 * 250 + 750);
    EXPECT_EQ(f.eonium, 1500);
    EXPECT_EQ(f.value, 10000 / 10 + 1500 / 10 + 1500 / 10);
}

TEST(FleetValue, DividesEachResourceBeforeAdding) {
    FleetCosts costs;
    costs.cost[0] = {15, 15, 15};
    Counts counts{};
    counts[0] = 1;
    EXPECT_EQ(FleetValue(counts, costs).value, 3);  // not 45 div 10 = 4
}

TEST(FleetValue, CostsAreReadLenientlyOnce) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    catalogue.ships[kHarpy][ShipField::Metal] = "lots";
    catalogue.ships[kHarpy][ShipField::Crystal] = "7";
    const FleetCosts costs = FleetCosts::From(catalogue);
    EXPECT_EQ(costs.cost[kHarpy], (std::array<std::int64_t, 3>{0, 7, 0}));
}

TEST(FleetValue, UnitsAndSumsBeyondTheirNarrowRangesStaySound) {
    Counts counts{};
    counts.fill(kMax32);
    FleetCosts costs;
    for (auto& c : costs.cost) c = {kMax64, -kMax64, 1};
    const FleetFigures f = FleetValue(counts, costs);
    EXPECT_EQ(f.units, 54LL * kMax32);  // beyond 32 bits, exact
    EXPECT_EQ(f.metal, kMax64);         // clamped, not wrapped
    EXPECT_EQ(f.crystal, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(f.eonium, 54LL * kMax32);
    EXPECT_EQ(f.value, kMax64 / 10 + std::numeric_limits<std::int64_t>::min() / 10 + f.eonium / 10);
}

TEST(FleetValue, ColumnOfZeroCostUnitsIsEmptyOtherwiseAllFiveRowsAreWritten) {
    SheetCells cells;
    FleetFigures free;
    free.units = 40;
    WriteFleetColumn(cells, sheet::kDefShips, free);
    for (int row = sheet::kTotalUnitsRow; row <= sheet::kFleetValueRow; ++row)
        EXPECT_EQ(cells.At(sheet::kDefShips, row), "") << row;
    WriteFleetColumn(cells, sheet::kDefShips, FleetFigures{3, 30, 20, 0, 5});
    EXPECT_EQ(cells.At(sheet::kDefShips, sheet::kTotalUnitsRow), "3");
    EXPECT_EQ(cells.At(sheet::kDefShips, sheet::kMetalCostRow), "30");
    EXPECT_EQ(cells.At(sheet::kDefShips, sheet::kCrystalCostRow), "20");
    EXPECT_EQ(cells.At(sheet::kDefShips, sheet::kEoniumCostRow), "0");  // a zero of a fleet worth something
    EXPECT_EQ(cells.At(sheet::kDefShips, sheet::kFleetValueRow), "5");
}

}  // namespace
}  // namespace kestrin
