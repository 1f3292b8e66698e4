// Speed of the combat engine: one solver call, one full tick, one logged tick.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/battle_simulation.h"
#include "engine/combat_tables.h"
#include "engine/shot_solver.h"

namespace kestrin {
namespace {

// 54 entries with spread kill rates and a shot count that needs a long search; the
// argument picks the fast path (1) or the extended-precision reference (0).
void BM_AllocateShots54(benchmark::State& state) {
    const auto solve = state.range(0) != 0 ? AllocateShots : AllocateShotsReference;
    std::mt19937_64 rng(7);
    std::vector<double> ships(54), rates(54), damage(54, 0.0);
    for (int i = 0; i < 54; ++i) {
        ships[i] = static_cast<double>(std::uniform_int_distribution<int>(1000, 1000000)(rng));
        rates[i] = std::uniform_real_distribution<double>(0.002, 0.6)(rng);
    }
    std::vector<std::int64_t> kills(54), allocated(54);
    const SolverSettings settings;
    for (auto _ : state) {
        std::vector<double> d = damage;
        std::int64_t shots = 3000000;
        int cycles = 0;
        double g = 0;
        solve(ships, rates, kills, d, shots, cycles, g, allocated, settings);
        benchmark::DoNotOptimize(kills.data());
        state.counters["cycles"] = cycles;
    }
}
BENCHMARK(BM_AllocateShots54)->Arg(1)->Arg(0);

BattleState FullBattle() {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<int> count(1000, 1000000);
    BattleState s;
    for (int side = 0; side < 2; ++side)
        for (int t = 0; t < kShipCount; ++t) s.Ships[side][t] = count(rng);
    s.Roids = {500, 1200, 900, 300};
    s.DefenderEonium = 2000000;
    s.DefenderScore = 90000000;
    s.AttackerFleetValue = 900000000;
    return s;
}

struct NullLog : BattleLogSink {
    std::size_t lines = 0;
    void BeginLogRun() override { lines = 0; }
    void WriteLogStep(const StepLists& l) override {
        lines += l.MemoHeader.size() + l.MemoDef.size() + l.MemoAtt.size();
    }
};

void RunTicks(benchmark::State& state, bool logged) {
    const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    const BattleState start = FullBattle();
    NullLog log;
    SimulationContext context;
    context.LogEnabled = logged;
    context.LogSink = &log;
    for (auto _ : state) {
        BattleState s = start;
        s.PrepareTick();
        SimulateTick(s, rules, context);
        benchmark::DoNotOptimize(s.Left);
    }
}

void BM_SimulateTickFullBattle(benchmark::State& state) { RunTicks(state, false); }
BENCHMARK(BM_SimulateTickFullBattle)->Unit(benchmark::kMicrosecond);

void BM_SimulateTickFullBattleLogged(benchmark::State& state) { RunTicks(state, true); }
BENCHMARK(BM_SimulateTickFullBattleLogged)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrin
