#include "window_placement.h"

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

void PlaceBeside(QWidget* window, QWidget* main) {
    constexpr int kGap = 8;
    const QRect screen = main->screen()->availableGeometry();
    const QRect beside = main->frameGeometry();
    const int room = screen.width() - beside.width() - kGap;
    window->resize(std::max(window->minimumSizeHint().width(), std::min(window->width(), room)), window->height());
    // Shift the main window only as far as the window needs.
    const int left = std::max(screen.left(), std::min(beside.left(), screen.right() + 1 - window->width() - kGap - beside.width()));
    main->move(left, beside.top());
    window->move(left + beside.width() + kGap, std::max(screen.top(), beside.top()));
}

}  // namespace kestrin
