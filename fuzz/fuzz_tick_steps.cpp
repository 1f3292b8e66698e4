// Any sequence of edits, tick steps forward and back, recalculations and clear commands. A
// step forward and back again always restores the recalculated inputs and the tick exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cli/cli_log_window.h"
#include "engine/battle_rules.h"
#include "sheet/battle_sheet.h"
#include "fuzz_bytes.h"

namespace {

using Bytes = kestrin::fuzz::Bytes;

void Edit(kestrin::BattleSheet& sheet, Bytes& bytes) {
    const int row = 1 + bytes.Next() % (kestrin::sheet::kRows - 1);
    const int col = bytes.Next() % 2 == 0 ? kestrin::sheet::kDefShips : kestrin::sheet::kAttShips;
    std::string text;
    for (int length = bytes.Next() % 12; length > 0; --length) text += static_cast<char>(bytes.Next());
    sheet.SetCell(col, row, text);
}

void ForwardAndBack(kestrin::BattleSheet& sheet) {
    // A recalculation writes unit rows in normal form (text that is no count empties), as the
    // one after every step does: compare inputs in that form.
    sheet.RecalculateFollowingLog();
    kestrin::TickInputs before;
    for (int row = 0; row < kestrin::sheet::kRows; ++row) {
        before[row] = sheet.Cell(kestrin::sheet::kDefShips, row);
        before[kestrin::sheet::kRows + row] = sheet.Cell(kestrin::sheet::kAttShips, row);
    }
    const int tick = sheet.CurrentTick();
    sheet.StepForward();
    if (sheet.CurrentTick() != tick + 1) std::abort();
    sheet.StepBack();
    if (sheet.CurrentTick() != tick) std::abort();
    for (int row = 0; row < kestrin::sheet::kRows; ++row)
        if (sheet.Cell(kestrin::sheet::kDefShips, row) != before[row] ||
            sheet.Cell(kestrin::sheet::kAttShips, row) != before[kestrin::sheet::kRows + row])
            std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const kestrin::BattleRules rules = kestrin::MakeBattleRules(kestrin::DefaultShipCatalogue()).rules;
    Bytes bytes{data, size};
    kestrin::SimulationContext context;
    kestrin::CliLogWindow log(bytes.Next() % 2 == 1);
    kestrin::BattleSheet sheet(rules, context);
    sheet.SetLogWindow(&log);
    for (int steps = 0; bytes.size > 0 && steps < 64; ++steps) {
        switch (bytes.Next() % 7) {
            case 0: Edit(sheet, bytes); break;
            case 1: ForwardAndBack(sheet); break;
            case 2: sheet.StepForward(); break;
            case 3: sheet.StepBack(); break;
            case 4: sheet.Recalculate(); break;
            case 5: bytes.Next() % 2 == 0 ? sheet.ClearDef() : sheet.ClearAtt(); break;
            default: sheet.ClearGrid(); break;
        }
        // Every tick after the first has the inputs it was stepped from.
        if (sheet.CurrentTick() < 1) std::abort();
        if (sheet.CurrentTick() > 1 && sheet.TickHistory().size() < static_cast<std::size_t>(sheet.CurrentTick()))
            std::abort();
    }
    return 0;
}
