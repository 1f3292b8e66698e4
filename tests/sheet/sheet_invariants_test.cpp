// Random sheets with a fixed seed, checked against what every recalculation must keep: each
// row's columns add up, no type holds more ships than it has, and the totals follow the counts.
#include <gtest/gtest.h>

#include <random>

#include "sheet/battle_sheet.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

void CheckInvariants(const SheetFixture& f) {
    const SheetCells& c = f.sheet.Cells();
    for (int first : {kDefShips, kAttShips}) {
        for (int row = kFirstUnitRow; row <= kLastUnitRow; ++row) {
            const std::int64_t ships = c.Count(first, row), held = c.Count(first + 1, row),
                               lost = c.Count(first + 2, row), stole = c.Count(first + 3, row),
                               left = c.Count(first + 4, row);
            ASSERT_EQ(ships, left - stole + lost) << "col " << first << " row " << row;
            ASSERT_LE(held, ships) << "col " << first << " row " << row;
        }
        for (int col = first; col < first + 5; ++col) {
            std::array<std::int32_t, kShipCount> counts{};
            for (ShipIndex t = 0; t < kShipCount; ++t) counts[t] = c.Count(col, UnitRow(t));
            const FleetFigures figures = FleetValue(counts, f.sheet.Costs());
            ASSERT_EQ(c.Int64(col, kFleetValueRow), figures.value) << col;
            ASSERT_EQ(c.Int64(col, kMetalCostRow), figures.value ? figures.metal : 0) << col;
            // A fleet worth something shows all five rows, a zero as "0"; else none.
            for (int row = kTotalUnitsRow; row <= kFleetValueRow; ++row)
                ASSERT_EQ(c.At(col, row).empty(), figures.value == 0) << col << "," << row;
        }
    }
    for (int row = kFirstRoidRow; row <= kEoniumRow; ++row) {
        ASSERT_EQ(c.Int64(kDefLeft, row), c.Int64(kDefShips, row) - c.Int64(kDefLost, row)) << row;
        ASSERT_EQ(c.Int64(kAttLeft, row), c.Int64(kAttShips, row) + c.Int64(kAttStole, row)) << row;
        ASSERT_EQ(c.Int64(kDefLost, row), c.Int64(kAttStole, row)) << row;
    }
    for (int col = 1; col < kColumns; ++col) {
        if (col == kAttCaption) continue;
        for (int row = 1; row < kRows; ++row) {
            if (row >= kTotalUnitsRow && row <= kFleetValueRow) continue;
            const std::string& text = c.At(col, row);
            ASSERT_TRUE(text.empty() || (text[0] != '-' && text != "0")) << col << "," << row << " " << text;
        }
    }
}

TEST(SheetInvariants, RandomSheetsKeepTheCountsConsistent) {
    std::mt19937 rng(20240607);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        SheetFixture f;
        FillRandomBattle(f, rng, false);
        f.Recalc();
        ASSERT_NO_FATAL_FAILURE(CheckInvariants(f));
        if (i % 10 == 0) {
            // A step forward and back lands on the same sheet.
            const SheetCells tick1 = f.sheet.Cells();
            f.sheet.StepForward();
            ASSERT_NO_FATAL_FAILURE(CheckInvariants(f));
            f.sheet.StepBack();
            ASSERT_EQ(f.sheet.Cells(), tick1);
        }
    }
}

}  // namespace
}  // namespace kestrin
