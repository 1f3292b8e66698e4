#include "ui/main/guarded_application.h"

#include <exception>
#include <new>

namespace kestrin {

void ReportFailedCommand(UserMessages& messages, QWidget* parent) noexcept {
    try {
        QString text;
        try {
            throw;
        } catch (const std::bad_alloc&) {
            text = "Out of memory: the last command could not be completed";
        } catch (const std::exception& failure) {
            text = QString("The last command could not be completed: ") + failure.what();
        } catch (...) {
            text = "The last command could not be completed";
        }
        messages.Error(parent, text);
    } catch (...) {
        // No memory even for the message: the program goes on without it.
    }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportFailedCommand(messages_, activeWindow());
        return false;
    }
}

}  // namespace kestrin
