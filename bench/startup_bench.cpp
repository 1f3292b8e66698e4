// Speed of start-up: read the statistics file, check it, build the combat tables.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "engine/battle_rules.h"
#include "engine/ship_stats_file.h"

namespace kestrin {
namespace {

void BM_LoadBattleRules(benchmark::State& state) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kestrin_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path path = ShipStatsPath(folder);
    if (!WriteDefaultShipStats(path).empty()) state.SkipWithError("cannot write the statistics file");
    for (auto _ : state) {
        BattleRulesLoad load = LoadBattleRules(path);
        benchmark::DoNotOptimize(load.rules.tables.killRate.data());
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadBattleRules)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrin
