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
        {"1.5m", "1500000"}, {"2.5k", "2500"}, {"+2.25k", "2250"}, {"0.000001m", "1"}, {"1 000", "1000"},
        {"1\xC2\xA0" "000\xC2\xA0" "000", "1000000"}, {"125 k", "125000"}, {"  ", ""},
        {"1,5k", "1,5k"}, {"1.2345k", "1.2345k"}, {"1.5", "1.5"}, {"12,34", "12,34"}, {",100", ",100"},
        {"1 00", "1 00"}, {"k", "k"}, {"abc", "abc"},
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
    EXPECT_EQ(NormaliseTypedNumber("1,5m", space, false), "1500000");  // the locale's decimal point
    const NumberLocale dot{".", ','};
    EXPECT_EQ(NormaliseTypedNumber("1.500k", dot, false), "1500000");  // grouped first
    EXPECT_EQ(NormaliseTypedNumber("1.5k", dot, false), "1500");
}

TEST(TypedNumber, WhatIsNoCountIsToldWithItsFate) {
    const NumberLocale comma;
    EXPECT_EQ(ReadTypedNumber("99999999999999999999999k", comma, true).kind, TypedNumberKind::OutOfRange);
    EXPECT_EQ(ReadTypedNumber("1,5m", comma, false).kind, TypedNumberKind::NotACount);
    EXPECT_EQ(ReadTypedNumber("-2.5k", comma, false).value, -2500);
    EXPECT_EQ(TypedNumberNotice("1,5m", comma, false, "70000000"), "'1,5m' is not a count: the cell keeps 70,000,000");
    EXPECT_EQ(TypedNumberNotice("3000m", comma, false, ""),
              "'3000m' is more than the cell can hold (-2,147,483,648 to 2,147,483,647): nothing was entered");
    EXPECT_EQ(TypedNumberNotice("abc", comma, false, "many"), "'abc' is not a count: the cell keeps 'many'");
    EXPECT_EQ(TypedNumberNotice("1.5m", comma, false, "5"), "");
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
    ASSERT_EQ(RefusedPaste(g.sheet, kDefCaption, UnitRow(kHarpy), text + "\n"), "");
    PasteCellsText(g.sheet, kDefCaption, UnitRow(kHarpy), text + "\n");
    EXPECT_EQ(g.sheet.Cell(kDefCaption, UnitRow(kHarpy)), "Harpy");         // captions are skipped
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kHarpy)), "12345678");
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kPhoenix)), "");              // hidden: untouched
    EXPECT_EQ(g.sheet.Cell(kDefShips, UnitRow(kSpider)), "");               // the empty field

    // A paste that would drop a value, or land nowhere, is refused whole.
    EXPECT_EQ(RefusedPaste(g.sheet, kDefShips, UnitRow(kHarpy), "5\n1,5m"), "Nothing was pasted: '1,5m' is not a count");
    EXPECT_TRUE(RefusedPaste(g.sheet, kAttShips, UnitRow(kHarpy), "3000m").ends_with("2,147,483,647)"));
    EXPECT_TRUE(RefusedPaste(g.sheet, kDefLost, UnitRow(kHarpy), "5").starts_with("Nothing was pasted: no value lands"));
}

}  // namespace
}  // namespace kestrin
