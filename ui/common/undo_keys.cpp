#include "ui/common/undo_keys.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include "sheet/battle_document.h"

namespace kestrin {

void AddUndoKeys(QWidget& window, BattleDocument& document) {
    auto* undo = new QAction(QStringLiteral("Undo"), &window);
    undo->setShortcut(QKeySequence::Undo);
    QObject::connect(undo, &QAction::triggered, &window, [&document] { document.Undo(); });
    auto* redo = new QAction(QStringLiteral("Redo"), &window);
    redo->setShortcuts({QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    QObject::connect(redo, &QAction::triggered, &window, [&document] { document.Redo(); });
    for (QAction* action : {undo, redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        window.addAction(action);
    }
}

}  // namespace kestrin
