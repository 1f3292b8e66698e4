#pragma once

#include <string>
#include <vector>

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

/// The owner of a change that stays open across events (a spin held down, a debug run): any
/// other command ends it first, and tells its owner so that it stops.
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

/// Asked before a command sets a changed battle aside (an opened file, link or battle's bytes
/// replacing it, the program closing): the face asks the player, and may save first.
class ReplaceQuestion {
public:
    virtual ~ReplaceQuestion() = default;
    /// `question` is "Save changes to NAME?". True when the battle may go (saved or
    /// discarded), false when the player keeps it.
    virtual bool MaySetAside(const std::string& question) = 0;
};

}  // namespace kestrin
