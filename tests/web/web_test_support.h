#pragma once

#include <string>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "engine/temp_folder.h"

namespace kestrin::testing {

/// The built-in rules, as the page has them, made once.
inline const BattleRules& WebRules() {
    static const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    return load.rules;
}

/// The bytes of one of examples/ battles.
inline std::string Example(const char* name) { return ReadBytes(std::string(KESTRIN_EXAMPLES_DIR "/") + name); }

}  // namespace kestrin::testing
