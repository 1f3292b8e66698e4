#include <gtest/gtest.h>

#include <string>

#include "engine/battle_simulation.h"
#include "sheet/battle_sheet.h"
#include "sheet/result_rows.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

TEST(BattleSheet, StartsWithCaptionsOnlyAtTickOne) {
    SheetFixture f;
    const BattleSheet& s = f.sheet;
    EXPECT_EQ(s.Cell(0, 0), "Defending Forces");
    EXPECT_EQ(s.Cell(6, 0), "Attacking Forces");
    EXPECT_EQ(s.Cell(4, 0), "Stole");
    EXPECT_EQ(s.Cell(11, 0), "Left");
    EXPECT_EQ(s.Cell(0, UnitRow(kHarpy)), "Harpy");
    EXPECT_EQ(s.Cell(6, UnitRow(kHarpy)), "Harpy");
    EXPECT_EQ(s.Cell(0, UnitRow(kMesonicCutter)), "MesonicCutter");
    EXPECT_EQ(s.Cell(6, UnitRow(kMesonicCutter)), "");  // a PDS never attacks
    EXPECT_EQ(s.Cell(0, kEoniumRow), "Defender E");
    EXPECT_EQ(s.Cell(6, kEoniumRow), "E Captured");
    EXPECT_EQ(s.Cell(6, kScoreRow), "Planet Score");
    for (int row = 1; row < kRows; ++row)
        for (int col : {1, 2, 3, 4, 5, 7, 8, 9, 10, 11}) EXPECT_EQ(s.Cell(col, row), "");
    EXPECT_EQ(s.CurrentTick(), 1);
    EXPECT_TRUE(s.TickHistory().empty());
    EXPECT_FALSE(s.ReportView());
    for (int row = 0; row < kRows; ++row) EXPECT_TRUE(s.RowVisible(row));
    EXPECT_EQ(s.Results(), ResultsPanel{});
}

TEST(BattleSheet, EmptySheetRecalculatesToEmptyResults) {
    SheetFixture f;
    f.sheet.ShowCombatReport(CombatReport{});  // "Held" and "Lost" headings, no ships
    ASSERT_TRUE(f.sheet.ReportView());
    const SheetCells before = f.sheet.Cells();
    f.Recalc();
    EXPECT_EQ(f.sheet.Cell(4, 0), "Stole");
    SheetCells expected = before;
    for (int col : {kDefStole, kAttStole}) expected.Set(col, kHeadingRow, "Stole");
    for (int col : {kDefLeft, kAttLeft}) expected.Set(col, kHeadingRow, "Left");
    EXPECT_EQ(f.sheet.Cells(), expected);
    EXPECT_FALSE(f.sheet.ReportView());
    EXPECT_EQ(f.sheet.Results(), ResultsPanel{});
}

TEST(BattleSheet, TextThatIsNoCountEmptiesItsCell) {
    SheetFixture f;
    f.sheet.SetCell(kDefShips, UnitRow(kHarpy), "abc");
    f.sheet.SetCell(kAttShips, UnitRow(kHarpy), "12x");
    f.sheet.SetCell(kDefShips, UnitRow(kPhoenix), " 5");          // no spaces
    f.sheet.SetCell(kAttShips, UnitRow(kPhoenix), "2147483648");  // beyond 32 bits
    f.sheet.SetCell(kDefShips, UnitRow(kDragon), "+7");
    f.Recalc();
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "");
    EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(kHarpy)), "");
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kPhoenix)), "");
    EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(kPhoenix)), "");
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kDragon)), "7");  // normal form
    EXPECT_EQ(f.sheet.Cell(kDefLeft, UnitRow(kDragon)), "7");
}

TEST(BattleSheet, NegativeCountsAreKeptAndLeftOutOfTotals) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), -5);
    f.Put(kDefShips, UnitRow(kPhoenix), 2);
    f.Put(kDefShips, kFirstRoidRow, -3);
    f.Recalc();
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "-5");
    EXPECT_EQ(f.sheet.Cell(kDefLeft, UnitRow(kHarpy)), "-5");
    EXPECT_EQ(f.sheet.Cell(kDefShips, kTotalUnitsRow), "2");
    EXPECT_EQ(f.sheet.Cell(kDefShips, kMetalCostRow), "4500");
    EXPECT_EQ(f.sheet.Cell(kDefShips, kFirstRoidRow), "-3");  // asteroid rows keep negatives
    EXPECT_EQ(f.sheet.Cell(kDefLeft, kFirstRoidRow), "-3");
}

