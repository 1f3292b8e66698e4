#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/shot_solver.h"
#include "sheet/battle_file_problems.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// A battle's sheet cells for the planner's commands, or why the file cannot be opened.
struct BattleCells {
    SheetCells cells;
    std::string error;  ///< "&Open..."'s message, empty when opened
};

/// The cells of the empty sheet with `battlePath` opened into it as "&Open..." does (the empty
/// sheet when the path is empty); lines that are no count are told on `err` as warnings.
BattleCells OpenBattleCells(const BattleRules& rules, const std::filesystem::path& battlePath, SolverVariant solver,
                            std::ostream& err);

/// One warning line on `err` per line of the opened battle file that is no count as it stands.
void ReportBattleFileProblems(std::ostream& err, const std::filesystem::path& path,
                              const std::vector<BattleFileProblem>& problems);

}  // namespace kestrin
