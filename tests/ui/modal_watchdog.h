#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QRect>
#include <QTimer>

#include <utility>
#include <vector>

namespace kestrin::testing {

/// A modal window the watchdog closed: a message box's texts and where it stood.
struct ClosedModal {
    QString text;     ///< a message box's text, or "<modal window>"
    QString details;  ///< a message box's detailed text
    QRect frame;      ///< the window's frame on the screen
};

/// Closes every modal window that appears, so that no dialog stops an unattended run, and
/// keeps what it closed. The ui_tests program runs one while each test class runs; a test
/// that expects a box takes it with Take(), and a box nobody took fails the class.
class ModalWatchdog {
public:
    ModalWatchdog() {
        current_ = this;
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { CloseModal(); });
        timer_.start();
    }
    ~ModalWatchdog() { current_ = nullptr; }
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

    /// The watchdog of the running test class.
    static ModalWatchdog& Current() { return *current_; }

    /// What was closed since the last Take, and forgets it.
    std::vector<ClosedModal> Take() { return std::exchange(closed_, {}); }

private:
    void CloseModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        closed_.push_back({box != nullptr ? box->text() : QStringLiteral("<modal window>"),
                           box != nullptr ? box->detailedText() : QString(), modal->frameGeometry()});
        modal->close();
    }

    static inline ModalWatchdog* current_ = nullptr;
    QTimer timer_;
    std::vector<ClosedModal> closed_;
};

}  // namespace kestrin::testing
