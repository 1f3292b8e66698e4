#pragma once

#include <filesystem>
#include <iosfwd>

#include "cli_output.h"
#include "engine/battle_rules.h"

namespace kestrin {

/// The tables object: battle constant, initiative order, target classes, kill rates and the
/// unit tables' texts.
Json TablesJson(const BattleRules& rules);

/// `kestrin-cli tables`: prints the tables of the statistics file at `statsPath`.
int RunTables(const std::filesystem::path& statsPath, std::ostream& out, std::ostream& err);

}  // namespace kestrin
