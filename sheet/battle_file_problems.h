#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/sheet_cells.h"

namespace kestrin {

/// A line of an opened battle file that the sheet does not take as it stands, and what became
/// of it. A count written as a player types one ("9,000", "125k") is read as that count;
/// other text keeps the file's own reading (text that is no count counts as 0, a negative
/// count fights as no ships); this tells either.
struct BattleFileProblem {
    int line = 0;        ///< the file's line, from 1
    std::string text;    ///< the line as the file holds it
    std::string place;   ///< the cell it fills: "defender's Harpy"
    std::string became;  ///< what the sheet made of it: "is not a count: it counts as 0 ..."
};

/// The file's lines as input cells (`written`; any byte-order mark already taken off) with
/// each judged line that is a count as a player types one put in plain digits, as the grid
/// takes a typed count. The totals rows are stored but never read, so they stay as written.
SheetCells CountsAsTyped(const SheetCells& written);

/// The problems of a battle file's lines: `written` as the file holds them, `read` as
/// CountsAsTyped made them, judged against the input cells after the opening's
/// recalculation (`recalculated`). The totals rows' lines are not judged.
std::vector<BattleFileProblem> FindBattleFileProblems(const SheetCells& written, const SheetCells& read,
                                                      const SheetCells& recalculated);

/// One line for the player: "line 3 (defender's Harpy): '9,000' is read as 9000", "line 5
/// (defender's Harpy): '9.0.0' is not a count: it counts as 0 and the cell was emptied".
std::string BattleFileProblemText(const BattleFileProblem& problem);

}  // namespace kestrin
