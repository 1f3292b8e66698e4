#include "battle_document.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "sheet/battle_link.h"
#include "sheet/typed_number.h"

namespace kestrin {

namespace {

// A window must not wait: opening a pipe waits for a writer and a device may never end, so
// only a regular file (or a missing one, for its warning) is opened. kestrin-cli still reads
// pipes, for the shell's process substitution.
BattleFileResult OpenRegularBattleFile(BattleSheet& sheet, const std::filesystem::path& path) {
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    const auto type = status.type();
    if (!code && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory &&
        type != std::filesystem::file_type::not_found)
        return {BattleFileStatus::ReadFailed, "Unable to read " + path.string() + ": it is not a regular file", {}};
    return OpenBattleFile(sheet, path);
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code code;
    if (std::filesystem::equivalent(a, b, code)) return true;
    return AbsoluteFileName(a).lexically_normal() == AbsoluteFileName(b).lexically_normal();
}

// What a count below zero comes to, once the sheet has dealt with it.
std::string NegativeCountNotice(std::string_view typed, int row, bool emptied) {
    const std::string quoted = "'" + std::string(typed) + "' is below zero";
    if (emptied) return quoted + ": the cell was emptied (Ctrl+Z brings it back)";
    if (row >= sheet::kFirstUnitRow && row <= sheet::kLastUnitRow)
        return quoted + ": it stays as typed and fights as no ships";
    return quoted + ": it stays as typed and counts as none";
}

}  // namespace

std::filesystem::path AbsoluteFileName(const std::filesystem::path& path) {
    std::error_code code;
    std::filesystem::path absolute = std::filesystem::absolute(path, code);
    return code ? path : absolute.lexically_normal();
}

// One command: the depth tells a command run inside another from the outermost one, which
// alone tells the views.
class BattleDocument::Command {
public:
    explicit Command(BattleDocument& document) : document_(document) { ++document_.depth_; }
    ~Command() { --document_.depth_; }
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

private:
    BattleDocument& document_;
};

BattleDocument::BattleDocument(const BattleRules& rules, SimulationContext& context, NumberLocale locale)
    : sheet_(rules, context, std::move(locale)) {}

void BattleDocument::AddView(DocumentView* view) { views_.push_back(view); }

void BattleDocument::RemoveView(DocumentView* view) { std::erase(views_, view); }

void BattleDocument::FinishOpenEdit() {
    // The edit's own step runs through Run, which comes back here: once is enough.
    if (finishing_) return;
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
    if (depth_ > 0) {
        change(sheet_);
        return;
    }
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
    if (depth_ > 0) {
        change(sheet_);
        return;
    }
    FinishOpenEdit();
    {
        const Command command(*this);
        change(sheet_);
    }
    TellViews();
}

void BattleDocument::BeginHold(Step step, HeldChange& owner) {
    FinishOpenEdit();
    heldFrom_ = sheet_.BattleId();
    heldStep_ = step;
    holder_ = &owner;
    sheet_.BeginChange(step);
}

void BattleDocument::ShowHeld() { TellViews(); }

void BattleDocument::EndHold() {
    if (holder_ == nullptr) return;
    holder_ = nullptr;
    sheet_.EndChange();
    Recorded(heldFrom_, heldStep_);
    TellViews();
}

std::string BattleDocument::EndEdit(int col, int row, std::string_view typed) {
    const bool wide = row == sheet::kScoreRow;
    const TypedNumber reading = ReadTypedNumber(typed, sheet_.Locale(), wide);
    const std::uint64_t before = sheet_.BattleId();
    if (reading.text != sheet_.Cell(col, row)) {
        Run(Step::Typing, [&](BattleSheet& s) {
            s.SetCell(col, row, reading.text);
            s.Recalculate();
        });
    }
    const bool entered = sheet_.BattleId() != before;
    const bool emptied = sheet_.Cell(col, row).empty();
    std::string notice;
    if (reading.kind != TypedNumberKind::Count) {
        // Without a step nothing was entered, whatever the sheet would have made of the text.
        notice = entered ? TypedNumberNotice(typed, sheet_.Locale(), wide, emptied)
                         : TypedNumberProblem(typed, sheet_.Locale(), wide) + ": nothing was entered";
    } else if (reading.value < 0 && entered) {
        notice = NegativeCountNotice(typed, row, emptied);
    }
    if (!notice.empty()) Tell({notice, col, row, {}});
    return notice;
}

void BattleDocument::Tell(const DocumentNotice& notice) {
    for (DocumentView* view : std::vector<DocumentView*>(views_)) view->Notice(notice);
}

void BattleDocument::Undo() {
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    sheet_.Undo();
    Recorded(before, std::nullopt);
    TellViews();
}

void BattleDocument::Redo() {
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    sheet_.Redo();
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

BattleFileResult BattleDocument::OpenFile(const std::filesystem::path& path) {
    return Open([&](BattleSheet& sheet) { return OpenRegularBattleFile(sheet, path); }, &path);
}

BattleFileResult BattleDocument::OpenLink(std::string_view text) {
    const BattleLinkBytes link = BattleFileFromLink(text);
    if (!link.bytes) return {BattleFileStatus::ReadFailed, link.error, {}};
    return OpenBytes(*link.bytes);
}

BattleFileResult BattleDocument::OpenBytes(std::string_view bytes) {
    return Open([&](BattleSheet& sheet) { return ReadBattleFileBytes(sheet, bytes); }, nullptr);
}

BattleFileResult BattleDocument::Open(const std::function<BattleFileResult(BattleSheet&)>& read,
                                      const std::filesystem::path* path) {
    FinishOpenEdit();
    const std::uint64_t before = sheet_.BattleId();
    BattleFileResult result;
    {
        // A battle that cannot be read leaves the battle as it was, its figures too.
        const Command command(*this);
        const SheetChange change(sheet_, Step::OpenFile);
        result = read(sheet_);
    }
    if (!result.ok()) return result;
    Recorded(before, Step::OpenFile);
    if (path != nullptr) {
        BelongsTo(*path);
    } else {
        // A battle from bytes (a link, a browser's file) has no file to save back to.
        file_.clear();
        fileBattles_.clear();
    }
    TellViews();
    if (!result.problems.empty()) {
        const std::string source = path != nullptr ? file_.filename().string() + ": lines" : "The battle's lines";
        DocumentNotice notice{source + " that are no count as written (click to close):", -1, -1, {}};
        for (const BattleFileProblem& problem : result.problems) notice.lines.push_back(BattleFileProblemText(problem));
        Tell(notice);
    }
    return result;
}

BattleFileResult BattleDocument::SaveFile(const std::filesystem::path& path) {
    FinishOpenEdit();
    BattleFileResult result = SaveBattleFile(sheet_, path);
    if (result.ok()) {
        BelongsTo(path);
        TellViews();
    }
    return result;
}

void BattleDocument::BelongsTo(const std::filesystem::path& path) {
    file_ = AbsoluteFileName(path);
    fileTick_ = sheet_.CurrentTick();
    fileBattles_ = {sheet_.BattleId()};
    unchanged_ = {sheet_.BattleId()};
}

bool BattleDocument::ShowsFileBattle() const {
    return !file_.empty() && fileBattles_.contains(sheet_.BattleId());
}

bool BattleDocument::Changed() const { return !unchanged_.contains(sheet_.BattleId()); }

std::string BattleDocument::LaterTickQuestion(const std::filesystem::path& target) const {
    if (file_.empty() || sheet_.CurrentTick() <= fileTick_ || !SameFile(target, file_)) return {};
    return file_.filename().string() + " holds the battle's set-up at tick " + std::to_string(fileTick_) +
           ". Save the fleets of tick " + std::to_string(sheet_.CurrentTick()) + " over it?";
}

// A recorded step decides whether the battle after it is still the file's and still
// unchanged; undo and redo only bring back battles already known.
void BattleDocument::Recorded(std::uint64_t before, std::optional<Step> step) {
    const std::uint64_t now = sheet_.BattleId();
    if (!step || now == before) return;
    if (unchanged_.contains(before) && IsTickStep(*step)) unchanged_.insert(now);
    if (fileBattles_.contains(before) && sheet_.CurrentTick() >= fileTick_) fileBattles_.insert(now);
}

void BattleDocument::TellViews() {
    if (depth_ > 0) return;
    for (DocumentView* view : std::vector<DocumentView*>(views_)) view->BattleChanged();
}

}  // namespace kestrin
