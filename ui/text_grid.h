#pragma once

#include <QTableWidget>

#include <initializer_list>

namespace kestrin {

/// A read-only grid of text cells addressed as (column, row) with row 0 and column 0 as
/// ordinary cells: the debug window's tables, whose heading row and name column are part
/// of the contents. The first `fixedRows` rows and `fixedColumns` columns are shaded.
class TextGrid : public QTableWidget {
    Q_OBJECT

public:
    /// A grid of `columns` x `rows` empty cells.
    TextGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent = nullptr);

    /// The text of cell (col, row); empty outside the grid.
    QString Cell(int col, int row) const;
    /// Writes cell (col, row); ignored outside the grid.
    void SetCell(int col, int row, const QString& text);
    /// Number of rows, heading rows included.
    int RowCount() const { return rowCount(); }
    /// Cuts or extends to `rows` rows; rows kept keep their texts, new rows are empty.
    void SetRowCount(int rows) { setRowCount(rows); }
    /// Widths of the first columns in pixels, left to right.
    void SetColumnWidths(std::initializer_list<int> widths);
    /// The same width for every column.
    void SetAllColumnWidths(int width);

private:
    int fixedColumns_;
    int fixedRows_;
};

}  // namespace kestrin
