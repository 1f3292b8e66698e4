#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "sheet/results.h"
#include "sheet/sheet_cells.h"
#include "sheet/undo_step.h"

namespace kestrin {

/// Columns 1 and 7 of rows 0..65 as text, column 1 first: one tick's inputs (132 texts).
using TickInputs = std::array<std::string, 2 * sheet::kRows>;

struct TickHistoryEntry;
/// A tick history: its last entry, which leads to the ones before it; null when empty.
/// Entries never change once made, so the sheet and every undo step share them: a tick step
/// adds one entry instead of copying the history.
using TickHistoryChain = std::shared_ptr<const TickHistoryEntry>;

/// One entry of a tick history: the inputs as they stood when stepping forward from `tick`.
struct TickHistoryEntry {
    TickHistoryEntry(TickHistoryChain earlier, TickInputs inputs);
    /// Releases a long chain in a loop: a release entry by entry would recurse as deep as
    /// the history is long.
    ~TickHistoryEntry();
    TickHistoryEntry(const TickHistoryEntry&) = delete;
    TickHistoryEntry& operator=(const TickHistoryEntry&) = delete;

    mutable TickHistoryChain earlier;  // mutable only for the release loop
    TickInputs inputs;
    std::size_t tick;   ///< 1 for the first entry
    std::size_t bytes;  ///< the memory this entry holds
};

/// The battle as a player left it: what Undo and Redo bring back. All cells are kept, so
/// that a parsed combat report returns with its own figures.
struct SheetSnapshot {
    SheetCells cells;
    int tick = 1;
    bool reportView = false;
    ResultsPanel results;
    TickHistoryChain history;
    /// Which battle this is as the undo history knows it: every recorded change gives the
    /// battle after it a new number, and undo and redo bring the number back with the battle.
    std::uint64_t id = 0;

    /// Whether `other` holds the same battle: inputs, tick, history and report view. The
    /// computed cells follow from these.
    bool SameBattle(const SheetSnapshot& other) const;
};

/// About how much memory `snapshot` holds that `beside` (the tick history next to it) does
/// not: its cells, its panel and the history entries it alone leads to.
std::size_t SnapshotBytes(const SheetSnapshot& snapshot, const TickHistoryChain& beside);

/// The undo and redo stacks of one battle, the oldest steps dropped beyond kSteps or when
/// together they hold more than kBytes (the last change can always be undone). Recording and
/// moving steps allocates nothing, so it cannot fail: the snapshots are made beforehand.
class UndoHistory {
public:
    /// How many changes can be undone.
    static constexpr std::size_t kSteps = 100;
    /// How much memory the steps may hold together: four steps of the largest battle file.
    static constexpr std::size_t kBytes = std::size_t{64} << 20;

    UndoHistory();

    /// A new change, `before` being the battle it started from and `now` the tick history
    /// after it; nothing is left to redo.
    /// `step` says what the change was, for the menu.
    void Push(std::unique_ptr<SheetSnapshot> before, const TickHistoryChain& now, Step step) noexcept;
    /// Whether there is a change to undo.
    bool CanUndo() const { return !undo_.empty(); }
    /// Whether there is an undone change to redo.
    bool CanRedo() const { return !redo_.empty(); }
    /// The name of the change Undo would take back, or null.
    const char* UndoName() const { return undo_.empty() ? nullptr : StepName(undo_.back().step); }
    /// The name of the change Redo would make again, or null.
    const char* RedoName() const { return redo_.empty() ? nullptr : StepName(redo_.back().step); }
    /// The change Undo would take back.
    std::optional<Step> UndoStep() const { return undo_.empty() ? std::nullopt : std::optional(undo_.back().step); }
    /// The change Redo would make again.
    std::optional<Step> RedoStep() const { return redo_.empty() ? std::nullopt : std::optional(redo_.back().step); }
    /// The battle before the last change; `current` becomes the first to redo.
    std::unique_ptr<SheetSnapshot> Undo(std::unique_ptr<SheetSnapshot> current) noexcept;
    /// The battle after the last undone change; `current` becomes the last to undo.
    std::unique_ptr<SheetSnapshot> Redo(std::unique_ptr<SheetSnapshot> current) noexcept;
    /// The memory the steps hold, as SnapshotBytes counts it.
    std::size_t Bytes() const { return bytes_; }

private:
    struct Entry {
        std::unique_ptr<SheetSnapshot> battle;
        std::size_t bytes = 0;
        Step step = Step::Typing;  ///< the change between this battle and the one after it
    };
    std::unique_ptr<SheetSnapshot> Swap(std::vector<Entry>& from, std::vector<Entry>& to,
                                        std::unique_ptr<SheetSnapshot> current) noexcept;
    void DropOldest() noexcept;

    // Room for every step is reserved at the start, so a push never allocates.
    std::vector<Entry> undo_;
    std::vector<Entry> redo_;
    std::size_t bytes_ = 0;
};

}  // namespace kestrin
