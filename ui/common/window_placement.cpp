#include "ui/common/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kestrin {

void CentreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

void KeepOnScreen(QWidget* window) {
    const QRect screen = window->screen()->availableGeometry();
    const QSize border = window->frameGeometry().size() - window->size();
    window->resize(std::max(window->minimumSizeHint().width(), std::min(window->width(), screen.width() - border.width())),
                   std::max(window->minimumSizeHint().height(), std::min(window->height(), screen.height() - border.height())));
    const QRect frame = window->frameGeometry();
    window->move(std::clamp(frame.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width())),
                 std::clamp(frame.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height())));
}

void PlaceBeside(QWidget* window, QWidget* main) {
    constexpr int kGap = 8;
    const QRect screen = main->screen()->availableGeometry();
    const QRect beside = main->frameGeometry();
    const int room = screen.width() - beside.width() - kGap;
    window->resize(std::max(window->minimumSizeHint().width(), std::min(window->width(), room)),
                   std::max(window->minimumSizeHint().height(), std::min(window->height(), screen.height())));
    // Shift the main window only as far as the window needs.
    const int left = std::max(screen.left(), std::min(beside.left(), screen.right() + 1 - window->width() - kGap - beside.width()));
    main->move(left, beside.top());
    // A screen too narrow for both even then: the window overlaps the main window's right
    // part rather than leave the screen. A shown window's frame is known, else it is taken
    // to be as thick as main's.
    const QSize frame = window->size() + (window->isVisible() ? window->frameGeometry().size() - window->size()
                                                              : beside.size() - main->size());
    const int x = std::max(screen.left(), std::min(left + beside.width() + kGap, screen.right() + 1 - frame.width()));
    const int y = std::max(screen.top(), std::min(beside.top(), screen.bottom() + 1 - frame.height()));
    window->move(x, y);
}

}  // namespace kestrin
