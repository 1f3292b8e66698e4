// Speed of the battle planner: a 1,000-point sweep of a full battle over 3 ticks, with the
// number of worker threads as the argument.
#include <benchmark/benchmark.h>

#include "full_battle.h"
#include "planner/battle_sweep.h"
#include "planner/sweep_range.h"

namespace kestrin {
namespace {

void BM_Sweep1000PointsFullBattle3Ticks(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    SweepRequest request{sheet.Cells(), {Side::Attacker, sheet::UnitRow(48)}, {}, 3};
    request.values = SweepValues({0, 2000000, 1000});
    const SweepControl control{.workers = static_cast<int>(state.range(0))};
    for (auto _ : state) {
        const SweepResult result = RunSweep(bench::Rules(), request, control);
        if (result.points.size() != 1000) state.SkipWithError("points");
        benchmark::DoNotOptimize(result.points.data());
    }
}
BENCHMARK(BM_Sweep1000PointsFullBattle3Ticks)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kestrin
