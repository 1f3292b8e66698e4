#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sheet/results.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// Columns 1 and 7 of rows 0..65 as text, column 1 first: one tick's inputs (132 texts).
using TickInputs = std::array<std::string, 2 * sheet::kRows>;

/// The battle as a player left it: what Undo and Redo bring back. All cells are kept, so
/// that a parsed combat report returns with its own figures.
struct SheetSnapshot {
    SheetCells cells;
    int tick = 1;
    bool reportView = false;
    ResultsPanel results;
    /// The tick history, shared between snapshots taken while it did not change.
    std::shared_ptr<const std::vector<TickInputs>> history;
    /// Tells tick histories apart without comparing them: a new number for every change.
    std::uint64_t historyVersion = 0;

    /// Whether `other` holds the same battle: inputs, tick, history and report view. The
    /// computed cells follow from these.
    bool SameBattle(const SheetSnapshot& other) const;
};

/// The undo and redo stacks of one battle, the oldest steps dropped beyond kSteps.
class UndoHistory {
public:
    /// How many changes can be undone.
    static constexpr std::size_t kSteps = 100;

    /// A new change, `before` being the battle it started from; nothing is left to redo.
    void Push(SheetSnapshot before);
    /// Whether there is a change to undo.
    bool CanUndo() const { return !undo_.empty(); }
    /// Whether there is an undone change to redo.
    bool CanRedo() const { return !redo_.empty(); }
    /// The battle before the last change; `current` becomes the first to redo.
    SheetSnapshot Undo(SheetSnapshot current);
    /// The battle after the last undone change; `current` becomes the last to undo.
    SheetSnapshot Redo(SheetSnapshot current);

private:
    static SheetSnapshot Swap(std::deque<SheetSnapshot>& from, std::deque<SheetSnapshot>& to, SheetSnapshot current);

    std::deque<SheetSnapshot> undo_;
    std::deque<SheetSnapshot> redo_;
};

}  // namespace kestrin