TEST(BattleSheet, EoniumAndScoreRowsKeepOnlyPositiveValues) {
    SheetFixture f;
    f.Put(kDefShips, kEoniumRow, -5);
    f.Put(kAttShips, kEoniumRow, -6);
    f.Put(kDefShips, kScoreRow, -7);
    f.sheet.SetCell(kAttShips, kScoreRow, "90000000000");  // 64-bit
    for (int col : {2, 3, 4, 5, 8, 9, 10, 11}) f.sheet.SetCell(col, kScoreRow, "junk");
    f.Recalc();
    EXPECT_EQ(f.sheet.Cell(kDefShips, kEoniumRow), "");
    EXPECT_EQ(f.sheet.Cell(kAttShips, kEoniumRow), "-6");  // column 7 is not rewritten
    EXPECT_EQ(f.sheet.Cell(kAttLeft, kEoniumRow), "");     // -6 + 0 is not positive
    EXPECT_EQ(f.sheet.Cell(kDefShips, kScoreRow), "");
    EXPECT_EQ(f.sheet.Cell(kAttShips, kScoreRow), "90000000000");
    for (int col : {2, 3, 4, 5, 8, 9, 10, 11}) EXPECT_EQ(f.sheet.Cell(col, kScoreRow), "") << col;
}

TEST(BattleSheet, HundredRoidsNoneCaptured) {
    SheetFixture f;
    f.Put(kDefShips, kFirstRoidRow + 1, 100);
    f.Recalc();
    EXPECT_EQ(f.sheet.Cell(kDefLeft, kFirstRoidRow + 1), "100");
    EXPECT_EQ(f.sheet.Cell(kDefLost, kFirstRoidRow + 1), "");
    EXPECT_EQ(f.sheet.Cell(kAttStole, kFirstRoidRow + 1), "");
    EXPECT_EQ(f.sheet.Results().TR, "0");
}

TEST(BattleSheet, AstroPodsCaptureRoidsIntoTheAsteroidRows) {
    SheetFixture f;
    f.Put(kDefShips, kFirstRoidRow + 1, 100);
    f.Put(kAttShips, UnitRow(kAstroPod), 100);
    f.Put(kAttShips, kFirstRoidRow + 1, 20);  // captured in earlier ticks
    f.Recalc();
    // 15 % of 100 rounded down by the capture limit: 14 (see the engine's tests).
    EXPECT_EQ(f.sheet.Cell(kDefShips, kFirstRoidRow + 1), "100");
    EXPECT_EQ(f.sheet.Cell(kDefLost, kFirstRoidRow + 1), "14");
    EXPECT_EQ(f.sheet.Cell(kDefLeft, kFirstRoidRow + 1), "86");
    EXPECT_EQ(f.sheet.Cell(kAttStole, kFirstRoidRow + 1), "14");
    EXPECT_EQ(f.sheet.Cell(kAttLeft, kFirstRoidRow + 1), "34");
    EXPECT_EQ(f.sheet.Results().MR, "-14");
    EXPECT_EQ(f.sheet.Results().TIR, "14");
}

TEST(BattleSheet, AllRoidsCapturedEmptiesLeft) {
    // The engine takes at most 15 % a tick; the write-back rule is checked directly.
    SheetCells cells;
    BattleState state;
    state.Roids = {0, 100, 0, 0};
    state.RoidsCaptured = {0, 100, 0, 0};
    WriteResultRows(cells, state, FleetCosts{});
    EXPECT_EQ(cells.At(kDefShips, kFirstRoidRow + 1), "100");
    EXPECT_EQ(cells.At(kDefLeft, kFirstRoidRow + 1), "");
    EXPECT_EQ(cells.At(kDefLost, kFirstRoidRow + 1), "100");
    EXPECT_EQ(cells.At(kAttStole, kFirstRoidRow + 1), "100");
    EXPECT_EQ(cells.At(kAttLeft, kFirstRoidRow + 1), "100");
}

TEST(BattleSheet, AccumulatedCapturesStayReadableCounts) {
    SheetCells cells;
    cells.Set(kAttShips, kFirstRoidRow, "2147483647");
    cells.Set(kAttShips, kEoniumRow, "2147483600");
    BattleState state;
    state.Roids = {100, 0, 0, 0};
    state.RoidsCaptured = {14, 0, 0, 0};
    state.DefenderEonium = 1000;
    state.EoniumCaptured = 150;
    WriteResultRows(cells, state, FleetCosts{});
    EXPECT_EQ(cells.At(kAttLeft, kFirstRoidRow), "2147483647");
    EXPECT_EQ(cells.At(kAttLeft, kEoniumRow), "2147483647");
    EXPECT_EQ(cells.At(kDefLeft, kEoniumRow), "850");
}

