#include "ui/grid/cell_editor.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>

namespace kestrin {

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    hide();
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        const QString text = QGuiApplication::clipboard()->text();
        if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\t'))) {
            emit CellsPasted(text);
            return;
        }
    }
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit Committed();
            return;
        case Qt::Key_Escape:
            emit Cancelled();
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            emit NavigationKey(event->key(), event->modifiers());
            return;
        default:
            QLineEdit::keyPressEvent(event);
    }
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A menu opening takes the focus only while it is open: its command finishes the edit
    // itself, and a menu closed without a choice gives the editor its focus back.
    if (event->reason() != Qt::PopupFocusReason && isVisible()) emit FocusLeft();
}

bool CellEditor::focusNextPrevChild(bool /*next*/) {
    // Tab moves between the grid's cells, not out of the grid: keyPressEvent has it.
    return false;
}

}  // namespace kestrin
