// The battle document's file: opening (a file, a link, a battle's bytes), the question before
// a changed battle is set aside, saving, and whether the battle changed since.
#include "battle_document.h"

#include <system_error>

#include "sheet/battle_link.h"
#include "sheet/sheet_layout.h"

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

const BattleFileResult kKept{BattleFileStatus::Kept, {}, {}};

}  // namespace

std::filesystem::path AbsoluteFileName(const std::filesystem::path& path) {
    std::error_code code;
    std::filesystem::path absolute = std::filesystem::absolute(path, code);
    return code ? path : absolute.lexically_normal();
}

std::optional<SetAsideConsent> BattleDocument::AskToSetAside() {
    if (applying_) return std::nullopt;
    FinishOpenEdit();
    if (!Changed() || question_ == nullptr) return SetAsideConsent(sheet_.BattleId());
    const std::string name = ShowsFileBattle() ? file_.filename().string() : std::string("the new battle");
    if (!question_->MaySetAside("Save changes to " + name + "?")) return std::nullopt;
    return SetAsideConsent(sheet_.BattleId());
}

bool BattleDocument::MayReplace(const std::optional<SetAsideConsent>& consent) {
    if (consent && consent->battle_ == sheet_.BattleId()) return true;
    return AskToSetAside().has_value();
}

BattleFileResult BattleDocument::OpenFile(const std::filesystem::path& path, std::optional<SetAsideConsent> consent) {
    return Open([&](BattleSheet& sheet) { return OpenRegularBattleFile(sheet, path); }, &path, consent);
}

BattleFileResult BattleDocument::OpenLink(std::string_view text) {
    // A text that carries no battle is told before anything is asked.
    BattleLinkBytes link = BattleFileFromLink(text);
    if (!link.bytes) return {BattleFileStatus::ReadFailed, link.error, {}};
    // A link carries a battle's set-up: it opens at tick 1, with none of the ticks before it.
    return OpenNewBattle({std::move(*link.bytes)});
}

BattleFileResult BattleDocument::OpenBytes(std::string_view bytes) {
    return Open([&](BattleSheet& sheet) { return ReadBattleFileBytes(sheet, bytes); }, nullptr, std::nullopt);
}

BattleFileResult BattleDocument::OpenNewBattle(const std::vector<std::string>& ticks) {
    // Every tick is read before the sheet is touched: a bad one leaves the battle as it was.
    if (ticks.empty()) return {BattleFileStatus::WrongLength, std::string(kWrongLengthMessage), {}};
    for (const std::string& tick : ticks) {
        BattleFileResult read = ReadBattleBytesInputs(tick).outcome;
        if (!read.ok()) return read;
    }
    return Open(
        [&](BattleSheet& sheet) {
            sheet.StartAtFirstTick();
            BattleFileResult setUp = ReadBattleFileBytes(sheet, ticks.front());
            for (std::size_t tick = 1; tick < ticks.size() && setUp.ok(); ++tick) {
                sheet.StepForward();
                if (BattleFileResult later = ReadBattleFileBytes(sheet, ticks[tick]); !later.ok()) return later;
            }
            return setUp;
        },
        nullptr, std::nullopt);
}

std::vector<std::string> BattleDocument::BattleTicks() const {
    std::vector<std::string> ticks;
    const std::vector<TickInputs> history = sheet_.TickHistory();
    for (int tick = 1; tick < sheet_.CurrentTick(); ++tick) {
        SheetCells cells;
        for (int row = 0; row < sheet::kRows; ++row) {
            cells.Set(sheet::kDefShips, row, history[tick][row]);
            cells.Set(sheet::kAttShips, row, history[tick][sheet::kRows + row]);
        }
        ticks.push_back(BattleFileBytes(cells));
    }
    ticks.push_back(BattleFileBytes(sheet_.Cells()));
    return ticks;
}

BattleFileResult BattleDocument::Open(const std::function<BattleFileResult(BattleSheet&)>& read,
                                      const std::filesystem::path* path,
                                      const std::optional<SetAsideConsent>& consent) {
    if (applying_) return kKept;
    FinishOpenEdit();
    if (!MayReplace(consent)) return kKept;
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

}  // namespace kestrin
