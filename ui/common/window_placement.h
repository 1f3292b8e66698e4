#pragma once

class QWidget;

namespace kestrin {

/// Places a window in the middle of the primary screen's free area.
void CentreOnScreen(QWidget* window);

/// Shrinks a shown `window` to the free area of its screen (never below its minimum size) and
/// moves it so that its frame lies on the screen: no window opens partly off a small screen.
void KeepOnScreen(QWidget* window);

/// Places `window` to the right of `main` on main's screen, narrowing it down to its minimum
/// size when the screen is too narrow, moving `main` left when there is still no room, and
/// overlapping `main` when even that is not enough: the window always stays on the screen.
void PlaceBeside(QWidget* window, QWidget* main);

}  // namespace kestrin
