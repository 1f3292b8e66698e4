#include "ui/common/undo_keys.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include "sheet/battle_document.h"

namespace kestrin {

namespace {

enum class UndoKey { None, Undo, Redo };

UndoKey KeyOf(const QKeyEvent& event) {
    if (event.matches(QKeySequence::Undo)) return UndoKey::Undo;
    const QKeyCombination key = event.keyCombination();
    if (event.matches(QKeySequence::Redo) || key == QKeyCombination(Qt::ControlModifier, Qt::Key_Y) ||
        key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z))
        return UndoKey::Redo;
    return UndoKey::None;
}

// The keys are taken before any widget or shortcut sees them: a text edit with no undo of
// its own would claim them and do nothing, and a tool window's parent holds the same keys in
// its menu, which would make the shortcut ambiguous.
class UndoKeyFilter : public QObject {
public:
    UndoKeyFilter(QWidget& window, BattleDocument& document) : QObject(&window), window_(window), document_(document) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != &window_ || KeepsOwnUndo(widget)) return false;
        const UndoKey key = KeyOf(*static_cast<QKeyEvent*>(event));
        if (key == UndoKey::None) return false;
        // The override claims the key for the widget, so that it comes back as a key press,
        // where the step is taken once.
        event->accept();
        if (type == QEvent::KeyPress) key == UndoKey::Undo ? document_.Undo() : document_.Redo();
        return true;
    }

private:
    QWidget& window_;
    BattleDocument& document_;
};

}  // namespace

bool KeepsOwnUndo(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget)) return !line->isReadOnly();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget)) return !spin->isReadOnly();
    if (const auto* combo = qobject_cast<const QComboBox*>(widget)) return combo->isEditable();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return !text->isReadOnly() && text->isUndoRedoEnabled();
    if (const auto* text = qobject_cast<const QTextEdit*>(widget))
        return !text->isReadOnly() && text->isUndoRedoEnabled();
    return false;
}

void AddUndoKeys(QWidget& window, BattleDocument& document) {
    // Key events go to the focused widget, which may be any child of the window.
    qApp->installEventFilter(new UndoKeyFilter(window, document));
}

}  // namespace kestrin
