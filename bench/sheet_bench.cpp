// Speed of the battle sheet: a full recalculation (cells read, tick simulated, cells and
// panel written), plain and as "Update Log" runs it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/battle_simulation.h"
#include "sheet/battle_sheet.h"
#include "sheet/result_rows.h"
#include "full_battle.h"

namespace kestrin {
namespace {

// Keeps every log line, as the log window's text does.
class KeepingLog : public LogWindowPort, public BattleLogSink {
public:
    bool LogWindowVisible() const override { return true; }
    void SetUpdateLogEnabled(bool) override {}
    void ClearLog() override { lines_.clear(); }
    BattleLogSink& LogSink() override { return *this; }
    void BeginLogRun() override { lines_.clear(); }
    void WriteLogStep(const StepLists& lists) override {
        for (const auto* list : {&lists.MemoHeader, &lists.MemoDef, &lists.MemoAtt})
            lines_.insert(lines_.end(), list->begin(), list->end());
    }
    std::size_t Size() const { return lines_.size(); }

private:
    std::vector<std::string> lines_;
};

using bench::FillFullSheet;
using bench::Rules;

void BM_RecalculateFullSheet(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(Rules(), context);
    FillFullSheet(sheet);
    // Recalculating rewrites the inputs in normal form: every run does the same work.
    for (auto _ : state) benchmark::DoNotOptimize(sheet.Recalculate());
    benchmark::DoNotOptimize(sheet.Results());
}
BENCHMARK(BM_RecalculateFullSheet)->Unit(benchmark::kMicrosecond);

void BM_RecalculateFullSheetLogged(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(Rules(), context);
    KeepingLog log;
    sheet.SetLogWindow(&log);
    FillFullSheet(sheet);
    for (auto _ : state) benchmark::DoNotOptimize(sheet.UpdateCalcLog());
    state.counters["logLines"] = static_cast<double>(log.Size());
}
BENCHMARK(BM_RecalculateFullSheetLogged)->Unit(benchmark::kMicrosecond);

// The sheet's own share of a recalculation: reading the cells, the attacker's fleet value,
// writing every result cell and the panel; the simulated tick is computed once outside.
void BM_SheetCellWorkFullSheet(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(Rules(), context);
    FillFullSheet(sheet);
    SheetCells cells = sheet.Cells();
    BattleState simulated;
    ReadSheetInputs(cells, simulated);
    simulated.PrepareTick();
    if (!SimulateTick(simulated, Rules().catalogue, Rules().tables, context).empty()) state.SkipWithError("tick");
    AddStolenToLeft(simulated);
    ResultsPanel panel;
    const NumberLocale locale;
    for (auto _ : state) {
        BattleState read;
        ReadSheetInputs(cells, read);
        read.AttackerFleetValue = FleetValue(read.Ships[1], sheet.Costs()).value;
        benchmark::DoNotOptimize(read);
        WriteResultRows(cells, simulated, sheet.Costs());
        ShowResults(cells, simulated.RoidsCaptured, locale, panel);
        benchmark::DoNotOptimize(panel);
    }
}
BENCHMARK(BM_SheetCellWorkFullSheet)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrin
