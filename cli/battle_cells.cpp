#include "battle_cells.h"

#include "cli_output.h"
#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "tick_json.h"

namespace kestrin {

void ReportBattleFileProblems(std::ostream& err, const std::filesystem::path& path,
                              const std::vector<BattleFileProblem>& problems) {
    for (const BattleFileProblem& problem : problems)
        ReportWarning(err, path.string() + ": " + BattleFileProblemText(problem));
}

BattleCells OpenBattleCells(const BattleRules& rules, const std::filesystem::path& battlePath, SolverVariant solver,
                            std::ostream& err) {
    SimulationContext context;
    context.SolverVariant = solver;
    BattleSheet sheet(rules, context, kCliLocale);
    sheet.KeepNoUndo();
    if (!battlePath.empty()) {
        const BattleFileResult opened = OpenBattleFile(sheet, battlePath);
        if (!opened.ok()) return {{}, opened.message};
        ReportBattleFileProblems(err, battlePath, opened.problems);
    }
    return {sheet.Cells(), {}};
}

}  // namespace kestrin
