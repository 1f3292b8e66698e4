#include "ui/grid/grid_layout.h"

#include <algorithm>

namespace kestrin {

GridLayout::GridLayout() {
    shown_.fill(true);
    heights_.fill(kRowHeight);
    heights_[sheet::kHeadingRow] = kHeadingHeight;
    ResetColumnWidths();
    UpdateRows();
}

void GridLayout::ResetColumnWidths() {
    widths_.fill(kFigureWidth);
    widths_[sheet::kDefCaption] = kCaptionWidth;
    widths_[sheet::kAttCaption] = kCaptionWidth;
    UpdateLefts();
}

void GridLayout::SetColumnWidth(int col, int width) {
    widths_[col] = std::max(width, kMinimumWidth);
    UpdateLefts();
}

bool GridLayout::GrowColumn(int col, int width) {
    if (widths_[col] >= width) return false;
    SetColumnWidth(col, width);
    return true;
}

int GridLayout::ColumnAt(int x) const {
    if (x < 0) return -1;
    for (int col = 0; col < sheet::kColumns; ++col) {
        if (x < lefts_[col + 1]) return col;
    }
    return -1;
}

bool GridLayout::SetRows(const RowVisibility& rows) {
    bool changed = false;
    for (int row = 0; row < sheet::kRows; ++row) {
        // The heading row is always shown.
        const bool shown = row == sheet::kHeadingRow || rows.Shown(row);
        changed = changed || shown != shown_[row];
        shown_[row] = shown;
    }
    if (changed) UpdateRows();
    return changed;
}

int GridLayout::RowHeight(int row) const {
    return shown_[row] ? heights_[row] : 0;
}

void GridLayout::SetRowHeight(int row, int height) {
    // The heading row is fixed: everything below it is measured from its height.
    if (row == sheet::kHeadingRow) return;
    heights_[row] = std::max(height, kMinimumHeight);
    UpdateRows();
}

int GridLayout::BodyRowAt(int y) const {
    if (y < 0 || y >= BodyHeight()) return -1;
    // tops_ is sorted; the row is the last one starting at or above y with a height.
    const auto it = std::upper_bound(tops_.begin() + 1, tops_.end(), y);
    for (int row = static_cast<int>(it - tops_.begin()) - 1; row >= 1; --row) {
        if (shown_[row]) return y < tops_[row] + heights_[row] ? row : -1;
    }
    return -1;
}

int GridLayout::NextShownRow(int row, int step) const {
    for (int r = row + step; r >= 1 && r <= sheet::kLastRow; r += step) {
        if (shown_[r]) return r;
    }
    return row;
}

void GridLayout::UpdateLefts() {
    lefts_[0] = 0;
    for (int col = 0; col < sheet::kColumns; ++col) lefts_[col + 1] = lefts_[col] + widths_[col];
}

void GridLayout::UpdateRows() {
    // Body rows start at 0 below the heading; tops_[0] is unused and kept at 0.
    tops_[0] = 0;
    tops_[1] = 0;
    for (int row = 1; row < sheet::kRows; ++row) tops_[row + 1] = tops_[row] + RowHeight(row);

    raceLineBelow_.fill(false);
    for (int end : sheet::kBlockEnds) {
        int row = end;
        while (row > 0 && !shown_[row]) --row;
        raceLineBelow_[row] = true;
    }
}

}  // namespace kestrin
