// Any sequence of the battle document's commands, undos and redos against a simple model of
// what undo promises: each command that changed the battle is one step, at most the last hundred are kept, a new change
// ends redo, and undo and redo bring back exactly the battle (inputs, tick, tick history)
// the model holds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/battle_rules.h"
#include "sheet/battle_document.h"
#include "fuzz_bytes.h"

namespace {

using namespace kestrin;
using namespace kestrin::sheet;

using Bytes = kestrin::fuzz::Bytes;

// The battle as undo keeps it. The history is told by its length and last entry: copying
// all of it after every operation would make long runs slow.
struct Battle {
    TickInputs inputs;
    int tick = 1;
    std::size_t historyLength = 0;
    TickInputs lastEntry;
    friend bool operator==(const Battle&, const Battle&) = default;
};

Battle Of(const BattleSheet& sheet) {
    Battle battle;
    for (int row = 0; row < kRows; ++row) {
        battle.inputs[row] = sheet.Cell(kDefShips, row);
        battle.inputs[kRows + row] = sheet.Cell(kAttShips, row);
    }
    battle.tick = sheet.CurrentTick();
    const std::vector<TickInputs> history = sheet.TickHistory();
    battle.historyLength = history.size();
    if (!history.empty()) battle.lastEntry = history.back();
    return battle;
}

// A count in the form a recalculation leaves it, so that the recalculation after an undo
// does not change what undo brought back.
std::int64_t Count(Bytes& bytes) { return bytes.Next() % 4 == 0 ? 0 : 1 + bytes.Next() * 37 % 5000; }

int UnitRowOf(Bytes& bytes) { return kFirstUnitRow + bytes.Next() % (kLastUnitRow - kFirstUnitRow + 1); }

class Model {
public:
    void Changed(const Battle& before, const Battle& after) {
        if (before == after) return;
        undo_.push_back(before);
        if (undo_.size() > UndoHistory::kSteps) undo_.erase(undo_.begin());
        redo_.clear();
    }
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    Battle Undo(const Battle& current) { return Swap(undo_, redo_, current); }
    Battle Redo(const Battle& current) { return Swap(redo_, undo_, current); }

private:
    static Battle Swap(std::vector<Battle>& from, std::vector<Battle>& to, const Battle& current) {
        to.push_back(current);
        Battle back = from.back();
        from.pop_back();
        return back;
    }
    std::vector<Battle> undo_;
    std::vector<Battle> redo_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    Bytes bytes{data, size};
    SimulationContext context;
    BattleDocument document(rules, context);
    const BattleSheet& sheet = document.Sheet();
    Model model;
    for (int operations = 0; bytes.size > 0 && operations < 400; ++operations) {
        const std::uint8_t operation = bytes.Next() % 8;
        const Battle before = Of(sheet);
        if (operation == 6 || operation == 7) {
            if (document.CanUndo() != model.CanUndo() || document.CanRedo() != model.CanRedo()) std::abort();
            const bool undo = operation == 6;
            if (undo ? !model.CanUndo() : !model.CanRedo()) continue;
            const Battle expected = undo ? model.Undo(before) : model.Redo(before);
            undo ? document.Undo() : document.Redo();
            if (!(Of(sheet) == expected)) std::abort();
            continue;
        }
        switch (operation) {
            case 0: {  // a typed count
                const int col = bytes.Next() % 2 == 0 ? kDefShips : kAttShips;
                document.EndEdit(col, UnitRowOf(bytes), CountText(Count(bytes)));
                break;
            }
            case 1: {  // a fleet used: one step however many cells it touches
                std::vector<std::pair<int, std::int64_t>> fleet;
                for (int cells = 1 + bytes.Next() % 3; cells > 0; --cells) fleet.emplace_back(UnitRowOf(bytes), Count(bytes));
                document.UseFleet(fleet);
                break;
            }
            case 2: document.StepForward(); break;
            case 3: document.StepBack(); break;
            case 4: bytes.Next() % 2 == 0 ? document.ClearDefender() : document.ClearAttacker(); break;
            default: document.ClearAll(); break;
        }
        model.Changed(before, Of(sheet));
        if (document.CanUndo() != model.CanUndo() || document.CanRedo() != model.CanRedo()) std::abort();
    }
    return 0;
}
