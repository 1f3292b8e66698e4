#pragma once

#include <filesystem>

#include "sheet/battle_file.h"

namespace kestrin {

/// The inputs of the battle at `battlePath` for the planner's commands, read as "&Open..."
/// reads the file, with its messages; the empty sheet's when the path is empty.
BattleFileInputs OpenBattleInputs(const std::filesystem::path& battlePath);

}  // namespace kestrin
