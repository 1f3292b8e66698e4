// Speed of the battle sheet: a full recalculation (cells read, tick simulated, cells and
// panel written), plain and as "Update Log" runs it; a tick step early and late in a long
// battle, and what undo holds after many steps.
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
    for (auto _ : state) {
        sheet.Recalculate();
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(sheet.Results());
}
BENCHMARK(BM_RecalculateFullSheet)->Unit(benchmark::kMicrosecond);

void BM_RecalculateFullSheetLogged(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(Rules(), context);
    KeepingLog log;
    sheet.SetLogWindow(&log);
    FillFullSheet(sheet);
    for (auto _ : state) {
        sheet.UpdateCalcLog();
        benchmark::ClobberMemory();
    }
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
    SimulateTick(simulated, Rules(), context);
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

// A tick step as the battle document makes it: one step to undo.
void TickStep(BattleSheet& sheet, bool forward) {
    const SheetChange change(sheet, forward ? Step::TickStep : Step::TickBack);
    forward ? sheet.StepForward() : sheet.StepBack();
}

// A step forward and back on the same full battle after `range(0)` ticks of history: undo
// shares the history, so the cost does not grow with it.
void BM_TickStepAfterTicks(benchmark::State& state) {
    SimulationContext context;
    BattleSheet sheet(Rules(), context);
    for (int tick = 1; tick < state.range(0); ++tick) TickStep(sheet, true);
    FillFullSheet(sheet);
    sheet.Recalculate();
    for (auto _ : state) {
        TickStep(sheet, true);
        TickStep(sheet, false);
        benchmark::ClobberMemory();
    }
    state.counters["tick"] = sheet.CurrentTick();
}
BENCHMARK(BM_TickStepAfterTicks)->Arg(10)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What the steps to undo hold after 10,000 tick steps of a full battle.
void BM_UndoMemoryAfter10000TickSteps(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        SimulationContext context;
        BattleSheet sheet(Rules(), context);
        FillFullSheet(sheet);
        sheet.Recalculate();
        for (int tick = 1; tick < 10000; ++tick) TickStep(sheet, true);
        bytes = sheet.UndoBytes();
    }
    state.counters["undoBytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_UndoMemoryAfter10000TickSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrin
