#include "battle_sheet.h"

#include <cassert>
#include <utility>

#include "engine/battle_simulation.h"
#include "sheet/result_rows.h"

namespace kestrin {

namespace {

using namespace sheet;

constexpr std::array<const char*, kColumns> kHeadings = {
    "Defending Forces", "Ships", "Held", "Lost", "Stole", "Left",
    "Attacking Forces", "Ships", "Held", "Lost", "Stole", "Left"};

// Captions of rows 55..65, defender's then attacker's.
constexpr int kFirstComputedRow = kTotalUnitsRow;
constexpr std::array<const char*, kRows - kFirstComputedRow> kDefCaptions = {
    "Total Units", "Metal Cost", "Crystal Cost", "Eonium Cost", "Fleet Value", "Uninit. Roids",
    "Metal Roids", "Crystal Roids", "Eonium Roids", "Defender E", "Planet Score"};
constexpr std::array<const char*, kRows - kFirstComputedRow> kAttCaptions = {
    "Total Units", "Metal Cost", "Crystal Cost", "Eonium Cost", "Fleet Value", "Uninit. Roids",
    "Metal Roids", "Crystal Roids", "Eonium Roids", "E Captured", "Planet Score"};

// Sets LogEnabled (and the log sink) for exactly one simulation run and clears it again,
// also when the run throws.
class LogRunScope {
public:
    LogRunScope(SimulationContext& context, bool logEnabled, BattleLogSink* sink)
        : context_(context), previousSink_(context.logSink) {
        context_.LogEnabled = logEnabled;
        if (logEnabled && sink != nullptr) context_.logSink = sink;
    }
    ~LogRunScope() {
        context_.LogEnabled = false;
        context_.logSink = previousSink_;
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
    const ShipCatalogue& catalogue = rules_.catalogue;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        cells_.Set(kDefCaption, UnitRow(t), catalogue.Name(t));
        // A planetary defence structure never attacks.
        const bool pds = catalogue.Field(t, ShipField::ShipType) == "PDS";
        cells_.Set(kAttCaption, UnitRow(t), pds ? std::string_view() : std::string_view(catalogue.Name(t)));
    }
    for (int row = kFirstComputedRow; row < kRows; ++row) {
        cells_.Set(kDefCaption, row, kDefCaptions[row - kFirstComputedRow]);
        cells_.Set(kAttCaption, row, kAttCaptions[row - kFirstComputedRow]);
    }
}

std::string BattleSheet::Simulate(bool logEnabled) {
    BattleState state;
    ReadSheetInputs(cells_, state);
    state.AttackerFleetValue = FleetValue(state.Ships[Idx(Side::Attacker)], costs_).value;
    reportView_ = false;
    state.PrepareTick();
    std::string error;
    {
        LogRunScope scope(context_, logEnabled, logWindow_ != nullptr ? &logWindow_->LogSink() : nullptr);
        error = SimulateTick(state, rules_.catalogue, rules_.tables, context_);
    }
    SetUpdateLogEnabled(true);
    // The run was abandoned: its figures are partial and the cells keep the previous ones.
    if (!error.empty()) return error;
    AddStolenToLeft(state);
    WriteResultRows(cells_, state, costs_);
    ShowResults(cells_, state.RoidsCaptured, locale_, results_);
    return {};
}

std::string BattleSheet::Recalculate() {
    if (logWindow_ != nullptr && logWindow_->LogsEveryRecalculation()) return UpdateCalcLog();
    return Simulate(false);
}

std::string BattleSheet::UpdateCalcLog() {
    SetUpdateLogEnabled(false);
    std::string error = Simulate(true);
    // A failed run leaves a partial log: it stays out of date.
    SetUpdateLogEnabled(!error.empty());
    return error;
}

std::string BattleSheet::RecalculateFollowingLog() {
    return LogWindowVisible() ? UpdateCalcLog() : Recalculate();
}

std::string BattleSheet::StepForward() {
    const SheetChange change(*this);
    // The inputs as they stand, before a parsed report is recalculated away.
    TickInputs inputs;
    SaveInputs(inputs);
    // A parsed report is on the sheet: carry computed survivors, not the report's figures.
    if (cells_.At(kDefLeft, kHeadingRow) != "Left") {
        std::string error = Recalculate();
        if (!error.empty()) return error;
    }
    ++currentTick_;
    if (history_.size() < static_cast<std::size_t>(currentTick_)) history_.resize(currentTick_);
    history_[currentTick_ - 1] = std::move(inputs);
    HistoryChanged();
    ShowTick();
    CarrySurvivorsForward();
    return RecalculateFollowingLog();
}

std::string BattleSheet::StepBack() {
    if (currentTick_ <= 1) return {};
    const SheetChange change(*this);
    --currentTick_;
    assert(history_.size() > static_cast<std::size_t>(currentTick_));
    if (history_.size() != static_cast<std::size_t>(currentTick_ + 1)) {
        history_.resize(currentTick_ + 1);
        HistoryChanged();
    }
    RestoreInputs(history_[currentTick_]);
    ShowTick();
    return RecalculateFollowingLog();
}

void BattleSheet::ClearGrid() {
    const SheetChange change(*this);
    cells_.ClearAll();
    if (logWindow_ != nullptr) logWindow_->ClearLog();
    SetUpdateLogEnabled(false);
    SetupSheet();
    currentTick_ = 1;
    ShowTick();
    if (!history_.empty()) HistoryChanged();
    history_.clear();
}

std::string BattleSheet::ClearDef() {
    const SheetChange change(*this);
    for (int row = 1; row < kRows; ++row) cells_.Clear(kDefShips, row);
    return Recalculate();
}

std::string BattleSheet::ClearAtt() {
    const SheetChange change(*this);
    for (int row = 1; row < kRows; ++row) cells_.Clear(kAttShips, row);
    return Recalculate();
}

void BattleSheet::BeginChange() {
    if (openChanges_++ == 0) changeStart_ = Snapshot();
}

void BattleSheet::EndChange() {
    // Undo closes every open change at once; the callers' own closings come after it.
    if (openChanges_ == 0 || --openChanges_ > 0) return;
    // A change that changed nothing (a clear of an empty side, an edit cancelled) is no step.
    if (changeStart_ && !changeStart_->SameBattle(Snapshot())) undo_.Push(std::move(*changeStart_));
    changeStart_.reset();
}

void BattleSheet::CloseOpenChanges() {
    if (openChanges_ == 0) return;
    openChanges_ = 1;
    EndChange();
}

std::string BattleSheet::Undo() {
    CloseOpenChanges();
    if (!undo_.CanUndo()) return {};
    return Restore(undo_.Undo(Snapshot()));
}

std::string BattleSheet::Redo() {
    CloseOpenChanges();
    if (!undo_.CanRedo()) return {};
    return Restore(undo_.Redo(Snapshot()));
}

SheetSnapshot BattleSheet::Snapshot() const {
    if (!sharedHistory_ || sharedHistoryVersion_ != historyVersion_) {
        sharedHistory_ = std::make_shared<const std::vector<TickInputs>>(history_);
        sharedHistoryVersion_ = historyVersion_;
    }
    return {cells_, currentTick_, reportView_, results_, sharedHistory_, historyVersion_};
}

std::string BattleSheet::Restore(SheetSnapshot snapshot) {
    cells_ = std::move(snapshot.cells);
    currentTick_ = snapshot.tick;
    reportView_ = snapshot.reportView;
    results_ = std::move(snapshot.results);
    history_ = *snapshot.history;
    historyVersion_ = snapshot.historyVersion;
    sharedHistory_ = std::move(snapshot.history);
    sharedHistoryVersion_ = historyVersion_;
    // A parsed combat report comes back with its own figures, which a recalculation would
    // replace with computed ones; the log no longer matches it either way.
    if (reportView_) {
        SetUpdateLogEnabled(true);
        return {};
    }
    return RecalculateFollowingLog();
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

// Left columns as the last recalculation left them: unit rows as counts, the asteroid and
// Eonium rows as text. The planet scores stay.
void BattleSheet::CarrySurvivorsForward() {
    for (int row = kFirstUnitRow; row <= kLastUnitRow; ++row) {
        cells_.WriteCount(kDefShips, row, cells_.Count(kDefLeft, row));
        cells_.WriteCount(kAttShips, row, cells_.Count(kAttLeft, row));
    }
    for (int row = kFirstRoidRow; row <= kEoniumRow; ++row) {
        cells_.Set(kDefShips, row, cells_.At(kDefLeft, row));
        cells_.Set(kAttShips, row, cells_.At(kAttLeft, row));
    }
}

}  // namespace kestrin