TEST(BattleSheet, LeftIncludingStoleIsClampedToTheCountRange) {
    BattleState state;
    state.Left[0][kHarpy] = 2147483600;
    state.Stole[0][kHarpy] = 100;
    state.Left[1][kHarpy] = -3;
    state.Stole[1][kHarpy] = 5;
    AddStolenToLeft(state);
    EXPECT_EQ(state.Left[0][kHarpy], 2147483647);
    EXPECT_EQ(state.Left[1][kHarpy], 2);
}

// The straightforward evaluation: the same inputs handed to SimulateTick directly.
TEST(BattleSheet, AgreesWithADirectSimulation) {
    const BattleRules& rules = EoniumRules();
    SheetFixture f(rules);
    BattleState direct;
    const std::pair<ShipIndex, int> defenders[] = {{kHarpy, 500}, {kDragon, 20}, {kSpider, 300},
                                                   {kMesonicCutter, 80}, {kPirate, 5}};
    const std::pair<ShipIndex, int> attackers[] = {{kPhoenix, 400}, {kThief, 250}, {kAstroPod, 60},
                                                   {kCorsair, 90}, {kSpider, 100}};
    for (auto [t, n] : defenders) {
        f.Put(kDefShips, UnitRow(t), n);
        direct.Ships[0][t] = n;
    }
    for (auto [t, n] : attackers) {
        f.Put(kAttShips, UnitRow(t), n);
        direct.Ships[1][t] = n;
    }
    f.Put(kDefShips, kFirstRoidRow + 2, 300);
    f.Put(kDefShips, kEoniumRow, 50000);
    f.Put(kDefShips, kScoreRow, 2000000);
    direct.Roids = {0, 0, 300, 0};
    direct.DefenderEonium = 50000;
    direct.DefenderScore = 2000000;
    std::int64_t metal = 0, crystal = 0, eonium = 0;
    for (auto [t, n] : attackers) {
        metal += n * std::stoll(rules.catalogue.Field(t, ShipField::Metal));
        crystal += n * std::stoll(rules.catalogue.Field(t, ShipField::Crystal));
        eonium += n * std::stoll(rules.catalogue.Field(t, ShipField::Eonium));
    }
    direct.AttackerFleetValue = metal / 10 + crystal / 10 + eonium / 10;
    direct.PrepareTick();
    SimulationContext context;
    SimulateTick(direct, rules, context);
    f.Recalc();

    const auto text = [](std::int64_t v) { return v == 0 ? std::string() : std::to_string(v); };
    for (int s = 0; s < 2; ++s) {
        const int c = s == 0 ? kDefShips : kAttShips;
        for (ShipIndex t = 0; t < kShipCount; ++t) {
            const int row = UnitRow(t);
            EXPECT_EQ(f.sheet.Cell(c, row), text(direct.Ships[s][t]));
            EXPECT_EQ(f.sheet.Cell(c + 1, row), text(direct.Held[s][t]));
            EXPECT_EQ(f.sheet.Cell(c + 2, row), text(direct.Lost[s][t]));
            EXPECT_EQ(f.sheet.Cell(c + 3, row), text(direct.Stole[s][t]));
            EXPECT_EQ(f.sheet.Cell(c + 4, row), text(direct.Left[s][t] + direct.Stole[s][t]));
        }
    }
    EXPECT_EQ(f.sheet.Cell(kDefLost, kFirstRoidRow + 2), text(direct.RoidsCaptured[2]));
    EXPECT_EQ(f.sheet.Cell(kDefLost, kEoniumRow), text(direct.EoniumCaptured));
    EXPECT_EQ(f.sheet.Cell(kDefLeft, kEoniumRow), text(50000 - direct.EoniumCaptured));
    EXPECT_GT(direct.EoniumCaptured, 0);
    EXPECT_GT(direct.Stole[1][kHarpy] + direct.Stole[1][kDragon] + direct.Stole[1][kSpider], 0);
    EXPECT_EQ(f.sheet.Cell(kAttShips, kMetalCostRow), std::to_string(metal));
    EXPECT_EQ(f.sheet.Cell(kAttShips, kFleetValueRow), std::to_string(direct.AttackerFleetValue));
}

