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
    BattleFileResult result =
        Open([&](BattleSheet& sheet) { return OpenRegularBattleFile(sheet, path); }, &path, consent);
    // The messages keep their words; the file they speak of is named beneath.
    if (result.status == BattleFileStatus::FileMissing || result.status == BattleFileStatus::WrongLength)
        result.message += "\n\n" + AbsoluteFileName(path).string();
    return result;
}

std::string BattleDocument::Link() const { return BattleLinkFragment(BattleFileBytes(sheet_.Cells())); }

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

BattleFileResult BattleDocument::SaveFile(const std::filesystem::path& path, SaveWhat what) {
    FinishOpenEdit();
    const int tick = what == SaveWhat::SetUp ? SetUpTick() : sheet_.CurrentTick();
    SheetCells cells = sheet_.Cells();
    if (tick < sheet_.CurrentTick()) {
        // The set-up's inputs as they stood when the first tick step left it.
        const TickHistoryEntry* entry = sheet_.HistoryChain().get();
        while (entry != nullptr && entry->tick != static_cast<std::size_t>(tick)) entry = entry->earlier.get();
        if (entry == nullptr) return {BattleFileStatus::WriteFailed, "The set-up of tick " + std::to_string(tick) + " is no longer kept", {}};
        const TickInputs inputs = entry->Inputs();
        for (int row = 0; row < sheet::kRows; ++row) {
            cells.Set(sheet::kDefShips, row, inputs[row]);
            cells.Set(sheet::kAttShips, row, inputs[sheet::kRows + row]);
        }
    }
    BattleFileResult result = SaveBattleFile(cells, path);
    if (result.ok()) {
        BelongsTo(path, tick);
        TellViews();
        Tell({"Saved to " + file_.string(), -1, -1, {}});
    }
    return result;
}

void BattleDocument::BelongsTo(const std::filesystem::path& path) { BelongsTo(path, sheet_.CurrentTick()); }

// The battle shown is the file's at `tick` or tick steps on from it.
void BattleDocument::BelongsTo(const std::filesystem::path& path, int tick) {
    file_ = AbsoluteFileName(path);
    fileTick_ = tick;
    fileBattles_ = {sheet_.BattleId()};
    unchanged_ = {sheet_.BattleId()};
}

bool BattleDocument::ShowsFileBattle() const {
    return !file_.empty() && fileBattles_.contains(sheet_.BattleId());
}

bool BattleDocument::Changed() const { return !unchanged_.contains(sheet_.BattleId()); }

int BattleDocument::SetUpTick() const {
    const auto found = setUps_.find(sheet_.BattleId());
    return found == setUps_.end() ? sheet_.CurrentTick() : found->second.tick;
}

std::uint64_t BattleDocument::SetUpBattle() const {
    const auto found = setUps_.find(sheet_.BattleId());
    return found == setUps_.end() ? sheet_.BattleId() : found->second.battle;
}

std::string BattleDocument::LaterTickQuestion(const std::filesystem::path& target) const {
    const int setUp = SetUpTick(), tick = sheet_.CurrentTick();
    // Save As elsewhere writes the fleets shown, as it always has; the file that holds the
    // battle's set-up is not written over with later fleets unasked.
    if (file_.empty() || tick <= setUp || !SameFile(target, file_)) return {};
    return file_.filename().string() + ": the sheet shows tick " + std::to_string(tick) +
           " of the battle set up at tick " + std::to_string(setUp) + ". Save the set-up of tick " +
           std::to_string(setUp) + " or the fleets of tick " + std::to_string(tick) + "?";
}

}  // namespace kestrin
