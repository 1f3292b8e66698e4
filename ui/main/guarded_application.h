#pragma once

#include <QApplication>

#include "ui/common/user_messages.h"

namespace kestrin {

/// Tells the user about the exception being handled (call it inside a catch block): running
/// out of memory, or anything else with what the exception says. Never throws: when even the
/// message cannot be shown, there is nothing left to tell it with.
void ReportFailedCommand(UserMessages& messages, QWidget* parent) noexcept;

/// The desktop program's application object. An exception that leaves an event handler
/// which does not report it itself (running out of memory, a thread that cannot start) shows
/// a message box instead of ending the program and the battle with it.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    /// Delivers the event; an exception is reported and the event dropped.
    bool notify(QObject* receiver, QEvent* event) override;

private:
    MessageBoxes messages_;
};

}  // namespace kestrin
