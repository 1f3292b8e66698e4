#pragma once

class QComboBox;

namespace kestrin {

/// Makes a drop-down list open as a list of at most `entries` names, scrolled, whatever the
/// style: some styles open a drop-down that cannot be typed into as a menu as tall as the
/// screen, ignoring the combo box's maximum of visible items.
void LimitVisibleEntries(QComboBox* combo, int entries);

}  // namespace kestrin
