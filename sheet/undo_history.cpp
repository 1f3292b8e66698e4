#include "undo_history.h"

#include <cassert>
#include <utility>

namespace kestrin {

namespace {

// The heap memory of a text; a short one lives inside the string itself.
std::size_t HeapBytes(const std::string& text) {
    const char* data = text.data();
    const auto* self = reinterpret_cast<const char*>(&text);
    return data >= self && data < self + sizeof text ? 0 : text.capacity() + 1;
}

std::size_t CellBytes(const SheetCells& cells) {
    std::size_t bytes = 0;
    for (int col = 0; col < sheet::kColumns; ++col) {
        for (int row = 0; row < sheet::kRows; ++row) bytes += HeapBytes(cells.At(col, row));
    }
    return bytes;
}

std::size_t PanelBytes(const ResultsPanel& p) {
    std::size_t bytes = 0;
    for (const std::string* text : {&p.DLoss, &p.ALoss, &p.UR, &p.MR, &p.CR, &p.ER, &p.TR, &p.TIR,
                                    &p.ALossPerRoid, &p.MSalvage, &p.CSalvage, &p.ESalvage,
                                    &p.DefLossGainLbl, &p.AttLossGainLbl, &p.RoidLossGainLbl,
                                    &p.TickIndicator, &p.ALossPerRoidFull, &p.MSalvageFull,
                                    &p.CSalvageFull, &p.ESalvageFull}) {
        bytes += HeapBytes(*text);
    }
    return bytes;
}

std::size_t Length(const TickHistoryChain& chain) { return chain ? chain->tick : 0; }

}  // namespace

TickHistoryEntry::TickHistoryEntry(TickHistoryChain earlierEntries, TickInputs tickInputs)
    : earlier(std::move(earlierEntries)),
      inputs(std::move(tickInputs)),
      tick(Length(earlier) + 1),
      bytes(sizeof(TickHistoryEntry)) {
    for (const std::string& text : inputs) bytes += HeapBytes(text);
}

TickHistoryEntry::~TickHistoryEntry() {
    TickHistoryChain next = std::move(earlier);
    // An entry nothing else holds is released here with its link cut, so it frees no further.
    while (next && next.use_count() == 1) next = std::move(next->earlier);
}

bool SheetSnapshot::SameBattle(const SheetSnapshot& other) const {
    if (tick != other.tick || reportView != other.reportView || history != other.history) return false;
    for (int row = 0; row < sheet::kRows; ++row) {
        if (cells.At(sheet::kDefShips, row) != other.cells.At(sheet::kDefShips, row)) return false;
        if (cells.At(sheet::kAttShips, row) != other.cells.At(sheet::kAttShips, row)) return false;
    }
    return true;
}

std::size_t SnapshotBytes(const SheetSnapshot& snapshot, const TickHistoryChain& beside) {
    std::size_t bytes = sizeof(SheetSnapshot) + CellBytes(snapshot.cells) + PanelBytes(snapshot.results);
    // Both chains walk back to the entries they share; what lies before is counted once.
    const TickHistoryEntry* own = snapshot.history.get();
    const TickHistoryEntry* other = beside.get();
    while (own != nullptr && own != other) {
        if (other != nullptr && other->tick > own->tick) {
            other = other->earlier.get();
            continue;
        }
        bytes += own->bytes;
        own = own->earlier.get();
    }
    return bytes;
}

UndoHistory::UndoHistory() {
    undo_.reserve(kSteps + 1);
    redo_.reserve(kSteps + 1);
}

void UndoHistory::Push(std::unique_ptr<SheetSnapshot> before, const TickHistoryChain& now, Step step) noexcept {
    const std::size_t bytes = SnapshotBytes(*before, now);
    undo_.push_back({std::move(before), bytes, step});
    bytes_ += bytes;
    for (const Entry& entry : redo_) bytes_ -= entry.bytes;
    redo_.clear();
    DropOldest();
}

std::unique_ptr<SheetSnapshot> UndoHistory::Undo(std::unique_ptr<SheetSnapshot> current) noexcept {
    assert(CanUndo());
    return Swap(undo_, redo_, std::move(current));
}

std::unique_ptr<SheetSnapshot> UndoHistory::Redo(std::unique_ptr<SheetSnapshot> current) noexcept {
    assert(CanRedo());
    return Swap(redo_, undo_, std::move(current));
}

// The last battle of `from` comes back; `current` goes onto `to`, to return to the other way.
std::unique_ptr<SheetSnapshot> UndoHistory::Swap(std::vector<Entry>& from, std::vector<Entry>& to,
                                                 std::unique_ptr<SheetSnapshot> current) noexcept {
    Entry back = std::move(from.back());
    from.pop_back();
    const std::size_t bytes = SnapshotBytes(*current, back.battle->history);
    assert(to.size() < to.capacity());
    // The change keeps its name whichever way it is taken.
    to.push_back({std::move(current), bytes, back.step});
    bytes_ = bytes_ - back.bytes + bytes;
    DropOldest();
    return std::move(back.battle);
}

void UndoHistory::DropOldest() noexcept {
    std::size_t drop = 0;
    std::size_t bytes = bytes_;
    while (undo_.size() - drop > kSteps || (bytes > kBytes && undo_.size() - drop > 1)) {
        bytes -= undo_[drop].bytes;
        ++drop;
    }
    if (drop == 0) return;
    undo_.erase(undo_.begin(), undo_.begin() + static_cast<std::ptrdiff_t>(drop));
    bytes_ = bytes;
}

}  // namespace kestrin
