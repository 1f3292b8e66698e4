#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/sheet_cells.h"

namespace kestrin {

/// A line of an opened battle file that the sheet does not take as the count it seems to
/// be, and what became of it. The file's own reading stands (text that is no count counts
/// as 0, a negative count fights as no ships); this only tells it.
struct BattleFileProblem {
    int line = 0;        ///< the file's line, from 1
    std::string text;    ///< the line as the file holds it
    std::string place;   ///< the cell it fills: "defender's Harpy"
    std::string became;  ///< what the sheet made of it: "is not a count: it counts as 0 ..."
};

/// The problems of a battle file's lines, given as the input cells they were read into
/// (`read`; any byte-order mark already taken off), judged against the input cells after the
/// opening's recalculation (`recalculated`). The totals rows are stored but never read, so
/// their lines are not judged.
std::vector<BattleFileProblem> FindBattleFileProblems(const SheetCells& read, const SheetCells& recalculated);

/// One line for the player: "line 3 (defender's Harpy): '9,000' is not a count: it counts
/// as 0 and the cell was emptied".
std::string BattleFileProblemText(const BattleFileProblem& problem);

}  // namespace kestrin
