#include "battle_document.h"

#include <algorithm>
#include <utility>

namespace kestrin {

BattleDocument::BattleDocument(const BattleRules& rules, SimulationContext& context, NumberLocale locale)
    : sheet_(rules, context, std::move(locale)) {}

void BattleDocument::AddView(DocumentView* view) { views_.push_back(view); }

void BattleDocument::RemoveView(DocumentView* view) { std::erase(views_, view); }

void BattleDocument::FinishOpenEdit() {
    // The edit's own step runs through Run, which comes back here: once is enough. Inside a
    // change nothing may end: the change ends first.
    if (finishing_ || applying_) return;
    // A held change ends before the edit, so that a count typed meanwhile is a step of its
    // own rather than part of the run or spin.
    if (holder_ != nullptr) {
        HeldChange* owner = holder_;
        EndHold();
        owner->HoldEnded();
    }
    finishing_ = true;
    try {
        if (openEdit_ != nullptr) openEdit_->FinishEdit();
    } catch (...) {
        finishing_ = false;
        throw;
    }
    finishing_ = false;
}

void BattleDocument::Run(Step step, const std::function<void(BattleSheet&)>& change) {
    if (applying_) return;
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    {
        const Command command(*this);
        const SheetChange sheetChange(sheet_, step);
        const std::uint64_t recalculations = sheet_.Recalculations();
        change(sheet_);
        // Clear All leaves the panel's figures as they were until the next recalculation.
        if (sheet_.Recalculations() == recalculations && step != Step::ClearAll) sheet_.Recalculate();
    }
    Recorded(before, step);
    TellViews();
}

void BattleDocument::Refresh(const std::function<void(BattleSheet&)>& change) {
    if (applying_) return;
    FinishOpenEdit();
    {
        const Command command(*this);
        change(sheet_);
    }
    TellViews();
}

// Part of the held change: the open edit is left as it is.
void BattleDocument::HeldUpdate(const std::function<void(BattleSheet&)>& change) {
    if (applying_ || holder_ == nullptr) return;
    {
        const Command command(*this);
        change(sheet_);
    }
    TellViews();
}

void BattleDocument::Recalculate() {
    const auto recalculate = [](BattleSheet& sheet) { sheet.Recalculate(); };
    Holding() ? HeldUpdate(recalculate) : Refresh(recalculate);
}

void BattleDocument::UpdateCalcLog() {
    Refresh([](BattleSheet& sheet) { sheet.UpdateCalcLog(); });
}

void BattleDocument::CompressRows() {
    const auto compress = [](BattleSheet& sheet) { sheet.CompressGrid(); };
    Holding() ? HeldUpdate(compress) : Refresh(compress);
}

void BattleDocument::ExpandRows() {
    Refresh([](BattleSheet& sheet) { sheet.ExpandGrid(); });
}

void BattleDocument::ShowRace(RaceFilter race) {
    Refresh([race](BattleSheet& sheet) { sheet.ShowRace(race); });
}

void BattleDocument::BeginHold(Step step, HeldChange& owner) {
    if (applying_) return;
    FinishOpenEdit();
    heldFrom_ = sheet_.BattleId();
    heldStep_ = step;
    holder_ = &owner;
    sheet_.BeginChange(step);
}

void BattleDocument::EndHold() {
    if (holder_ == nullptr || applying_) return;
    holder_ = nullptr;
    generators_.reset();
    sheet_.EndChange();
    Recorded(heldFrom_, heldStep_);
    TellViews();
}

void BattleDocument::CancelHold() {
    if (holder_ == nullptr || applying_) return;
    holder_ = nullptr;
    generators_.reset();
    sheet_.CancelChange();
    TellViews();
}

void BattleDocument::Tell(const DocumentNotice& notice) {
    for (DocumentView* view : std::vector<DocumentView*>(views_)) view->Notice(notice);
}

void BattleDocument::Undo() {
    if (applying_) return;
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    {
        const Command command(*this);
        sheet_.Undo();
    }
    Recorded(before, std::nullopt);
    TellViews();
}

void BattleDocument::Redo() {
    if (applying_) return;
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    {
        const Command command(*this);
        sheet_.Redo();
    }
    Recorded(before, std::nullopt);
    TellViews();
}

bool BattleDocument::CanUndo() const {
    return sheet_.CanUndo() || (openEdit_ != nullptr && openEdit_->Editing());
}

const char* BattleDocument::UndoName() const {
    if (openEdit_ != nullptr && openEdit_->Editing()) return StepName(Step::Typing);
    return sheet_.UndoName();
}

// A recorded step decides whether the battle after it is still the file's and still
// unchanged; undo and redo only bring back battles already known.
void BattleDocument::Recorded(std::uint64_t before, std::optional<Step> step) {
    const std::uint64_t now = sheet_.BattleId();
    if (!step || now == before) return;
    if (unchanged_.contains(before) && IsTickStep(*step)) unchanged_.insert(now);
    // Tick steps keep the set-up they started from; any other change is a set-up of its own.
    const auto from = setUps_.find(before);
    setUps_[now] = IsTickStep(*step) && from != setUps_.end() ? from->second : SetUp{now, sheet_.CurrentTick()};
    if (fileBattles_.contains(before) && sheet_.CurrentTick() >= fileTick_) fileBattles_.insert(now);
}

void BattleDocument::TellViews() {
    for (DocumentView* view : std::vector<DocumentView*>(views_)) view->BattleChanged();
}

}  // namespace kestrin
