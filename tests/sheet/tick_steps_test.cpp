#include <gtest/gtest.h>

#include "sheet/battle_sheet.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// Columns 1 and 7 of rows 0..65, as the history keeps them.
TickInputs InputsOf(const BattleSheet& sheet) {
    TickInputs inputs;
    for (int row = 0; row < kRows; ++row) {
        inputs[row] = sheet.Cell(kDefShips, row);
        inputs[kRows + row] = sheet.Cell(kAttShips, row);
    }
    return inputs;
}

void SetUpBattle(SheetFixture& f) {
    f.Put(kDefShips, UnitRow(kHarpy), 500);
    f.Put(kDefShips, UnitRow(kDragon), 20);
    f.Put(kAttShips, UnitRow(kPhoenix), 400);
    f.Put(kAttShips, UnitRow(kThief), 100);
    f.Put(kAttShips, UnitRow(kAstroPod), 60);
    f.Put(kDefShips, kFirstRoidRow + 1, 200);
    f.Put(kDefShips, kEoniumRow, 30000);
    f.Put(kAttShips, UnitRow(kCorsair), 10);
    f.Put(kDefShips, kScoreRow, 5000000);
    f.Put(kAttShips, kScoreRow, 7000000);
}

TEST(TickSteps, ForwardCarriesLeftIntoShips) {
    SheetFixture f;
    SetUpBattle(f);
    f.Recalc();
    const SheetCells tick1 = f.sheet.Cells();
    const TickInputs inputs1 = InputsOf(f.sheet);
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.CurrentTick(), 2);
    EXPECT_EQ(f.sheet.Results().TickIndicator, "Tick 2");
    ASSERT_EQ(f.sheet.TickHistory().size(), 2u);
    EXPECT_EQ(f.sheet.TickHistory()[1], inputs1);
    for (int row = kFirstUnitRow; row <= kLastUnitRow; ++row) {
        EXPECT_EQ(f.sheet.Cell(kDefShips, row), tick1.At(kDefLeft, row)) << row;
        EXPECT_EQ(f.sheet.Cell(kAttShips, row), tick1.At(kAttLeft, row)) << row;
    }
    for (int row = kFirstRoidRow; row <= kEoniumRow; ++row) {
        EXPECT_EQ(f.sheet.Cell(kDefShips, row), tick1.At(kDefLeft, row)) << row;
        EXPECT_EQ(f.sheet.Cell(kAttShips, row), tick1.At(kAttLeft, row)) << row;
    }
    EXPECT_EQ(f.sheet.Cell(kDefShips, kScoreRow), "5000000");
    EXPECT_EQ(f.sheet.Cell(kAttShips, kScoreRow), "7000000");
    EXPECT_NE(f.sheet.Cell(kAttShips, kFirstRoidRow + 1), "");  // captured asteroids carried
}

TEST(TickSteps, ForwardThenBackRestoresInputsExactly) {
    SheetFixture f;
    SetUpBattle(f);
    f.Recalc();
    // Typed but never recalculated, and text a recalculation would keep or drop.
    f.sheet.SetCell(kDefShips, UnitRow(kSpider), "abc");
    f.sheet.SetCell(kAttShips, UnitRow(kHarpy), "12");
    f.sheet.SetCell(kAttShips, kFirstRoidRow, "x1");
    f.sheet.SetCell(kDefShips, kScoreRow, "-4");
    const TickInputs before = InputsOf(f.sheet);
    f.sheet.StepForward();
    ASSERT_NE(InputsOf(f.sheet), before);
    f.sheet.StepBack();
    EXPECT_EQ(f.sheet.CurrentTick(), 1);
    EXPECT_EQ(f.sheet.Results().TickIndicator, "Tick 1");
    // The restored inputs are recalculated: compare with a sheet given the same text.
    SheetFixture g;
    for (int row = 1; row < kRows; ++row) {
        g.sheet.SetCell(kDefShips, row, before[row]);
        g.sheet.SetCell(kAttShips, row, before[kRows + row]);
    }
    g.Recalc();
    EXPECT_EQ(f.sheet.Cells(), g.sheet.Cells());
    EXPECT_EQ(f.sheet.Cell(kAttShips, kFirstRoidRow), "x1");
    EXPECT_EQ(f.sheet.Cell(kDefShips, kScoreRow), "");  // recalculated after the restore
    EXPECT_EQ(f.sheet.TickHistory().size(), 2u);
}

