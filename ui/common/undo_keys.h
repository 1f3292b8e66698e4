#pragma once

class QWidget;

namespace kestrin {

class BattleDocument;

/// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in `window` undo and redo the battle's steps, as the main
/// window's "Undo" and "Redo" do, whatever has the focus (a button, a table, a read-only
/// text), except a text field with an undo of its own (an editable line, text area or spin
/// box), which keeps the keys for its text.
void AddUndoKeys(QWidget& window, BattleDocument& document);

/// Whether `widget`, holding the focus, keeps the undo keys for a text of its own.
bool KeepsOwnUndo(const QWidget* widget);

}  // namespace kestrin
