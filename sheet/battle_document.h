#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sheet/battle_file.h"
#include "sheet/battle_generators.h"
#include "sheet/battle_sheet.h"
#include "sheet/cell_range.h"
#include "sheet/document_ports.h"
#include "sheet/report_figures.h"
#include "sheet/undo_step.h"

namespace kestrin {

/// What a save at a later tick than the battle's set-up writes: the set-up the shown fleets
/// were stepped on from (the inputs of that tick, kept in the tick history) or the fleets
/// the sheet shows now.
enum class SaveWhat { CurrentTick, SetUp };

/// The player's word that the battle shown may be set aside (BattleDocument::AskToSetAside):
/// it holds for that battle only, so a command given it does not ask again.
class SetAsideConsent {
private:
    friend class BattleDocument;
    explicit SetAsideConsent(std::uint64_t battle) : battle_(battle) {}
    std::uint64_t battle_;
};

/// The battle as the player edits it: the sheet with its undo history, the file it belongs
/// to and whether it changed since, and the commands that change it. Every player action is
/// one command below, whichever face (window or web page) it comes from: an open edit ends
/// first, the change is one named step (none when the battle ends as it began), the battle
/// is calculated and every view is told once. Views read the sheet; only the commands write.
///
/// Single-threaded. A command given while another applies its change (from an event loop a
/// message box runs inside a recalculation) is refused. The rules and the context belong to
/// the owner and must outlive it.
class BattleDocument {
public:
    BattleDocument(const BattleRules& rules, SimulationContext& context, NumberLocale locale = {});
    BattleDocument(const BattleDocument&) = delete;
    BattleDocument& operator=(const BattleDocument&) = delete;

    /// The battle, for reading.
    const BattleSheet& Sheet() const { return sheet_; }

    /// The grid's editor (null: none). Its edit ends before every command.
    void SetOpenEdit(OpenEdit* edit) { openEdit_ = edit; }
    /// Views are told of every change in the order they were added; a view removes itself
    /// before it goes.
    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);
    /// Who asks the player before a changed battle is set aside; null: nobody, the battle
    /// goes (Undo brings it back).
    void SetReplaceQuestion(ReplaceQuestion* question) { question_ = question; }
    /// Connects the calculation log window; null means there is none.
    void SetLogWindow(LogWindowPort* logWindow) { sheet_.SetLogWindow(logWindow); }

    /// Ends an open edit and a held change: what every command does first. A command that
    /// only reads the battle (a sweep, a search, a save) calls it before it reads.
    void FinishOpenEdit();
    /// Whether a command is applying its change (its recalculation runs): commands are refused.
    bool Busy() const { return applying_; }

    // The edits: each one step named as in the menu's "Undo NAME".

    /// How every edit of a cell ends (Enter, Tab, a movement key, a click, the focus leaving,
    /// a command): `typed` goes into cell (col, row) read as a typed count, as one "Typing"
    /// step, and the battle is calculated. Text that is no count keeps the sheet's fate for
    /// it and is told; an edit that changes nothing records no step. Returns the notice, also
    /// given to the views (empty: nothing to tell).
    std::string EndEdit(int col, int row, std::string_view typed);
    /// Delete: empties every input cell of `range` in a shown row ("Delete") and calculates;
    /// false when the range holds none (nothing is done).
    bool Delete(const CellRange& range);
    /// Ctrl+V: pastes tab-separated text from (col, row) on ("Paste"), or nothing when a value
    /// would be dropped; returns why (also told beside the cell), empty when pasted.
    std::string Paste(int col, int row, std::string_view text);
    /// The tick buttons ("Tick Step", "Tick Back"): no change for Save.
    void StepForward();
    void StepBack();
    /// Clear All (the panel keeps its figures), Clear Defender, Clear Attacker.
    void ClearAll();
    void ClearDefender();
    void ClearAttacker();
    /// The planner's "Use this value": `count` into a side's Ships cell of `row`.
    void UseValue(Side side, int row, std::int64_t count);
    /// Best Fleet's "Use this fleet": each (row, count) into the attacker's Ships column.
    void UseFleet(const std::vector<std::pair<int, std::int64_t>>& attackerCounts);
    /// The scan parser's "OK" on a report, once read: "Scan Report", "Military Scan" or
    /// "Combat Report".
    void ApplyReport(const ReportFigures& figures);

