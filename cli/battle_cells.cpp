#include "battle_cells.h"

#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "tick_json.h"

namespace kestrin {

BattleCells OpenBattleCells(const BattleRules& rules, const std::filesystem::path& battlePath, SolverVariant solver) {
    SimulationContext context;
    context.SolverVariant = solver;
    BattleSheet sheet(rules, context, kCliLocale);
    sheet.KeepNoUndo();
    if (!battlePath.empty()) {
        const BattleFileResult opened = OpenBattleFile(sheet, battlePath);
        if (!opened.ok()) return {{}, opened.message};
    }
    return {sheet.Cells(), {}};
}

}  // namespace kestrin