TEST(TickSteps, ForwardKeepsTheInputsAsTypedInTheHistory) {
    SheetFixture f;
    FakeLogWindow log(f.context);
    f.sheet.SetLogWindow(&log);
    SetUpBattle(f);
    f.Recalc();
    f.sheet.SetCell(kDefShips, UnitRow(kSpider), "abc");
    const TickInputs before = InputsOf(f.sheet);
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.TickHistory()[1], before);  // the history holds the text as typed
}

TEST(TickSteps, BackAtTickOneChangesNothing) {
    SheetFixture f;
    FakeLogWindow log(f.context);
    f.sheet.SetLogWindow(&log);
    log.visible = true;
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Put(kAttShips, UnitRow(kHarpy), 10);
    f.Recalc();
    f.sheet.SetCell(kDefShips, UnitRow(kPhoenix), "typed");
    const SheetCells cells = f.sheet.Cells();
    const ResultsPanel panel = f.sheet.Results();
    log.updateLogEnabled = true;
    f.sheet.StepBack();
    EXPECT_EQ(f.sheet.Cells(), cells);  // not recalculated: "typed" is still there
    EXPECT_EQ(f.sheet.Results(), panel);
    EXPECT_EQ(f.sheet.CurrentTick(), 1);
    EXPECT_EQ(log.logRuns, 0);
    EXPECT_TRUE(log.updateLogEnabled);
}

TEST(TickSteps, HistoryKeepsOneEntryMoreThanTheTickAfterABackStep) {
    SheetFixture f;
    SetUpBattle(f);
    f.Recalc();
    f.sheet.StepForward();
    f.sheet.SetCell(kAttShips, UnitRow(kHarpy), "77");  // an edit on tick 2
    const TickInputs tick2 = InputsOf(f.sheet);
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.CurrentTick(), 3);
    EXPECT_EQ(f.sheet.TickHistory().size(), 3u);
    f.sheet.StepBack();
    EXPECT_EQ(f.sheet.CurrentTick(), 2);
    EXPECT_EQ(f.sheet.TickHistory().size(), 3u);
    EXPECT_EQ(f.sheet.TickHistory()[2], tick2);
    EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(kHarpy)), "77");  // the edit is back
    f.sheet.StepBack();
    EXPECT_EQ(f.sheet.CurrentTick(), 1);
    EXPECT_EQ(f.sheet.TickHistory().size(), 2u);
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.CurrentTick(), 2);
    EXPECT_EQ(f.sheet.TickHistory().size(), 2u);
}

TEST(TickSteps, ForwardAfterAParsedReportCarriesComputedSurvivors) {
    SheetFixture f;
    // A report of 10 against 20 Harpies whose own figures differ from the computed ones.
    CombatReport report;
    report.DefenderTotal[kHarpy] = 10;
    report.AttackerTotal[kHarpy] = 20;
    report.DefenderLost[kHarpy] = 999;
    report.AttackerLost[kHarpy] = 999;
    f.sheet.ShowCombatReport(report);
    const TickInputs inputs = InputsOf(f.sheet);
    f.sheet.StepForward();
    EXPECT_FALSE(f.sheet.ReportView());
    EXPECT_EQ(f.sheet.TickHistory()[1], inputs);
    // 10 against 20 Harpies: 8 and 19 survive (the engine's worked example).
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "8");
    EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(kHarpy)), "19");
}

TEST(TickSteps, ForwardDoesNotRecalculateTypedInputFirst) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Recalc();
    f.Put(kDefShips, UnitRow(kHarpy), 50);  // typed after the last recalculation
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "10");
}

}  // namespace
}  // namespace kestrin
