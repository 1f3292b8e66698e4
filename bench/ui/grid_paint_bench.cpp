// Speed of the battle grid's painting: one whole repaint as every spin tick asks for it, on
// a full battle, and with a cell of a million characters the recalculation never rewrites.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <string>

#include "sheet/battle_sheet.h"
#include "ui/battle_grid.h"
#include "full_battle.h"

namespace kestrin {
namespace {

void PaintWholeGrid(benchmark::State& state, const std::string& longCell) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    if (!longCell.empty()) sheet.SetCell(sheet::kAttShips, sheet::kFirstRoidRow, longCell);
    (void)sheet.Recalculate();
    const Appearance appearance = DefaultAppearance();
    BattleGrid grid(sheet, appearance);
    grid.resize(671, 1400);  // every row in view
    grid.show();
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
}

void BM_GridRepaintFullBattle(benchmark::State& state) { PaintWholeGrid(state, {}); }
BENCHMARK(BM_GridRepaintFullBattle)->Unit(benchmark::kMillisecond);

void BM_GridRepaintMillionCharacterCell(benchmark::State& state) {
    PaintWholeGrid(state, std::string(1'000'000, 'x'));
}
BENCHMARK(BM_GridRepaintMillionCharacterCell)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrin

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
