// The battle document's edits: each command's change, written once for every face.
#include "battle_document.h"

#include <algorithm>
#include <limits>

#include "engine/saturating.h"
#include "sheet/cell_clipboard.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

// What a count below zero comes to, once the sheet has dealt with it.
std::string NegativeCountNotice(std::string_view typed, int row, bool emptied) {
    const std::string quoted = "'" + std::string(typed) + "' is below zero";
    if (emptied) return quoted + ": the cell was emptied (Ctrl+Z brings it back)";
    if (row >= sheet::kFirstUnitRow && row <= sheet::kLastUnitRow)
        return quoted + ": it stays as typed and fights as no ships";
    return quoted + ": it stays as typed and counts as none";
}

// Whether a Delete over `range` reaches an input cell: one that reaches none changes nothing
// and recalculates nothing (a combat report shown stays).
bool ReachesInput(const BattleSheet& sheet, const CellRange& range) {
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        for (int col = range.firstCol; col <= range.lastCol; ++col)
            if (sheet::IsInputCell(col, row) && sheet.RowVisible(row)) return true;
    return false;
}

}  // namespace

std::string BattleDocument::EndEdit(int col, int row, std::string_view typed) {
    if (applying_) return {};
    const bool wide = row == sheet::kScoreRow;
    const TypedNumber reading = ReadTypedNumber(typed, sheet_.Locale(), wide);
    if (reading.kind != TypedNumberKind::Count) {
        // Text that is no count never replaces what the cell holds.
        std::string notice = TypedNumberNotice(typed, sheet_.Locale(), wide, sheet_.Cell(col, row));
        Tell({notice, col, row, {}});
        return notice;
    }
    const std::uint64_t before = sheet_.BattleId();
    if (reading.text != sheet_.Cell(col, row)) {
        Run(Step::Typing, [&](BattleSheet& s) { s.SetCell(col, row, reading.text); });
    }
    const bool entered = sheet_.BattleId() != before;
    const bool emptied = sheet_.Cell(col, row).empty();
    std::string notice;
    if (reading.value < 0 && entered) notice = NegativeCountNotice(typed, row, emptied);
    if (!notice.empty()) Tell({notice, col, row, {}});
    return notice;
}

bool BattleDocument::Delete(const CellRange& range) {
    if (!ReachesInput(sheet_, range)) return false;
    Run(Step::Delete, [&](BattleSheet& s) {
        for (int row = range.firstRow; row <= range.lastRow; ++row)
            for (int col = range.firstCol; col <= range.lastCol; ++col)
                if (sheet::IsInputCell(col, row) && s.RowVisible(row)) s.SetCell(col, row, "");
    });
    return true;
}

std::string BattleDocument::Paste(int col, int row, std::string_view text) {
    if (applying_) return {};
    FinishOpenEdit();
    // Nothing goes in rather than a value dropped on the way.
    std::string refused = RefusedPaste(sheet_, col, row, text);
    if (!refused.empty()) {
        Tell({refused, col, row, {}});
        return refused;
    }
    Run(Step::Paste, [&](BattleSheet& s) { PasteCellsText(s, col, row, text); });
    return {};
}

void BattleDocument::StepForward() {
    Run(Step::TickStep, [](BattleSheet& s) { s.StepForward(); });
}

void BattleDocument::StepBack() {
    Run(Step::TickBack, [](BattleSheet& s) { s.StepBack(); });
}

void BattleDocument::ClearAll() {
    Run(Step::ClearAll, [](BattleSheet& s) { s.ClearGrid(); });
}

void BattleDocument::ClearDefender() {
    Run(Step::ClearDefender, [](BattleSheet& s) { s.ClearDef(); });
}

void BattleDocument::ClearAttacker() {
    Run(Step::ClearAttacker, [](BattleSheet& s) { s.ClearAtt(); });
}

void BattleDocument::UseValue(Side side, int row, std::int64_t count) {
    if (!sheet::IsInputCell(sheet::ShipsColumn(side), row)) return;
    Run(Step::UseThisValue, [&](BattleSheet& s) { s.SetInput(side, row, CountText(count)); });
}

void BattleDocument::UseFleet(const std::vector<std::pair<int, std::int64_t>>& attackerCounts) {
    Run(Step::UseThisFleet, [&](BattleSheet& s) {
        for (const auto& [row, count] : attackerCounts)
            if (sheet::IsInputCell(sheet::kAttShips, row)) s.SetInput(Side::Attacker, row, CountText(count));
    });
}

void BattleDocument::ApplyReport(const ReportFigures& figures) {
    Run(ReportStep(figures.kind), [&](BattleSheet& s) { s.AddReport(figures); });
}

void BattleDocument::BeginSpin(int col, int row, HeldChange& owner) {
    BeginHold(Step::Spin, owner);
    spinCol_ = col;
    spinRow_ = row;
}

void BattleDocument::Spin(int delta) {
    if (heldStep_ != Step::Spin) return;
    HeldUpdate([&](BattleSheet& s) {
        const int col = spinCol_;
        const int row = spinRow_;
        if (delta != 0 && sheet::IsInputCell(col, row)) {
            // The planet score is a 64-bit figure; every other input is a 32-bit count. Either
            // stops at the top of its range instead of wrapping into a wrong or unreadable figure.
            const bool score = row == sheet::kScoreRow;
            const std::int64_t value = score ? s.Cells().Int64(col, row) : s.Cells().Count(col, row);
            const std::int64_t maximum = score ? std::numeric_limits<std::int64_t>::max()
                                               : std::numeric_limits<std::int32_t>::max();
            const std::int64_t result = std::min(SaturatingAdd(value, delta), maximum);
            s.SetCell(col, row, CountText(std::max<std::int64_t>(result, 0)));
        }
        s.Recalculate();
    });
}

void BattleDocument::BeginDebugRun(HeldChange& owner, std::uint64_t seed) {
    BeginHold(Step::DebugRun, owner);
    if (holder_ == &owner) generators_.emplace(sheet_.Rules(), sheet_, seed);
}

void BattleDocument::WriteRandomBattle() {
    if (generators_ && !applying_) generators_->WriteRandomBattle();
}

std::optional<BattleGenerators::ShipPass> BattleDocument::BeginShipPass(std::optional<int> step) {
    if (!generators_ || applying_) return std::nullopt;
    return generators_->BeginShipPass(step);
}

void BattleDocument::WriteShipBattle(const BattleGenerators::ShipPass& pass) {
    if (generators_ && !applying_) generators_->WriteShipBattle(pass);
}

std::string BattleDocument::WhyNoShipBattle(std::optional<int> step) const {
    return generators_ ? generators_->WhyNoShipBattle(step) : std::string();
}

}  // namespace kestrin
