#include "undo_history.h"

#include <cassert>
#include <utility>

namespace kestrin {

bool SheetSnapshot::SameBattle(const SheetSnapshot& other) const {
    if (tick != other.tick || reportView != other.reportView || historyVersion != other.historyVersion) {
        return false;
    }
    for (int row = 0; row < sheet::kRows; ++row) {
        if (cells.At(sheet::kDefShips, row) != other.cells.At(sheet::kDefShips, row)) return false;
        if (cells.At(sheet::kAttShips, row) != other.cells.At(sheet::kAttShips, row)) return false;
    }
    return true;
}

void UndoHistory::Push(SheetSnapshot before) {
    undo_.push_back(std::move(before));
    if (undo_.size() > kSteps) undo_.pop_front();
    redo_.clear();
}

SheetSnapshot UndoHistory::Undo(SheetSnapshot current) {
    assert(CanUndo());
    return Swap(undo_, redo_, std::move(current));
}

SheetSnapshot UndoHistory::Redo(SheetSnapshot current) {
    assert(CanRedo());
    return Swap(redo_, undo_, std::move(current));
}

// The last battle of `from` comes back; `current` goes onto `to`, to return to the other way.
SheetSnapshot UndoHistory::Swap(std::deque<SheetSnapshot>& from, std::deque<SheetSnapshot>& to,
                                SheetSnapshot current) {
    to.push_back(std::move(current));
    SheetSnapshot back = std::move(from.back());
    from.pop_back();
    return back;
}

}  // namespace kestrin
