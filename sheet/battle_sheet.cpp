#include "battle_sheet.h"

#include <cassert>
#include <utility>

#include "engine/battle_simulation.h"
#include "sheet/result_rows.h"
#include "sheet/row_captions.h"

namespace kestrin {

namespace {

using namespace sheet;

constexpr std::array<const char*, kColumns> kHeadings = {
    "Defending Forces", "Ships", "Held", "Lost", "Stole", "Left",
    "Attacking Forces", "Ships", "Held", "Lost", "Stole", "Left"};

// Sets LogEnabled (and the log sink) for exactly one simulation run and clears it again,
// also when the run throws.
class LogRunScope {
public:
    LogRunScope(SimulationContext& context, bool logEnabled, BattleLogSink* sink)
        : context_(context), previousSink_(context.LogSink) {
        context_.LogEnabled = logEnabled;
        if (logEnabled && sink != nullptr) context_.LogSink = sink;
    }
    ~LogRunScope() {
        context_.LogEnabled = false;
        context_.LogSink = previousSink_;
    }
    LogRunScope(const LogRunScope&) = delete;
    LogRunScope& operator=(const LogRunScope&) = delete;

private:
    SimulationContext& context_;
    BattleLogSink* previousSink_;
};

}  // namespace

BattleSheet::BattleSheet(const BattleRules& rules, SimulationContext& context, NumberLocale locale)
    : rules_(rules), context_(context), locale_(std::move(locale)), costs_(FleetCosts::From(rules.catalogue)) {
    SetupSheet();
}

void BattleSheet::SetupSheet() {
    ++setupCount_;
    for (int col = 0; col < kColumns; ++col) cells_.Set(col, kHeadingRow, kHeadings[col]);
    for (int row = kFirstUnitRow; row < kRows; ++row) {
        cells_.Set(kDefCaption, row, RowCaption(rules_.catalogue, Side::Defender, row));
        cells_.Set(kAttCaption, row, RowCaption(rules_.catalogue, Side::Attacker, row));
    }
}

void BattleSheet::Simulate(bool logEnabled) {
    ++recalculations_;
    BattleState state;
    ReadSheetInputs(cells_, state);
    state.AttackerFleetValue = FleetValue(state.Ships[Idx(Side::Attacker)], costs_).value;
    reportView_ = false;
    state.PrepareTick();
    {
        LogRunScope scope(context_, logEnabled, logWindow_ != nullptr ? &logWindow_->LogSink() : nullptr);
        SimulateTick(state, rules_, context_);
    }
    SetUpdateLogEnabled(true);
    AddStolenToLeft(state);
    WriteResultRows(cells_, state, costs_);
    ShowResults(cells_, state.RoidsCaptured, locale_, results_);
}

void BattleSheet::Recalculate() {
    if (logWindow_ != nullptr && logWindow_->LogsEveryRecalculation()) return UpdateCalcLog();
    Simulate(false);
}

void BattleSheet::UpdateCalcLog() {
    Simulate(true);
    SetUpdateLogEnabled(false);
}

void BattleSheet::RecalculateFollowingLog() {
    if (LogWindowVisible()) return UpdateCalcLog();
    Recalculate();
}

void BattleSheet::StepForward() {
    // The inputs as they stand, before a parsed report is recalculated away.
    TickInputs inputs;
    SaveInputs(inputs);
    // A parsed report is on the sheet: carry computed survivors, not the report's figures.
    if (reportView_) Recalculate();
    // After a step back the history still ends with this tick's entry: the new one replaces it.
    TickHistoryChain earlier = history_ && history_->tick == static_cast<std::size_t>(currentTick_)
                                   ? history_->earlier
                                   : history_;
    history_ = std::make_shared<const TickHistoryEntry>(std::move(earlier), inputs);
    ++currentTick_;
    ShowTick();
    BattleState carried = ReadTickLeft(cells_);
    CarryToNextTick(carried);
    WriteCarriedInputs(cells_, carried);
    RecalculateFollowingLog();
}

void BattleSheet::StepBack() {
    if (currentTick_ <= 1) return;
    --currentTick_;
    // The history keeps the entry of the tick stepped back to, until a step forward replaces it.
    if (history_->tick > static_cast<std::size_t>(currentTick_)) history_ = history_->earlier;
    assert(history_ && history_->tick == static_cast<std::size_t>(currentTick_));
    RestoreInputs(history_->Inputs());
    ShowTick();
    RecalculateFollowingLog();
}

void BattleSheet::StartAtFirstTick() {
    currentTick_ = 1;
    history_.reset();
    ShowTick();
}

void BattleSheet::ClearGrid() {
    cells_.ClearAll();
    if (logWindow_ != nullptr) logWindow_->ClearLog();
    SetUpdateLogEnabled(false);
    SetupSheet();
    currentTick_ = 1;
    ShowTick();
    history_.reset();
}

void BattleSheet::ClearDef() {
    for (int row = 1; row < kRows; ++row) cells_.Clear(kDefShips, row);
    Recalculate();
}

void BattleSheet::ClearAtt() {
    for (int row = 1; row < kRows; ++row) cells_.Clear(kAttShips, row);
    Recalculate();
}

void BattleSheet::BeginChange(Step step) {
    if (openChanges_ == 0) changeStep_ = step;
    if (openChanges_ == 0 && keepUndo_) changeStart_ = Snapshot();
    ++openChanges_;
}

void BattleSheet::EndChange() noexcept {
    // Undo closes every open change at once; the callers' own closings come after it.
    if (openChanges_ == 0 || --openChanges_ > 0) return;
    if (!changeStart_) return;
    // A change that changed nothing (a clear of an empty side, an edit cancelled) is no step.
    const SheetSnapshot& start = *changeStart_;
    bool same = start.tick == currentTick_ && start.reportView == reportView_ && start.history == history_;
    for (int row = 0; same && row < kRows; ++row) {
        same = start.cells.At(kDefShips, row) == cells_.At(kDefShips, row) &&
               start.cells.At(kAttShips, row) == cells_.At(kAttShips, row);
    }
    if (same) {
        changeStart_.reset();
    } else {
        undo_.Push(std::move(changeStart_), history_, changeStep_);
        battleId_ = ++lastBattleId_;
    }
}

void BattleSheet::AbandonChange() noexcept {
    if (openChanges_ == 0 || --openChanges_ > 0) return;
    if (changeStart_) PutBack(*changeStart_);
    changeStart_.reset();
}

void BattleSheet::CloseOpenChanges() noexcept {
    if (openChanges_ == 0) return;
    openChanges_ = 1;
    EndChange();
}

void BattleSheet::Undo() {
    CloseOpenChanges();
    if (undo_.CanUndo()) Restore(undo_.Undo(Snapshot()));
}

void BattleSheet::Redo() {
    CloseOpenChanges();
    if (undo_.CanRedo()) Restore(undo_.Redo(Snapshot()));
}

std::vector<TickInputs> BattleSheet::TickHistory() const {
    if (!history_) return {};
    std::vector<TickInputs> entries(history_->tick + 1);
    for (const TickHistoryEntry* entry = history_.get(); entry != nullptr; entry = entry->earlier.get()) {
        entries[entry->tick] = entry->Inputs();
    }
    return entries;
}

std::unique_ptr<SheetSnapshot> BattleSheet::Snapshot() const {
    return std::make_unique<SheetSnapshot>(SheetSnapshot{cells_, currentTick_, reportView_, results_, history_, battleId_});
}

// Moves only: bringing a battle back cannot run out of memory.
void BattleSheet::PutBack(SheetSnapshot& snapshot) noexcept {
    cells_ = std::move(snapshot.cells);
    currentTick_ = snapshot.tick;
    reportView_ = snapshot.reportView;
    results_ = std::move(snapshot.results);
    history_ = std::move(snapshot.history);
    battleId_ = snapshot.id;
}

void BattleSheet::Restore(std::unique_ptr<SheetSnapshot> snapshot) {
    PutBack(*snapshot);
    snapshot.reset();
    // A parsed combat report comes back with its own figures, which a recalculation would
    // replace with computed ones; the log no longer matches it either way.
    if (reportView_) return SetUpdateLogEnabled(true);
    RecalculateFollowingLog();
}

void BattleSheet::SetUpdateLogEnabled(bool enabled) {
    if (logWindow_ != nullptr) logWindow_->SetUpdateLogEnabled(enabled);
}

void BattleSheet::SaveInputs(TickInputs& inputs) const {
    for (int row = 0; row < kRows; ++row) {
        inputs[row] = cells_.At(kDefShips, row);
        inputs[kRows + row] = cells_.At(kAttShips, row);
    }
}

void BattleSheet::RestoreInputs(const TickInputs& inputs) {
    for (int row = 0; row < kRows; ++row) {
        cells_.Set(kDefShips, row, inputs[row]);
        cells_.Set(kAttShips, row, inputs[kRows + row]);
    }
}

}  // namespace kestrin
