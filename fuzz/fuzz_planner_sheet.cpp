// The planner against the sheet on any battle and range the bytes describe: every figure and
// panel text of every tick of every point is what the sheet shows with the value typed in,
// recalculated and stepped forward.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/battle_rules.h"
#include "planner/battle_sweep.h"
#include "planner/sweep_range.h"
#include "sheet/battle_sheet.h"
#include "sheet/result_rows.h"
#include "fuzz_bytes.h"

namespace {

using namespace kestrin;
using namespace kestrin::sheet;

struct Bytes : kestrin::fuzz::Bytes {
    // A whole number of up to `bytes` bytes, either sign.
    std::int64_t Number(int bytes) {
        const bool negative = Next() % 8 == 0;
        std::int64_t value = 0;
        for (int i = 0; i < bytes; ++i) value = value * 256 + Next();
        return negative ? -value : value;
    }
};

// A battle of counts (and now and then text that is no count) below the headings.
void FillBattle(BattleSheet& sheet, Bytes& bytes) {
    for (int cells = bytes.Next() % 48; cells > 0; --cells) {
        const int row = kFirstUnitRow + bytes.Next() % (kRows - kFirstUnitRow);
        const int col = bytes.Next() % 2 == 0 ? kDefShips : kAttShips;
        const std::uint8_t kind = bytes.Next();
        sheet.SetCell(col, row, kind == 0xff ? std::string("12a") : std::to_string(bytes.Number(1 + kind % 4)));
    }
}

SweepFigures SheetFigures(const BattleSheet& sheet) {
    const SheetCells& c = sheet.Cells();
    std::array<std::int32_t, kRoidKinds> captured{};
    for (int k = 0; k < kRoidKinds; ++k) captured[k] = c.Count(kDefLost, kFirstRoidRow + k);
    return {ComputeResultFigures(c, captured), c.Int64(kDefLeft, kFleetValueRow), c.Int64(kAttLeft, kFleetValueRow)};
}

void CheckPoint(const BattleRules& rules, const SheetCells& battle, const SweepRequest& request,
                const SweepPoint& point) {
    SimulationContext context;
    context.SolverVariant = request.solver;
    BattleSheet sheet(rules, context);
    for (int row = kFirstUnitRow; row < kRows; ++row)
        for (int col : {kDefShips, kAttShips}) sheet.SetCell(col, row, battle.At(col, row));
    sheet.SetCell(ShipsColumn(request.input.side), request.input.row, std::to_string(point.value));
    for (std::size_t t = 0; t < point.ticks.size(); ++t) {
        t == 0 ? sheet.Recalculate() : sheet.StepForward();
        if (!(point.ticks[t] == SheetFigures(sheet))) std::abort();
        if (!(SweepPanel(point.ticks[t], static_cast<int>(t + 1), sheet.Locale()) == sheet.Results())) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    Bytes bytes{data, size};
    SimulationContext context;
    BattleSheet sheet(rules, context);
    FillBattle(sheet, bytes);
    const Side side = bytes.Next() % 2 == 0 ? Side::Defender : Side::Attacker;
    const std::vector<SweepRow> rows = SweepableRows(rules.catalogue, side);
    if (rows.empty()) return 0;
    const int row = rows[bytes.Next() % rows.size()].row;
    // Only a range the planner accepts: its checks are the contract.
    const SweepRange range{bytes.Number(3), bytes.Number(4), 2 + bytes.Next() % 3};
    if (!CheckSweepRange(range, row).empty()) return 0;
    SweepRequest request{SheetInputs(sheet.Cells()), {side, row}, SweepValues(range), 1 + bytes.Next() % 3};
    request.solver = bytes.Next() % 4 == 0 ? SolverVariant::Old : SolverVariant::New;
    const SweepResult result = RunSweep(rules, request, SweepControl{.workers = 1});
    if (result.points.size() != request.values.size()) std::abort();
    for (const SweepPoint& point : result.points) CheckPoint(rules, sheet.Cells(), request, point);
    return 0;
}