    // Commands that are no step.

    /// Re - Calculate; during a held change, part of it (the open edit stays open).
    void Recalculate();
    /// The log window's "Update Log": one logged recalculation.
    void UpdateCalcLog();
    /// Compress Grid, Expand Grid and the race filters; during a held change, part of it.
    void CompressRows();
    void ExpandRows();
    void ShowRace(RaceFilter race);

    // Held changes: open across events, one step when they end.

    /// A spin pressed on input cell (col, row) ("Spin"); `owner` hears when another command
    /// ends it. The open edit ends first.
    void BeginSpin(int col, int row, HeldChange& owner);
    /// One beat of the held spin: `delta` added to the cell (a count stops at the top of its
    /// range and never goes below empty), then the battle is calculated and shown.
    void Spin(int delta);
    /// A debug window's run of generated battles ("Debug Run"), drawn from `seed`.
    void BeginDebugRun(HeldChange& owner, std::uint64_t seed);
    /// The run's next random battle, its next ship test pass (empty: the pass fights none)
    /// and that pass's next battle; the window then recalculates (Recalculate).
    void WriteRandomBattle();
    std::optional<BattleGenerators::ShipPass> BeginShipPass(std::optional<int> step);
    void WriteShipBattle(const BattleGenerators::ShipPass& pass);
    /// Why a ship test run with `step` could never fight (BattleGenerators::WhyNoShipBattle).
    std::string WhyNoShipBattle(std::optional<int> step) const;
    /// Closes the held change as one step (nothing when none is open) and tells the views.
    void EndHold();
    /// Closes the held change putting the battle back as it was before it.
    void CancelHold();
    /// Whether a held change is open.
    bool Holding() const { return holder_ != nullptr; }

    /// Gives every view a notice.
    void Tell(const DocumentNotice& notice);

    /// Undo and Redo: the open edit ends first (it is the step undone when it changed anything).
    void Undo();
    void Redo();
    /// Whether Undo and Redo have something to do; an open edit counts as a step to undo.
    bool CanUndo() const;
    bool CanRedo() const { return sheet_.CanRedo(); }
    /// What Undo and Redo would do ("Typing", "Tick Step"), or null.
    const char* UndoName() const;
    const char* RedoName() const { return sheet_.RedoName(); }

    // The battle's file. Every opening replaces the battle: a changed one is asked about
    // first (ReplaceQuestion), whichever window the command came from.

