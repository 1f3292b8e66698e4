#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

// The sheet's input cells by side and row, for code that must not know the sheet's columns
// (the command-line program, the windows other than the grid, the planner). A row is a
// sheet row: a unit type's (UnitRow), an asteroid row, the Eonium or the score row.

/// The text a side's Ships column holds in `row`.
const std::string& InputText(const SheetCells& cells, Side side, int row);

/// A side's Ships cell in `row` read as a count (text that is no count counts as 0).
std::int32_t InputCount(const SheetCells& cells, Side side, int row);

/// Writes `text` into a side's Ships cell in `row`; nothing is recalculated.
void SetInputText(SheetCells& cells, Side side, int row, std::string_view text);

/// The caption of `row` as the side's caption column shows it ("Harpy", "Uninit. Roids",
/// "E Captured"); empty where the side has none (the planetary defences on the attacker's).
const std::string& RowCaption(const SheetCells& cells, Side side, int row);

/// Whether `row` holds a unit type's counts.
bool IsUnitRow(int row);

/// The unit type whose counts `row` holds (IsUnitRow(row)).
ShipIndex UnitAt(int row);

/// Whether `row` is one of the computed totals (rows a recalculation always overwrites).
bool IsTotalsRow(int row);

/// Every input cell's text, both sides, in a fixed order: what "changed since saved" compares.
std::vector<std::string> InputTexts(const SheetCells& cells);

/// The cells row by row, `rows()[row][col]`, as the command-line program prints a tick.
std::vector<std::vector<std::string>> CellRows(const SheetCells& cells);

}  // namespace kestrin
