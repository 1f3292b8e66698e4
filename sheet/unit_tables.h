#pragma once

#include <string>
#include <vector>

#include "engine/battle_rules.h"

namespace kestrin {

/// Rows and columns of the unit tables: one heading plus one per unit type.
inline constexpr int kUnitTablesSize = kShipCount + 1;

/// The unit tables window's 55 x 55 texts, [row][column]. Row 0 and column 0 hold the unit
/// names (cell (0,0) empty); the cell of column a + 1 and row t + 1 shows how much of t's
/// cost one unit of a removes per firing, in percent of a's own cost, or is empty when a
/// cannot fire on t. `decimalSeparator` is the locale's.
std::vector<std::vector<std::string>> UnitTablesTexts(const BattleRules& rules,
                                                      char decimalSeparator = '.');

/// The text of one pair of firing type `firer` and target type `target`.
std::string UnitTablesCell(const BattleRules& rules, ShipIndex firer, ShipIndex target,
                           char decimalSeparator = '.');

/// The unit tables' cell (col, row) in words with the whole names its headings cut short:
/// "Phoenix firing on Harpy: 12.3% of the Phoenix's cost per firing", a heading's name alone,
/// or "Phoenix cannot fire on Harpy"; empty outside the table and for the corner.
std::string UnitTablesReadout(const BattleRules& rules, int col, int row, char decimalSeparator = '.');

}  // namespace kestrin
