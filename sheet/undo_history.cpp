#include "undo_history.h"

#include <cassert>
#include <string_view>
#include <tuple>
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

std::size_t LengthBytes(std::size_t length) {
    std::size_t bytes = 1;
    for (; length >= 0x80; length >>= 7) ++bytes;
    return bytes;
}

// Seven bits a byte, the lowest first; the top bit says that more follow.
void AppendLength(std::string& to, std::size_t length) {
    for (; length >= 0x80; length >>= 7) to += static_cast<char>(0x80 | (length & 0x7F));
    to += static_cast<char>(length);
}

std::size_t ReadLength(std::string_view& from) {
    std::size_t length = 0;
    for (int shift = 0; !from.empty(); shift += 7) {
        const auto byte = static_cast<unsigned char>(from.front());
        from.remove_prefix(1);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
    }
    return length;
}

// Most input cells of a battle are empty: only the others are kept.
std::string PackInputs(const TickInputs& inputs) {
    static_assert(std::tuple_size_v<TickInputs> <= 256, "an input's index fits in a byte");
    std::size_t size = 0;
    for (const std::string& text : inputs) size += text.empty() ? 0 : 1 + LengthBytes(text.size()) + text.size();
    std::string packed;
    packed.reserve(size);
    for (std::size_t index = 0; index < inputs.size(); ++index) {
        if (inputs[index].empty()) continue;
        packed += static_cast<char>(index);
        AppendLength(packed, inputs[index].size());
        packed += inputs[index];
    }
    return packed;
}

}  // namespace

TickHistoryEntry::TickHistoryEntry(TickHistoryChain earlierEntries, const TickInputs& inputs)
    : earlier(std::move(earlierEntries)), packed(PackInputs(inputs)), tick(Length(earlier) + 1) {
    // The shared pointer's control block lives in the same allocation as the entry.
    bytes = sizeof(TickHistoryEntry) + 2 * sizeof(void*) + HeapBytes(packed);
}

TickInputs TickHistoryEntry::Inputs() const {
    TickInputs inputs;
    std::string_view rest = packed;
    while (!rest.empty()) {
        const auto index = static_cast<unsigned char>(rest.front());
        rest.remove_prefix(1);
        const std::size_t length = ReadLength(rest);
        inputs[index].assign(rest.substr(0, length));
        rest.remove_prefix(length);
    }
    return inputs;
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
