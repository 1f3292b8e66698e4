#include <gtest/gtest.h>

#include "sheet/cell_clipboard.h"
#include "sheet/typed_number.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

TEST(TypedNumber, GridFormsBecomePlainDigitsAndAnythingElseStaysAsTyped) {
    const NumberLocale comma;
    const std::pair<const char*, const char*> cases[] = {
        {"9,000", "9000"}, {" 77 ", "77"}, {"125k", "125000"}, {"70m", "70000000"}, {"-1,234,567", "-1234567"},
        {"+12", "+12"},  // already an integer: as typed
        {"1,5k", "1,5k"}, {"1.5k", "1.5k"}, {"12,34", "12,34"}, {",100", ",100"}, {"k", "k"}, {"abc", "abc"},
        {"3000m", "3000m"},  // beyond the 32-bit range
        {"2,147,483,647", "2147483647"}, {"-2,147,483,648", "-2147483648"}, {"2,147,483,648", "2,147,483,648"},
        {"\xC2\xA0" "5k\t", "5000"},
    };
    for (const auto& [typed, stored] : cases) EXPECT_EQ(NormaliseTypedNumber(typed, comma, false), stored) << typed;
    EXPECT_EQ(NormaliseTypedNumber("3000m", comma, true), "3000000000");  // the planet score is 64-bit
    const NumberLocale space{"\xE2\x80\xAF", ','};
    EXPECT_EQ(NormaliseTypedNumber("9\xE2\x80\xAF" "000", space, false), "9000");
    EXPECT_EQ(NormaliseTypedNumber("9 000", space, false), "9000");
    EXPECT_EQ(NormaliseTypedNumber("9,000", space, false), "9,000");
}

TEST(CellClipboard, CopiesShownRowsInFullAndPastesThemBack) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 12345678);
    f.Put(kAttShips, UnitRow(kPhoenix), 400);
    f.Recalc();
    f.sheet.CompressGrid();  // rows 1, 2 and the totals stay
    const std::string text = CopyCellsText(f.sheet, {kDefCaption, 1, kDefShips, 3});
    EXPECT_EQ(text, "Harpy\t12,345,678\nPhoenix\t");
    const std::int64_t metal = f.sheet.Cells().Int64(kDefShips, kMetalCostRow);
    ASSERT_GT(metal, 9'999'999);  // the grid shows it shortened
    EXPECT_EQ(CopyCellsText(f.sheet, {kDefShips, kMetalCostRow, kDefShips, kMetalCostRow}), FormatNumber(metal, {}));

    SheetFixture g;
    g.Put(kDefShips, UnitRow(kHarpy), 1);
    g.Put(kDefShips, UnitRow(kSpider), 1);
    g.Recalc();
    g.sheet.CompressGrid();  // Harpy, Spider and the totals shown
    ASSERT_EQ(PasteCellsText(g.sheet, kDefCaption, UnitRow(kHarpy), text + "\n"), "");
    EXPECT_EQ(g.sheet.Cell(kDefCaption, UnitRow(kHarpy)), "Harpy");         // captions are skipped
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kHarpy)), "12345678");
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kPhoenix)), "");              // hidden: untouched
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kSpider)), "");               // the empty field
    ASSERT_TRUE(g.sheet.CanUndo());
    ASSERT_EQ(g.sheet.Undo(), "");
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kHarpy)), "1");
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kSpider)), "1");
}

}  // namespace
}  // namespace kestrin
