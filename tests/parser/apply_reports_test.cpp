#include <gtest/gtest.h>

#include "parser/apply_reports.h"
#include "sheet/text_lines.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using testing::DefaultRules;
using testing::SheetFixture;

TEST(ApplyScan, DefenderScansAddUpAndFillThePlanetRows) {
    SheetFixture f;
    const auto scan = TextLines("Harpy 100\nScore 5000\nEonium 700\nMetal Asteroids 40\n");
    ApplySectorUnitPdsScan(f.sheet, scan, Side::Defender);
    ApplySectorUnitPdsScan(f.sheet, scan, Side::Defender);  // pasted twice: summed
    EXPECT_EQ(f.sheet.Cell(1, 1), "200");
    EXPECT_EQ(f.sheet.Cell(1, 61), "80");
    EXPECT_EQ(f.sheet.Cell(1, 64), "1400");
    EXPECT_EQ(f.sheet.Cell(1, 65), "10000");
    EXPECT_EQ(f.sheet.Cell(7, 1), "");
}

TEST(ApplyScan, AttackerScansTouchOnlyUnitsAndScore) {
    SheetFixture f;
    f.sheet.SetCell(1, 61, "40");
    ApplySectorUnitPdsScan(f.sheet, TextLines("Harpy 0\nPhoenix 7\nScore 900\nMetal Asteroids 5\n"), Side::Attacker);
    EXPECT_EQ(f.sheet.Cell(7, 1), "");  // 0 added to nothing stays empty
    EXPECT_EQ(f.sheet.Cell(7, 2), "7");
    EXPECT_EQ(f.sheet.Cell(7, 65), "900");
    EXPECT_EQ(f.sheet.Cell(1, 61), "40");
}

TEST(ApplyScan, TheDialogsInitialTextAddsNothingButRecalculates) {
    SheetFixture f;
    f.sheet.SetCell(1, 1, "10");
    ApplyReport(f.sheet, TextLines(" Paste your Scans in here..."), {});
    EXPECT_EQ(f.sheet.Cell(1, 1), "10");
    EXPECT_EQ(f.sheet.Cell(5, 1), "10");  // Left written: the sheet was recalculated
}

TEST(ApplyMilitary, OnlyTheTickedFleetsAreAdded) {
    SheetFixture f;
    ReportChoice choice;
    choice.kind = ReportKind::Military;
    choice.militarySide = Side::Attacker;
    choice.fleets.fleet2 = true;
    ApplyReport(f.sheet, TextLines("Harpy 1 2 3 4\n"), choice);
    EXPECT_EQ(f.sheet.Cell(7, 1), "3");
    EXPECT_EQ(f.sheet.Cell(1, 1), "");
}

// A count written with separators or a multiplier is read as the grid reads a typed count,
// and told once per line and figure; a blank still ends a count (columns are parted by
// blanks) and text that is no count gives its first digits, both told as a cut.
TEST(ApplyReport, CountsAreReadAsTypedCountsAndTold) {
    SheetFixture f;
    const auto scan = TextLines("Beetle 1,000\nHarpy 1.5k\nScarab 2 000\nPhoenix 7 Harpy 1.5k\nScore 1,234,567\n"
                                "Harpy 1.5k\nPhoenix 300 Metal Asteroids 40\nPegasus 1,50\n");
    EXPECT_EQ(ApplyReport(f.sheet, scan, {}),
              (std::vector<std::string>{"line 1: Beetle: '1,000' read as 1000",
                                        "line 2: Harpy: '1.5k' read as 1500",
                                        "line 3: Scarab: '2 000' read as 2 (a count stops at a blank)",
                                        "line 4: Harpy: '1.5k' read as 1500",
                                        "line 5: Score: '1,234,567' read as 1234567",
                                        "line 6: Harpy: '1.5k' read as 1500",
                                        "line 8: Pegasus: '1,50' read as 1 (a count stops at ',')"}));
    EXPECT_EQ(f.sheet.Cell(1, 1), "1500");
    EXPECT_EQ(f.sheet.Cell(1, 2), "300");
    EXPECT_EQ(f.sheet.Cell(1, 14), "1000");  // Beetle
    EXPECT_EQ(f.sheet.Cell(1, 15), "2");     // Scarab
    EXPECT_EQ(f.sheet.Cell(1, 65), "1234567");

    // The columns after a count written with a multiplier stay in place.
    ReportChoice military;
    military.kind = ReportKind::Military;
    military.fleets.home = true;
    military.fleets.fleet1 = true;
    EXPECT_EQ(ApplyReport(f.sheet, TextLines("Harpy 125k 2,000 300 4000\n"), military),
              (std::vector<std::string>{"line 1: Harpy (Home): '125k' read as 125000",
                                        "line 1: Harpy (Fleet 1): '2,000' read as 2000"}));
    EXPECT_EQ(f.sheet.Cell(1, 1), "128500");
}

