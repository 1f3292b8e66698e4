#pragma once

#include <filesystem>
#include <string>

#include "engine/battle_rules.h"
#include "engine/shot_solver.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// A battle's sheet cells for the planner's commands, or why the file cannot be opened.
struct BattleCells {
    SheetCells cells;
    std::string error;  ///< "&Open..."'s message, empty when opened
};

/// The cells of the empty sheet with `battlePath` opened into it as "&Open..." does (the empty
/// sheet when the path is empty).
BattleCells OpenBattleCells(const BattleRules& rules, const std::filesystem::path& battlePath, SolverVariant solver);

}  // namespace kestrin
