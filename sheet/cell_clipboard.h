#pragma once

#include <string>
#include <string_view>

#include "sheet/battle_sheet.h"
#include "sheet/cell_range.h"

namespace kestrin {

/// The copy of `range` as tab-separated text, ready for a spreadsheet or a chat: one line per
/// shown row (hidden rows are left out, as they are from sight), non-zero integers in full
/// with thousands separators (never shortened, never in parentheses), other texts as they
/// stand. Lines are separated by '\n', with none after the last.
std::string CopyCellsText(const BattleSheet& battleSheet, const CellRange& range);

/// Why a paste of `text` at (col, row) must not go in, or empty: no field lands on an input
/// cell (the message says where to paste), or one that does is no count the cell can hold
/// (the message names it).
std::string RefusedPaste(const BattleSheet& battleSheet, int col, int row, std::string_view text);

/// Pastes tab-separated text from (col, row) on: each line into the next shown row from `row`
/// down, each field into the next column to the right. A field landing on a cell that takes
/// no input, or off the sheet, is skipped; the others go in through NormaliseTypedNumber (an
/// empty field empties its cell); then recalculates.
void PasteCellsText(BattleSheet& battleSheet, int col, int row, std::string_view text);

}  // namespace kestrin
