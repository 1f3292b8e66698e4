#include "battle_inputs.h"

namespace kestrin {

BattleFileInputs OpenBattleInputs(const std::filesystem::path& battlePath) {
    if (battlePath.empty()) return {};
    return ReadBattleFileInputs(battlePath);
}

}  // namespace kestrin
