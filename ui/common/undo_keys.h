#pragma once

class QWidget;

namespace kestrin {

class BattleDocument;

/// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in `window` undo and redo the battle's steps, as the main
/// window's "Undo" and "Redo" do. A text field with the focus keeps the keys for its own text.
void AddUndoKeys(QWidget& window, BattleDocument& document);

}  // namespace kestrin
