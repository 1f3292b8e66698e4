#include "battle_inputs.h"

#include "cli_output.h"

namespace kestrin {

BattleFileInputs OpenBattleInputs(const std::filesystem::path& battlePath) {
    if (battlePath.empty()) return {};
    return ReadBattleFileInputs(battlePath);
}

void ReportBattleFileProblems(std::ostream& err, const std::filesystem::path& path,
                              const std::vector<BattleFileProblem>& problems) {
    for (const BattleFileProblem& problem : problems)
        ReportWarning(err, path.string() + ": " + BattleFileProblemText(problem));
}

}  // namespace kestrin
