#include "ui/main/guarded_application.h"

#include <QMessageBox>

#include <new>

namespace kestrin {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(activeWindow(), "Kestrin", "Out of memory: the last command could not be completed");
        return false;
    }
}

}  // namespace kestrin
