#include <gtest/gtest.h>

#include <set>

#include "sheet/battle_sheet.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

std::set<int> ShownRows(const BattleSheet& sheet) {
    std::set<int> rows;
    for (int row = 0; row < kRows; ++row)
        if (sheet.RowVisible(row)) rows.insert(row);
    return rows;
}

std::set<int> Range(int first, int last) {
    std::set<int> rows;
    for (int row = first; row <= last; ++row) rows.insert(row);
    return rows;
}

TEST(RowVisibility, CompressShowsRowsWithInputOnEitherSide) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 3);
    f.Put(kAttShips, UnitRow(kThief), 4);
    f.Put(kDefShips, UnitRow(kPhoenix), 5);
    f.Put(kAttShips, UnitRow(kPhoenix), -5);  // sums to zero: hidden
    f.Put(kDefShips, kFirstRoidRow + 2, 9);
    f.sheet.SetCell(kDefShips, kScoreRow, "2147483647");
    f.sheet.SetCell(kAttShips, kScoreRow, "2147483647");  // the sum needs 64 bits
    f.sheet.CompressGrid();
    EXPECT_EQ(ShownRows(f.sheet),
              (std::set<int>{0, UnitRow(kHarpy), UnitRow(kThief), kFirstRoidRow + 2, kScoreRow}));
}

TEST(RowVisibility, CompressAppliesToComputedRowsAfterARecalculation) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 3);
    f.Recalc();
    f.sheet.CompressGrid();
    // Harpies cost metal only: the crystal and Eonium cost rows stay empty and hide.
    const std::set<int> expected = {0, UnitRow(kHarpy), kTotalUnitsRow, kMetalCostRow, kFleetValueRow};
    EXPECT_EQ(ShownRows(f.sheet), expected);
}

TEST(RowVisibility, RaceFilterAfterCompressOnlyShows) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 3);
    f.Put(kDefShips, kFirstRoidRow, 3);
    f.sheet.CompressGrid();
    f.sheet.ShowXan();
    std::set<int> expected = Range(25, 36);
    expected.insert({0, 49, UnitRow(kHarpy), kFirstRoidRow});
    for (int row : Range(55, 59)) expected.insert(row);
    EXPECT_EQ(ShownRows(f.sheet), expected);
}

TEST(RowVisibility, EachFilterShowsItsBlock) {
    struct Case {
        void (BattleSheet::*filter)();
        std::set<int> shown;
    };
    auto with = [](std::set<int> a, const std::set<int>& b) {
        a.insert(b.begin(), b.end());
        return a;
    };
    const std::set<int> totals = Range(55, 59);
    const Case cases[] = {
        {&BattleSheet::ShowTer, with(with(Range(1, 12), {49}), totals)},
        {&BattleSheet::ShowCat, with(with(Range(13, 24), {49}), totals)},
        {&BattleSheet::ShowXan, with(with(Range(25, 36), {49}), totals)},
        {&BattleSheet::ShowZik, with(with(Range(37, 48), {49}), totals)},
        {&BattleSheet::ShowPDS, with(Range(50, 54), totals)},
        {&BattleSheet::ShowRoids, Range(60, 65)},
    };
    for (const Case& c : cases) {
        SheetFixture f;
        f.sheet.CompressGrid();  // an empty sheet: only the headings stay
        ASSERT_EQ(ShownRows(f.sheet), std::set<int>{0});
        (f.sheet.*c.filter)();
        EXPECT_EQ(ShownRows(f.sheet), with(c.shown, {0}));
    }
}

TEST(RowVisibility, ExpandShowsEveryRow) {
    SheetFixture f;
    f.sheet.CompressGrid();
    f.sheet.ExpandGrid();
    EXPECT_EQ(ShownRows(f.sheet), Range(0, 65));
}

}  // namespace
}  // namespace kestrin
