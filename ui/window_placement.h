#pragma once

class QWidget;

namespace kestrin {

/// Places a window in the middle of the primary screen's free area.
void CentreOnScreen(QWidget* window);

}  // namespace kestrin
