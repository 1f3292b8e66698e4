#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "combat_tables.h"
#include "ship_catalogue.h"

namespace kestrin {

/// The catalogue and the combat tables built from it: everything read-only a battle needs.
struct BattleRules {
    ShipCatalogue catalogue;
    CombatTables tables;
};

/// Result of start-up loading: usable rules in every case, and the messages to show.
struct BattleRulesLoad {
    BattleRules rules;
    /// Messages for the user, in order: a failed write of the statistics file ("Unable to
    /// write to %s"), then the statistics replaced by built-in values. Empty when all is well.
    std::vector<std::string> messages;
};

/// Ensures the statistics file at `statsPath`, loads it, replaces statistics the rules cannot
/// use by the built-in ones and builds the combat tables. Never yields an empty catalogue or
/// incomplete tables.
BattleRulesLoad LoadBattleRules(const std::filesystem::path& statsPath);

/// Rules from a catalogue already in memory (checked the same way).
BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue);

}  // namespace kestrin
