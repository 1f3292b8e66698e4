#pragma once

#include <array>

#include "sheet/row_visibility.h"
#include "sheet/sheet_layout.h"

namespace kestrin {

/// The grid's geometry in content pixels: column widths, row heights (0 for a hidden row),
/// where each starts, and which rows close a block with a race line. Row 0 is the heading
/// row, which the grid keeps fixed at the top; rows 1..65 form the scrolled body.
class GridLayout {
public:
    /// Height of the heading row and of every other shown row.
    static constexpr int kHeadingHeight = 26, kRowHeight = 18;
    /// Width of the caption columns and of the figure columns.
    static constexpr int kCaptionWidth = 120, kFigureWidth = 40;
    /// The narrowest a column can be dragged to.
    static constexpr int kMinimumWidth = 4;
    /// The lowest a row can be dragged to: a row of height 0 is a hidden row.
    static constexpr int kMinimumHeight = 4;

    /// Default widths, every row shown.
    GridLayout();

    /// A column's width.
    int ColumnWidth(int col) const { return widths_[col]; }
    /// Sets a column's width (at least kMinimumWidth).
    void SetColumnWidth(int col, int width);
    /// Widens a column to `width` if it is narrower; returns whether it grew.
    bool GrowColumn(int col, int width);
    /// Gives every column its default width again (SetupSheet).
    void ResetColumnWidths();
    /// Left edge of a column.
    int ColumnLeft(int col) const { return lefts_[col]; }
    /// Width of all columns together.
    int TotalWidth() const { return lefts_[sheet::kColumns]; }
    /// The column at content x, or -1 beyond the last one.
    int ColumnAt(int x) const;

    /// Takes the sheet's row visibility; returns whether anything changed.
    bool SetRows(const RowVisibility& rows);
    /// A row's height, 0 when hidden.
    int RowHeight(int row) const;
    /// Sets a body row's height (at least kMinimumHeight); a hidden row keeps it for when it
    /// is shown again.
    void SetRowHeight(int row, int height);
    /// Top of a body row (1..65) measured from the top of the body.
    int BodyRowTop(int row) const { return tops_[row]; }
    /// Height of all body rows together.
    int BodyHeight() const { return tops_[sheet::kRows]; }
    /// The shown body row at body y, or -1 below the last one.
    int BodyRowAt(int y) const;
    /// The nearest shown row after (step +1) or before (-1) `row` among rows 1..65, or `row`
    /// itself when there is none.
    int NextShownRow(int row, int step) const;
    /// Whether a race line runs under `row`: it is the last shown row at or above the end
    /// of a block, so a block whose last rows are hidden still closes with a line.
    bool RaceLineBelow(int row) const { return raceLineBelow_[row]; }

private:
    void UpdateLefts();
    void UpdateRows();

    std::array<int, sheet::kColumns> widths_{};
    std::array<int, sheet::kColumns + 1> lefts_{};
    std::array<bool, sheet::kRows> shown_{};
    std::array<int, sheet::kRows> heights_{};
    std::array<int, sheet::kRows + 1> tops_{};
    std::array<bool, sheet::kRows> raceLineBelow_{};
};

}  // namespace kestrin
