#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "combat_tables.h"
#include "ship_catalogue.h"

namespace kestrin {

struct BattleRulesLoad;

/// The catalogue and the combat tables built from it: everything read-only a battle needs.
/// Only MakeBattleRules makes one (LoadBattleRules through it), so every BattleRules holds
/// statistics the combat rules can use and complete tables; the program passes it on by const
/// reference. (The members are not const, so that the rules move rather than copy.)
class BattleRules {
public:
    ShipCatalogue catalogue;
    CombatTables tables;

private:
    // By rvalue reference: the tables are arrays, so each further move would be a copy.
    BattleRules(ShipCatalogue&& checked, CombatTables&& built)
        : catalogue(std::move(checked)), tables(std::move(built)) {}
    friend BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue);
};

/// Result of start-up loading: usable rules in every case, and what was wrong.
struct BattleRulesLoad {
    BattleRules rules;
    /// The statistics file could not be written ("Unable to write to %s") or read.
    std::string fileError;
    /// fileError is that of reading the file (a folder, a FIFO, a file larger than 16 MB...).
    bool fileUnreadable = false;
    /// The statistics replaced by built-in values, one line each.
    std::vector<std::string> problems;
    /// Values the file lacks or that could not be read, replaced by built-in values (a
    /// missing section, a PaBattleConstant that is no whole number), one line each. Unlike
    /// `problems` they follow the file's own rule; they are told all the same.
    std::vector<std::string> fileNotes;

    /// The desktop program's start-up messages, in order: fileError, then every note and
    /// problem in one message. Empty when all is well.
    std::vector<std::string> Messages() const;
};

/// Ensures the statistics file at `statsPath`, loads it, replaces statistics the rules cannot
/// use by the built-in ones and builds the combat tables. Never yields an empty catalogue or
/// incomplete tables.
BattleRulesLoad LoadBattleRules(const std::filesystem::path& statsPath);

/// Rules from a catalogue already in memory (checked the same way).
BattleRulesLoad MakeBattleRules(const ShipCatalogue& catalogue);

}  // namespace kestrin
