#pragma once

#include <algorithm>

namespace kestrin {

/// A rectangle of grid cells, both corners included: what the grid's range selection covers.
/// Rows hidden inside it belong to it all the same.
struct CellRange {
    int firstCol = 0;  ///< leftmost column
    int firstRow = 0;  ///< top row
    int lastCol = 0;   ///< rightmost column
    int lastRow = 0;   ///< bottom row

    /// The range spanned by two corner cells given in any order.
    static CellRange Spanning(int colA, int rowA, int colB, int rowB) {
        return {std::min(colA, colB), std::min(rowA, rowB), std::max(colA, colB), std::max(rowA, rowB)};
    }
    /// Number of columns and of rows.
    int Columns() const { return lastCol - firstCol + 1; }
    int Rows() const { return lastRow - firstRow + 1; }
    /// Whether the range is one cell only.
    bool SingleCell() const { return firstCol == lastCol && firstRow == lastRow; }

    friend bool operator==(const CellRange&, const CellRange&) = default;
};

}  // namespace kestrin
