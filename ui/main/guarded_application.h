#pragma once

#include <QApplication>

namespace kestrin {

/// The desktop program's application object. Running out of memory in an event handler that
/// does not report it itself shows a message box instead of ending the program and the
/// battle with it.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    /// Delivers the event; an exhausted memory is reported and the event dropped.
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace kestrin
