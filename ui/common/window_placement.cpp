#include "ui/common/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kestrin {

namespace {

constexpr int kGap = 8;

// The frame's thickness around a window: known once it is shown, else taken to be main's.
QSize Border(const QWidget* window, const QWidget* main) {
    const QWidget* known = window->isVisible() ? window : main;
    return known->frameGeometry().size() - known->size();
}

}  // namespace

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
    const QSize smallest = window->minimumSizeHint();
    window->resize(std::max(smallest.width(), std::min(window->width(), screen.width() - border.width())),
                   std::max(smallest.height(), std::min(window->height(), screen.height() - border.height())));
    const QRect frame = window->frameGeometry();
    window->move(std::clamp(frame.left(), screen.left(), std::max(screen.left(), screen.right() + 1 - frame.width())),
                 std::clamp(frame.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - frame.height())));
}

void PlaceBeside(QWidget* window, QWidget* main, QRect keep) {
    const QRect screen = main->screen()->availableGeometry();
    const QRect beside = main->frameGeometry();
    const QSize border = Border(window, main);
    // What the layout needs now, not the minimum it set for the layout it had before.
    const QSize smallest = window->minimumSizeHint();
    // How much of main's frame, from its right edge, must stay uncovered.
    const int kept = keep.isEmpty() ? beside.width() : beside.right() + 1 - main->mapToGlobal(keep.topLeft()).x();
    const int roomRight = screen.width() - beside.width() - kGap - border.width();
    const bool right = roomRight >= smallest.width();
    const int room = right ? roomRight : screen.width() - kept - kGap - border.width();
    window->resize(std::max(smallest.width(), std::min(window->width(), room)),
                   std::max(smallest.height(), std::min(window->height(), screen.height() - border.height())));
    const QSize frame = window->size() + border;
    int mainLeft = screen.right() + 1 - beside.width();
    int x = screen.left();
    if (right) {
        // Main moves left only as far as the window needs.
        mainLeft = std::max(screen.left(), std::min(beside.left(), screen.right() + 1 - frame.width() - kGap - beside.width()));
        x = mainLeft + beside.width() + kGap;
    }
    main->move(std::max(screen.left(), mainLeft), beside.top());
    // A screen too narrow even for that: the window stays on it, over main.
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - frame.width()));
    const int y = std::max(screen.top(), std::min(beside.top(), screen.bottom() + 1 - frame.height()));
    window->move(x, y);
}

}  // namespace kestrin
