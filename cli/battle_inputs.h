#pragma once

#include <filesystem>
#include <iosfwd>
#include <vector>

#include "sheet/battle_file.h"

namespace kestrin {

/// The inputs of the battle at `battlePath` for the planner's commands, read as "&Open..."
/// reads the file, with its messages; the empty sheet's when the path is empty.
BattleFileInputs OpenBattleInputs(const std::filesystem::path& battlePath);

/// One warning line on `err` per line of the opened battle file that is no count as it stands.
void ReportBattleFileProblems(std::ostream& err, const std::filesystem::path& path,
                              const std::vector<BattleFileProblem>& problems);

}  // namespace kestrin
