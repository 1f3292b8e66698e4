// A sweep's points against the sheet itself: every figure and panel text of every tick must be
// what the sheet shows with the value typed in, recalculated and stepped forward.
#include <gtest/gtest.h>

#include <random>

#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

std::int64_t RandomValue(int row, std::mt19937& rng) {
    std::uniform_int_distribution<std::int64_t> small(-50, 3000), large(0, 400000);
    if (row == kScoreRow) return (rng() % 4 == 0 ? -1 : 1) * large(rng) * large(rng) / 100;
    return rng() % 3 == 0 ? small(rng) : large(rng) / (row >= kFirstRoidRow ? 40 : 1);
}

// The sheet's figures after its last recalculation: rows 56..59 and the asteroids of column 3.
SweepFigures SheetFigures(const BattleSheet& sheet) {
    const SheetCells& c = sheet.Cells();
    std::array<std::int32_t, kRoidKinds> captured{};
    for (int k = 0; k < kRoidKinds; ++k) captured[k] = c.Count(kDefLost, kFirstRoidRow + k);
    return {ComputeResultFigures(c, captured), c.Int64(kDefLeft, kFleetValueRow), c.Int64(kAttLeft, kFleetValueRow)};
}

void ExpectPointMatchesSheet(const BattleRules& rules, const SheetCells& battle, const SweepRequest& request,
                             const SweepPoint& point) {
    SheetFixture f(rules);
    f.context.SolverVariant = request.solver;
    const SweepInput& input = request.input;
    for (int row = kFirstUnitRow; row < kRows; ++row)
        for (int col : {kDefShips, kAttShips}) f.sheet.SetCell(col, row, battle.At(col, row));
    f.Put(ShipsColumn(input.side), input.row, point.value);
    for (std::size_t t = 0; t < point.ticks.size(); ++t) {
        SCOPED_TRACE("value " + std::to_string(point.value) + " tick " + std::to_string(t + 1));
        t == 0 ? f.sheet.Recalculate() : f.sheet.StepForward();
        EXPECT_EQ(point.ticks[t], SheetFigures(f.sheet));
        EXPECT_EQ(SweepPanel(point.ticks[t], static_cast<int>(t + 1), f.sheet.Locale()), f.sheet.Results());
    }
}

TEST(SweepMatchesSheet, EveryFigureOfEveryTickOnRandomBattles) {
    std::mt19937 rng(1307);
    for (int battle = 0; battle < 250; ++battle) {
        SCOPED_TRACE("battle " + std::to_string(battle));
        // Every fourth battle has a type that captures Eonium.
        const BattleRules& rules = battle % 4 == 3 ? EoniumRules() : DefaultRules();
        SheetFixture f(rules);
        FillRandomBattle(f, rng, true);
        const Side side = rng() % 2 ? Side::Attacker : Side::Defender;
        const std::vector<SweepRow> rows = SweepableRows(rules.catalogue, side);
        // Half the sweeps vary one of the rows below the units (asteroids, Eonium, scores).
        const std::size_t units = side == Side::Defender ? 54 : 49;
        const std::size_t pick = rng() % 2 ? rng() % units : units + rng() % (rows.size() - units);
        SweepRequest request{SheetInputs(f.sheet.Cells()), {side, rows[pick].row}, {}, 1 + static_cast<int>(rng() % 3)};
        for (int i = 0; i < 3; ++i) request.values.push_back(RandomValue(request.input.row, rng));
        request.solver = battle % 5 == 4 ? SolverVariant::Old : SolverVariant::New;
        const SweepResult result = RunSweep(rules, request, SweepControl{.workers = 1});
        ASSERT_EQ(result.points.size(), request.values.size());
        for (const SweepPoint& point : result.points) ExpectPointMatchesSheet(rules, f.sheet.Cells(), request, point);
        if (HasFailure()) return;
    }
}

// The advisor's answer is a fleet the player can send: typed into the sheet and stepped, it
// shows every figure the advisor reported.
TEST(SweepMatchesSheet, TheAdvisorsFleetStepsOnTheSheetToTheFiguresItReported) {
    std::mt19937 rng(4411);
    for (int battle = 0; battle < 6; ++battle) {
        SCOPED_TRACE("battle " + std::to_string(battle));
        SheetFixture f;
        FillRandomBattle(f, rng, true);
        FleetSearchRequest request;
        request.battle = SheetInputs(f.sheet.Cells());
        for (const SweepRow& row : SweepableRows(DefaultRules().catalogue, Side::Attacker))
            if (row.row <= kLastUnitRow && request.rows.size() < 3 && (row.row == UnitRow(48) || rng() % 8 == 0))
                request.rows.push_back({row.row, static_cast<std::int32_t>(rng() % 5000)});
        request.ticks = 3;
        request.evaluations = 150;
        request.aim.goal = static_cast<FleetGoal>(battle % 3);
        const FleetSearchResult result = FindBestFleet(DefaultRules(), request, {.workers = 2});
        for (std::size_t i = 0; i < request.rows.size(); ++i) f.Put(kAttShips, request.rows[i].row, result.best.counts[i]);
        for (std::size_t t = 0; t < result.best.ticks.size(); ++t) {
            t == 0 ? f.sheet.Recalculate() : f.sheet.StepForward();
            EXPECT_EQ(result.best.ticks[t], SheetFigures(f.sheet));
        }
        EXPECT_EQ(result.best.summed, WholeBattleFigures(result.best.ticks));
    }
}

}  // namespace
}  // namespace kestrin
