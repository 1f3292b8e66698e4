#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "sheet/undo_step.h"

namespace kestrin {

/// An edit still open in a view (the grid's editor): the document has it end before any
/// command acts, through the same path an Enter would take.
class OpenEdit {
public:
    virtual ~OpenEdit() = default;
    /// Ends the edit: its text goes in through BattleDocument::EndEdit (or nothing when none).
    virtual void FinishEdit() = 0;
    /// Whether an edit is open: Undo would first take it in as "Typing".
    virtual bool Editing() const = 0;
};

/// A change that stays open across events (a spin held down, a debug run): any other command
/// ends it first, and tells its owner so that it stops.
class HeldChange {
public:
    virtual ~HeldChange() = default;
    /// The held change was ended by another command; nothing of it goes on.
    virtual void HoldEnded() = 0;
};

/// What the document tells a player beside the battle: about one cell, or about the battle
/// as a whole (`col` and `row` -1: the lines of an opened file that are no count as written,
/// `text` their heading).
struct DocumentNotice {
    std::string text;
    int col = -1;
    int row = -1;
    std::vector<std::string> lines;
};

/// A window that shows the battle: told once per command, after the whole change.
class DocumentView {
public:
    virtual ~DocumentView() = default;
    /// The battle, its results, its rows, its file or its undo steps changed.
    virtual void BattleChanged() = 0;
    /// Something to tell the player; after BattleChanged when a command gives one.
    virtual void Notice(const DocumentNotice& /*notice*/) {}
};

/// The battle as the player edits it: the sheet with its undo history, the file it belongs
/// to and whether it changed since, and the commands that change it. Every change a player
/// makes runs through Run (or a held change): an open edit ends first, the change is one
/// named step, the battle is calculated and every view is told once.
///
/// Single-threaded. The rules and the context belong to the owner and must outlive it.
class BattleDocument {
public:
    BattleDocument(const BattleRules& rules, SimulationContext& context, NumberLocale locale = {});
    BattleDocument(const BattleDocument&) = delete;
    BattleDocument& operator=(const BattleDocument&) = delete;

    /// The battle, for reading. Tests set battles up through it; the windows change it only
    /// through the commands below.
    BattleSheet& Sheet() { return sheet_; }
    const BattleSheet& Sheet() const { return sheet_; }

    /// The grid's editor (null: none). Its edit ends before every command.
    void SetOpenEdit(OpenEdit* edit) { openEdit_ = edit; }
    /// Views are told of every change in the order they were added; a view removes itself
    /// before it goes.
    void AddView(DocumentView* view);
    void RemoveView(DocumentView* view);

    /// Ends an open edit and a held change: what every command does first. A command that
    /// only reads the battle (a sweep, a search, a save) calls it before it reads.
    void FinishOpenEdit();
    /// Runs `change` as one step named `step`: the open edit ends first, then the change is
    /// applied and recorded (none when the battle ends as it began), the battle is calculated
    /// unless the change did so or is Clear All (whose panel keeps its figures), and every
    /// view is told once. Run inside a running command is part of that command.
    void Run(Step step, const std::function<void(BattleSheet&)>& change);
    /// A command that is no step (a recalculation, the log's update, rows shown or hidden): the
    /// open edit ends first, then views are told once.
    void Refresh(const std::function<void(BattleSheet&)>& change);

    /// Opens a change that stays open across events; `owner` hears when another command ends
    /// it. The open edit ends first.
    void BeginHold(Step step, HeldChange& owner);
    /// Shows what the held change did so far; the open edit is left as it is.
    void ShowHeld();
    /// Closes the held change as one step (nothing when none is open) and tells the views.
    void EndHold();
    /// Whether a held change is open.
    bool Holding() const { return holder_ != nullptr; }

    /// How every edit of a cell ends (Enter, Tab, a movement key, a click, the focus leaving,
    /// a command): `typed` goes into cell (col, row) read as a typed count, as one "Typing"
    /// step, and the battle is calculated. Text that is no count keeps the sheet's fate for
    /// it and is told; an edit that changes nothing records no step. Returns the notice, also
    /// given to the views (empty: nothing to tell).
    std::string EndEdit(int col, int row, std::string_view typed);
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

    /// Opens a battle file as one step (a regular file only: a window must not wait on a
    /// pipe). Once opened the battle belongs to the file, at the tick it was opened into. Lines
    /// that are no count as written are told to the views once, after the change.
    BattleFileResult OpenFile(const std::filesystem::path& path);
    /// Opens the battle a shared link carries (the text of a chat line, an address or the
    /// fragment) as one step, as a file's battle opens. The battle then belongs to no file:
    /// Save asks for one. A link that carries no battle file is told and changes nothing.
    BattleFileResult OpenLink(std::string_view text);
    /// Opens a battle file's bytes (a browser's file, a link's) as one step, as OpenFile does;
    /// the battle then belongs to no file.
    BattleFileResult OpenBytes(std::string_view bytes);
    /// Saves the battle's inputs to `path` (nothing is recalculated); the battle then belongs
    /// to that file at the current tick.
    BattleFileResult SaveFile(const std::filesystem::path& path);
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
    /// The question to ask before saving over `target`: when it is the battle's own file and
    /// the sheet shows a later tick than the set-up the file holds. Empty: nothing to ask.
    std::string LaterTickQuestion(const std::filesystem::path& target) const;

private:
    class Command;
    void Recorded(std::uint64_t before, std::optional<Step> step);
    void TellViews();
    BattleFileResult Open(const std::function<BattleFileResult(BattleSheet&)>& read,
                          const std::filesystem::path* path);
    void BelongsTo(const std::filesystem::path& path);

    BattleSheet sheet_;
    OpenEdit* openEdit_ = nullptr;
    std::vector<DocumentView*> views_;
    int depth_ = 0;
    bool finishing_ = false;

    HeldChange* holder_ = nullptr;
    Step heldStep_ = Step::Spin;
    std::uint64_t heldFrom_ = 0;

    std::filesystem::path file_;
    int fileTick_ = 1;
    // The battles (SheetSnapshot ids) that are the file's, and those no more than tick steps
    // away from it as opened or saved.
    std::set<std::uint64_t> fileBattles_;
    std::set<std::uint64_t> unchanged_{0};
};

/// A file name as the program keeps it: absolute, so that it means the same from any folder.
std::filesystem::path AbsoluteFileName(const std::filesystem::path& path);

}  // namespace kestrin
