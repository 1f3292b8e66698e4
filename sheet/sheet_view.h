#pragma once

#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

struct DocumentNotice;

/// One side's part of the sheet as a face lays it out: the column its counts are typed in,
/// the column of its captions and the rows that take input.
struct SideLayout {
    Side side = Side::Defender;
    const char* name = "defender";  ///< "defender" or "attacker", as the faces name a side
    int inputColumn = 0;
    int captionColumn = 0;
    int firstInputRow = 0, lastInputRow = 0;  ///< every row between takes input
};

/// The sheet's shape: what a face needs to lay the grid out without knowing its rules.
struct SheetGridLayout {
    int rows = 0, columns = 0;
    int headingRow = 0;
    std::vector<int> captionColumns;  ///< columns that hold the row captions
    std::vector<int> raceLines;       ///< rows a race line closes
    std::vector<SideLayout> sides;    ///< defender, then attacker
};

/// The sheet's layout (sheet/sheet_layout.h as data).
const SheetGridLayout& GridLayoutOfSheet();

/// An input cell's accessible name: the row's caption, the side and "ships", as in
/// "Harpy attacker ships"; without a caption, "row N attacker ships".
std::string InputLabel(const SheetCells& cells, Side side, int row);

/// A row of a side that takes a count a player sets (a unit type, an asteroid, the Eonium or
/// the score row; not the computed totals), with its caption as the sheet shows it.
struct CountRow {
    int row = 0;
    std::string caption;
};

/// The rows of `side` that take a count, in sheet order.
std::vector<CountRow> CountRows(const SheetCells& cells, Side side);

/// A notice as a face shows it: its text with each of its lines on a line of its own, and
/// the input cell it is about (`side` null for a notice about the battle as a whole); the
/// desktop shows such a notice beside its cell.
struct NoticeView {
    std::string text;
    const SideLayout* side = nullptr;
    int row = -1;
};

/// What a face shows of `notice`.
NoticeView ViewOfNotice(const DocumentNotice& notice);

}  // namespace kestrin
