#pragma once

#include <QLineEdit>

namespace kestrin {

/// The grid's in-place editor: a frameless line edit over the cell being typed into. It
/// takes any text; keys that belong to the grid (Enter, Escape, moving to another cell) are
/// handed back as signals.
class CellEditor : public QLineEdit {
    Q_OBJECT

public:
    /// A hidden editor inside `parent` (the grid's viewport).
    explicit CellEditor(QWidget* parent);

signals:
    /// Enter or Return: the typed text is final.
    void Committed();
    /// Escape: the cell gets its text from before the editing back.
    void Cancelled();
    /// A key that moves to another cell (arrows up and down, Tab, page keys).
    void NavigationKey(int key, Qt::KeyboardModifiers modifiers);
    /// The keyboard focus went elsewhere (another widget or window), not to a popup menu.
    void FocusLeft();
    /// A paste of several cells (lines or tab-separated fields), which one cell cannot hold:
    /// it goes to the grid's paste from this cell on.
    void CellsPasted(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace kestrin
