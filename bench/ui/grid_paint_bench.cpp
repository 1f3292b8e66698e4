// Speed of the battle grid's painting: one whole repaint as every spin tick asks for it, on
// a full battle, and with a cell of a million characters the recalculation never rewrites;
// and a whole spin tick, recalculation and repaint, against the spin timer's 20 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <string>

#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "ui/grid/battle_grid.h"
#include "full_battle.h"
#include "sheet/battle_document.h"

namespace kestrin {
namespace {

// The full battle, opened into the document as a player opens a battle file.
void OpenFullBattle(BattleDocument& document) {
    SimulationContext context;
    BattleSheet sheet(bench::Rules(), context);
    bench::FillFullSheet(sheet);
    document.OpenBytes(BattleFileBytes(sheet.Cells()));
}

void PaintWholeGrid(benchmark::State& state, const std::string& longCell) {
    SimulationContext context;
    BattleDocument document(bench::Rules(), context);
    OpenFullBattle(document);
    // A text no count reading takes: the cell keeps it as typed, and the grid must paint it.
    if (!longCell.empty()) document.EndEdit(sheet::kAttShips, sheet::kFirstRoidRow, longCell);
    if (document.Sheet().Cell(sheet::kAttShips, sheet::kFirstRoidRow) != longCell) {
        state.SkipWithError("the long text did not stay in its cell");
        return;
    }
    const Appearance appearance = DefaultAppearance();
    BattleGrid grid(document, appearance);
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

// One tick of a held spin on a full battle: the count steps, the battle is recalculated and
// the whole grid repainted. The spin timer fires every 20 ms.
void BM_SpinTickWithRepaintFullBattle(benchmark::State& state) {
    SimulationContext context;
    BattleDocument document(bench::Rules(), context);
    OpenFullBattle(document);
    const Appearance appearance = DefaultAppearance();
    BattleGrid grid(document, appearance);
    grid.resize(671, 389);  // the main window's grid area
    grid.show();
    grid.SetInputMode(BattleGrid::InputMode::Spin);
    const QRect cell = grid.CellRect(sheet::kDefShips, sheet::kFirstUnitRow);
    const QPointF upperHalf(cell.center().x(), cell.top() + 1);
    QMouseEvent press(QEvent::MouseButtonPress, upperHalf, grid.viewport()->mapToGlobal(upperHalf), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &press);
    QImage image(grid.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        grid.GridTimerTimer();
        grid.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    QMouseEvent release(QEvent::MouseButtonRelease, upperHalf, grid.viewport()->mapToGlobal(upperHalf),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid.viewport(), &release);
}
BENCHMARK(BM_SpinTickWithRepaintFullBattle)->Unit(benchmark::kMillisecond);

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
