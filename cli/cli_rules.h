#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "engine/battle_rules.h"

namespace kestrin {

/// "ShipStats.ini" where the desktop program keeps it: beside the running executable, or
/// for an installed copy in the user's configuration folder (created when missing).
/// `argv0` is the fall-back when the executable's own path cannot be read.
std::filesystem::path DefaultStatsPath(const char* argv0);

/// Battle rules for a command, or the reason they cannot be used.
struct CliRules {
    BattleRules rules;
    std::string error;  ///< empty when the rules are usable
};

/// Loads the statistics file as the desktop program does at start-up (creating it when
/// missing). A file that cannot be created leaves the built-in values, as in the desktop
/// program, and says so in one warning line on `err`; so does each value the file lacks or
/// holds unreadable where the file's own rule gives the built-in one (a missing section, a
/// PaBattleConstant that is no whole number). Every other start-up problem is an error
/// here: a command computes nothing on statistics it would have to replace.
CliRules LoadCliRules(const std::filesystem::path& statsPath, std::ostream& err);

}  // namespace kestrin
