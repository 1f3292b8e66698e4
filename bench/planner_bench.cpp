// Speed of the battle planner: a 1,000-point sweep of a full battle over 3 ticks, with the
// number of worker threads as the argument.
#include <benchmark/benchmark.h>

#include "full_battle.h"
#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
#include "planner/sweep_findings.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"

namespace kestrin {
namespace {

void BM_Sweep1000PointsFullBattle3Ticks(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    SweepRequest request{SheetInputs(sheet.Cells()), {Side::Attacker, sheet::UnitRow(48)}, {}, 3};
    request.values = SweepValues({0, 2000000, 1000});
    const SweepControl control{.workers = static_cast<int>(state.range(0))};
    for (auto _ : state) {
        const SweepResult result = RunSweep(bench::Rules(), request, control);
        if (result.points.size() != 1000) state.SkipWithError("points");
        benchmark::DoNotOptimize(result.points.data());
    }
}
BENCHMARK(BM_Sweep1000PointsFullBattle3Ticks)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The planner's findings over every value from 0 to 999 of a full battle over 3 ticks: the
// same battles as the sweep above, each folded into the findings as it is handed on.
void BM_FindingsPass1000ValuesFullBattle3Ticks(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    SweepRequest request{sheet.Cells(), {Side::Attacker, sheet::UnitRow(48)}, {}, 3};
    request.values = SweepValues({0, 999, 1000});
    const SweepControl control{.workers = static_cast<int>(state.range(0))};
    for (auto _ : state) {
        const FindingsPass pass = RunFindingsPass(bench::Rules(), request, control);
        if (pass.tally.Added() != 1000) state.SkipWithError("values");
        benchmark::DoNotOptimize(&pass);
    }
}
BENCHMARK(BM_FindingsPass1000ValuesFullBattle3Ticks)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The fleet advisor: 10,000 evaluations of a full battle over 3 ticks, six varied attacker rows
// (AstroPod and five warships, each up to the count on the grid), workers as the argument.
void BM_FleetSearch10000EvaluationsSixRows(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    FleetSearchRequest request;
    request.battle = SheetInputs(sheet.Cells());
    request.ticks = 3;
    for (ShipIndex type : {48, 0, 13, 26, 39, 45})
        request.rows.push_back({sheet::UnitRow(type), static_cast<std::int32_t>(sheet.Cells().Count(sheet::kAttShips, sheet::UnitRow(type)))});
    request.evaluations = 10000;
    const FleetSearchControl control{.workers = static_cast<int>(state.range(0))};
    for (auto _ : state) {
        const FleetSearchResult result = FindBestFleet(bench::Rules(), request, control);
        if (result.evaluations != 10000) state.SkipWithError("evaluations");
        benchmark::DoNotOptimize(result.best.counts.data());
    }
}
BENCHMARK(BM_FleetSearch10000EvaluationsSixRows)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kestrin
