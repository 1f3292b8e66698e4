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
    SweepRequest request{SheetInputs(sheet.Cells()), {Side::Attacker, sheet::UnitRow(48)}, {}, 3};
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

namespace kestrin {
namespace {

// The search's own pace: evaluations per second of a light raid (pods and two warship types,
// up to 2,000 each, against four types) over one tick, at 10,000 and 1,000,000 evaluations on
// two workers. The rate at a million shows whether the cost per evaluation grows with the run.
void BM_FleetSearchEvaluationsPerSecond(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    for (ShipIndex type : {0, 14, 27, 40}) sheet.SetCell(sheet::kDefShips, sheet::UnitRow(type), "1500");
    for (int k = 0; k < 4; ++k) sheet.SetCell(sheet::kDefShips, sheet::kFirstRoidRow + k, "800");
    FleetSearchRequest request;
    request.battle = SheetInputs(sheet.Cells());
    request.rows = {{sheet::UnitRow(48), 2000}, {sheet::UnitRow(3), 2000}, {sheet::UnitRow(29), 2000}};
    request.evaluations = state.range(0);
    for (auto _ : state) {
        const FleetSearchResult result = FindBestFleet(bench::Rules(), request, {.workers = 2});
        if (result.evaluations != request.evaluations) state.SkipWithError("evaluations");
        benchmark::DoNotOptimize(result.best.counts.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FleetSearchEvaluationsPerSecond)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kestrin