    /// Asks "Save changes to NAME?" when the battle changed since opened or saved; empty when
    /// the player keeps it. For a window that asks before it chooses what replaces it.
    std::optional<SetAsideConsent> AskToSetAside();
    /// Opens a battle file as one step (a regular file only: a window must not wait on a
    /// pipe). Once opened the battle belongs to the file, at the tick it was opened into. Lines
    /// that are no count as written are told to the views once, after the change. `consent`
    /// given for the battle shown asks nothing more.
    BattleFileResult OpenFile(const std::filesystem::path& path, std::optional<SetAsideConsent> consent = {});
    /// Opens the battle a shared link carries (the text of a chat line, an address or the
    /// fragment) as one step: a battle of its own, its set-up at tick 1 (OpenNewBattle). The
    /// battle then belongs to no file: Save asks for one. A link that carries no battle file
    /// is told and changes nothing.
    BattleFileResult OpenLink(std::string_view text);
    /// Opens a battle file's bytes (a browser's file, a link's) as one step, as OpenFile does;
    /// the battle then belongs to no file.
    BattleFileResult OpenBytes(std::string_view bytes);
    /// Opens a battle of its own from its ticks' inputs (each a battle file's bytes): the
    /// first is its set-up at tick 1, each later one the inputs of the next tick, and the
    /// last is shown, so stepping back walks the earlier ticks as they were. One step; the
    /// battle belongs to no file. Any tick that cannot be read changes nothing and is told.
    /// A link's battle on the web page, and the battle the page kept, open so.
    BattleFileResult OpenNewBattle(const std::vector<std::string>& ticks);
    /// Each tick's inputs as battle file bytes, tick 1 up to the tick shown: what
    /// OpenNewBattle takes to bring this battle back.
    std::vector<std::string> BattleTicks() const;
    /// Saves the battle's inputs to `path` (nothing is recalculated): the current tick's, or
    /// the set-up's (SetUpTick), without stepping back. The battle then belongs to that file
    /// at the tick saved, and the views are told "Saved to PATH".
    BattleFileResult SaveFile(const std::filesystem::path& path, SaveWhat what = SaveWhat::CurrentTick);
    /// The battle as a shared link's fragment ("#battle=..."): the fleets shown, as Save
    /// writes them; what OpenLink and the web page read.
    std::string Link() const;
    /// The file the battle belongs to, absolute; empty for a new battle.
    const std::filesystem::path& File() const { return file_; }
    /// The tick the file's battle was opened or saved at.
    int FileTick() const { return fileTick_; }
    /// Whether the sheet shows the file's battle: the one opened or saved, changed or not,
    /// at that tick or a later one. Stepping back past that tick, opening another battle
    /// without a file or undoing the opening leave it: Save then asks for a file.
    bool ShowsFileBattle() const;
    /// Whether the battle changed since it was opened or saved (or since the start): tick
    /// steps alone are no change.
    bool Changed() const;
    /// The tick of the set-up the shown fleets were reached from by tick steps alone: the
    /// tick of the last change that was no tick step (1 for a new battle).
    int SetUpTick() const;
    /// That set-up's battle (SheetSnapshot id): the same for battles that are only tick steps
    /// apart, as "changed" counts them (the planner's sweep stays current across them).
    std::uint64_t SetUpBattle() const;
    /// The question to ask before saving to the battle's own file while the sheet shows a
    /// later tick than its set-up: which of the two to save (SaveWhat). Empty: nothing to ask.
    std::string LaterTickQuestion(const std::filesystem::path& target) const;

private:
    friend struct DocumentTestSeam;  // tests/document_test_seam.h: a battle set up cell by cell
    // A change being applied: every command given meanwhile (from an event loop a message
    // box runs inside the recalculation) is refused, so no recalculation starts inside another.
    class Command {
    public:
        explicit Command(BattleDocument& document) : document_(document) { document_.applying_ = true; }
        ~Command() { document_.applying_ = false; }
        Command(const Command&) = delete;
        Command& operator=(const Command&) = delete;

    private:
        BattleDocument& document_;
    };
    void Run(Step step, const std::function<void(BattleSheet&)>& change);
    void Refresh(const std::function<void(BattleSheet&)>& change);
    void HeldUpdate(const std::function<void(BattleSheet&)>& change);
    void BeginHold(Step step, HeldChange& owner);
    void Recorded(std::uint64_t before, std::optional<Step> step);
    void TellViews();
    bool MayReplace(const std::optional<SetAsideConsent>& consent);
    BattleFileResult Open(const std::function<BattleFileResult(BattleSheet&)>& read,
                          const std::filesystem::path* path, const std::optional<SetAsideConsent>& consent);
    void BelongsTo(const std::filesystem::path& path);
    void BelongsTo(const std::filesystem::path& path, int tick);

    BattleSheet sheet_;
    OpenEdit* openEdit_ = nullptr;
    ReplaceQuestion* question_ = nullptr;
    std::vector<DocumentView*> views_;
    bool applying_ = false;
    bool finishing_ = false;

    HeldChange* holder_ = nullptr;
    Step heldStep_ = Step::Spin;
    std::uint64_t heldFrom_ = 0;
    int spinCol_ = 0;
    int spinRow_ = 0;
    std::optional<BattleGenerators> generators_;

    std::filesystem::path file_;
    int fileTick_ = 1;
    // The battles (SheetSnapshot ids) that are the file's, and those no more than tick steps
    // away from it as opened or saved.
    std::set<std::uint64_t> fileBattles_;
    std::set<std::uint64_t> unchanged_{0};
    // Per battle (SheetSnapshot id), its set-up: the battle and tick of the last change that
    // was no tick step.
    struct SetUp {
        std::uint64_t battle;
        int tick;
    };
    std::map<std::uint64_t, SetUp> setUps_{{0, {0, 1}}};
};

/// A file name as the program keeps it: absolute, so that it means the same from any folder.
std::filesystem::path AbsoluteFileName(const std::filesystem::path& path);

}  // namespace kestrin