// A battle at tick 3 with a history, which a combat report replaces.
void BattleAtTick3(SheetFixture& f) {
    f.sheet.SetCell(1, 5, "99");
    f.sheet.Recalculate();
    f.sheet.StepForward();
    f.sheet.StepForward();
    ASSERT_EQ(f.sheet.CurrentTick(), 3);
}

TEST(ApplyCombatReport, ReplacesTheSheetAndShowsTheReportBesideTheCalculation) {
    SheetFixture f;
    BattleAtTick3(f);
    ReportChoice choice;
    choice.kind = ReportKind::Combat;
    const auto report = TextLines("Combat Report\n"
                                   "Harpy 20 1 0 10 2 0   \n"
                                   "Asteroids  \n"
                                   "Metal 100 14   \n"
                                   "Salvage/Stolen  \n");
    ApplyReport(f.sheet, report, choice);
    EXPECT_EQ(f.sheet.CurrentTick(), 1);
    EXPECT_TRUE(f.sheet.TickHistory().size() <= 1);
    EXPECT_TRUE(f.sheet.ReportView());
    EXPECT_EQ(f.sheet.Cell(1, 5), "");      // the old sheet is gone
    EXPECT_EQ(f.sheet.Cell(1, 1), "10");
    EXPECT_EQ(f.sheet.Cell(7, 1), "20");
    EXPECT_EQ(f.sheet.Cell(3, 1), "2");     // computed losses (the same-type example of the engine)
    EXPECT_EQ(f.sheet.Cell(9, 1), "1");
    EXPECT_EQ(f.sheet.Cell(5, 0), "Lost");
    EXPECT_EQ(f.sheet.Cell(4, 0), "Held");
    EXPECT_EQ(f.sheet.Cell(5, 1), "2");     // the report's figures
    EXPECT_EQ(f.sheet.Cell(11, 1), "1");
    EXPECT_EQ(f.sheet.Cell(1, 61), "100");
    EXPECT_EQ(f.sheet.Cell(5, 61), "14");
    EXPECT_EQ(f.sheet.Cell(10, 61), "");
    EXPECT_EQ(f.sheet.Cell(5, 55), "2");    // the report column's own fleet rows
    EXPECT_EQ(f.sheet.Cell(5, 56), "2500");
    EXPECT_EQ(f.sheet.Cell(4, 55), "");
    EXPECT_EQ(f.sheet.Cell(1, 64), "");
    // The next tick step recalculates first: the computed survivors are carried forward.
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.Cell(1, 1), "8");
    EXPECT_FALSE(f.sheet.ReportView());
}

// The scan parser's OK is one step, whatever the report does to the sheet (a combat report
// clears it and recalculates it logged): one Undo brings back the battle and its tick history.
TEST(ApplyCombatReport, AWrongReportIsUndoneWithItsTickHistoryAndRedoneWithItsFigures) {
    SheetFixture f;
    BattleDocument document(DefaultRules(), f.context);
    document.EndEdit(1, 5, "99");
    document.StepForward();
    document.StepForward();
    const SheetCells battle = document.Sheet().Cells();
    const auto history = document.Sheet().TickHistory();
    ReportChoice choice;
    choice.kind = ReportKind::Combat;
    ScanParserOk(document, "Combat Report\nHarpy 20 1 0 10 2 0\n", choice);
    const SheetCells report = document.Sheet().Cells();
    EXPECT_STREQ(document.UndoName(), "Combat Report");

    document.Undo();
    EXPECT_EQ(document.Sheet().Cells(), battle);
    EXPECT_EQ(document.Sheet().CurrentTick(), 3);
    EXPECT_EQ(document.Sheet().TickHistory(), history);
    EXPECT_FALSE(document.Sheet().ReportView());
    EXPECT_STREQ(document.UndoName(), "Tick Step");  // no step of the sheet's own in between
    document.Redo();
    EXPECT_EQ(document.Sheet().Cells(), report);  // the report's own held and lost figures, not a recalculation
    EXPECT_TRUE(document.Sheet().ReportView());
    EXPECT_EQ(document.Sheet().CurrentTick(), 1);
}

}  // namespace
}  // namespace kestrin