TEST(BattleSheet, ClearDefAndClearAttEmptyOneInputColumnAndRecalculate) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Put(kDefShips, kScoreRow, 10);
    f.Put(kAttShips, UnitRow(kHarpy), 20);
    f.Put(kAttShips, kFirstRoidRow, 3);
    f.Recalc();
    f.sheet.StepForward();
    f.sheet.ClearDef();
    for (int row = 1; row < kRows; ++row) EXPECT_EQ(f.sheet.Cell(kDefLost, row), "") << row;
    EXPECT_EQ(f.sheet.Cell(kDefShips, kScoreRow), "");
    EXPECT_EQ(f.sheet.Cell(kAttLeft, UnitRow(kHarpy)), f.sheet.Cell(kAttShips, UnitRow(kHarpy)));
    EXPECT_NE(f.sheet.Cell(kAttShips, UnitRow(kHarpy)), "");
    f.sheet.ClearAtt();
    for (int row = 1; row < kRows; ++row) {
        EXPECT_EQ(f.sheet.Cell(kAttShips, row), "") << row;
        EXPECT_EQ(f.sheet.Cell(kAttLeft, row), "") << row;
    }
    EXPECT_EQ(f.sheet.CurrentTick(), 2);
    EXPECT_EQ(f.sheet.TickHistory().size(), 2u);
}

TEST(BattleSheet, ClearGridEmptiesAllButKeepsThePanel) {
    SheetFixture f;
    FakeLogWindow log(f.context);
    f.sheet.SetLogWindow(&log);
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Put(kAttShips, UnitRow(kHarpy), 20);
    f.Recalc();
    f.sheet.StepForward();
    const ResultsPanel panel = f.sheet.Results();
    EXPECT_TRUE(log.updateLogEnabled);
    f.sheet.ClearGrid();
    EXPECT_EQ(f.sheet.Cells(), SheetFixture().sheet.Cells());
    EXPECT_EQ(f.sheet.CurrentTick(), 1);
    EXPECT_TRUE(f.sheet.TickHistory().empty());
    EXPECT_EQ(f.sheet.Results().TickIndicator, "Tick 1");
    ResultsPanel kept = panel;
    kept.TickIndicator = "Tick 1";
    EXPECT_EQ(f.sheet.Results(), kept);
    EXPECT_EQ(log.clears, 1);
    EXPECT_FALSE(log.updateLogEnabled);
}

TEST(BattleSheet, UpdateCalcLogLogsExactlyOneRecalculation) {
    SheetFixture f;
    FakeLogWindow log(f.context);
    f.sheet.SetLogWindow(&log);
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Put(kAttShips, UnitRow(kHarpy), 20);
    f.sheet.UpdateCalcLog();
    EXPECT_EQ(log.logRuns, 1);
    EXPECT_TRUE(log.logEnabledInEveryStep);
    EXPECT_FALSE(log.lines.empty());
    EXPECT_FALSE(log.updateLogEnabled);
    EXPECT_FALSE(f.context.LogEnabled);
    EXPECT_EQ(f.context.LogSink, nullptr);  // the owner's setting is restored

    f.Recalc();  // any other recalculation only marks the log out of date
    EXPECT_EQ(log.logRuns, 1);
    EXPECT_TRUE(log.updateLogEnabled);

    // With the window hidden a tick step recalculates without a log; shown, it logs.
    f.sheet.StepForward();
    EXPECT_EQ(log.logRuns, 1);
    EXPECT_TRUE(log.updateLogEnabled);
    log.visible = true;
    f.sheet.StepForward();
    EXPECT_EQ(log.logRuns, 2);
    EXPECT_FALSE(log.updateLogEnabled);
    f.sheet.StepBack();
    EXPECT_EQ(log.logRuns, 3);
    EXPECT_FALSE(log.updateLogEnabled);
}

TEST(BattleSheet, EoniumCapturedGrowsTickByTick) {
    SheetFixture f(EoniumRules());
    f.Put(kDefShips, kEoniumRow, 100000);
    f.Put(kAttShips, UnitRow(kCorsair), 20);
    f.Recalc();
    const std::int64_t first = f.sheet.Cells().Int64(kAttLeft, kEoniumRow);
    ASSERT_GT(first, 0);
    EXPECT_EQ(f.sheet.Cells().Int64(kAttStole, kEoniumRow), first);
    f.sheet.StepForward();
    EXPECT_EQ(f.sheet.Cells().Int64(kAttShips, kEoniumRow), first);
    const std::int64_t second = f.sheet.Cells().Int64(kAttLeft, kEoniumRow);
    EXPECT_EQ(second, first + f.sheet.Cells().Int64(kAttStole, kEoniumRow));
    EXPECT_GT(second, first);
    EXPECT_EQ(f.sheet.Cells().Int64(kDefShips, kEoniumRow), 100000 - first);
}

}  // namespace
}  // namespace kestrin
