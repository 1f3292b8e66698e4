#pragma once

#include <QRect>

class QWidget;

namespace kestrin {

/// Places a window in the middle of the primary screen's free area.
void CentreOnScreen(QWidget* window);

/// Shrinks a shown `window` to the free area of its screen (never below its minimum size) and
/// moves it so that its frame lies on the screen: no window opens partly off a small screen.
void KeepOnScreen(QWidget* window);

/// Places `window` on main's screen beside `main`, never over `keep` (a part of `main`, in
/// main's own coordinates; empty: the whole of it). To the right of main when there is room
/// for the window's minimum width, main moving left as far as needed; else main goes to the
/// screen's right edge and the window to its left, covering main only left of `keep`. The
/// window narrows to the room (never below its minimum size) and always stays on the screen.
void PlaceBeside(QWidget* window, QWidget* main, QRect keep = {});

}  // namespace kestrin
