#pragma once

#include <QString>
#include <QTableWidget>

#include <initializer_list>

namespace kestrin {

/// A read-only grid of text cells addressed as (column, row), the debug window's tables. The
/// first `fixedRows` rows and `fixedColumns` columns (none or one each) are headings that
/// stay in view while the rest scrolls; the columns can be widened by dragging the heading
/// row's edges. Every cell's full text shows in its tooltip.
class TextGrid : public QTableWidget {
    Q_OBJECT

public:
    /// A grid of `columns` x `rows` empty cells, headings included.
    TextGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget* parent = nullptr);

    /// The text of cell (col, row); empty outside the grid.
    QString Cell(int col, int row) const;
    /// Writes cell (col, row) and its tooltip; ignored outside the grid.
    void SetCell(int col, int row, const QString& text);
    /// Number of rows, heading rows included.
    int RowCount() const { return rowCount() + fixedRows_; }
    /// Cuts or extends to `rows` rows; rows kept keep their texts, new rows are empty.
    void SetRowCount(int rows) { setRowCount(rows - fixedRows_); }
    /// Widths of the first columns in pixels, left to right.
    void SetColumnWidths(std::initializer_list<int> widths);
    /// The same width for every column.
    void SetAllColumnWidths(int width);
    /// Heading texts that read upwards, for columns narrower than the names above them.
    void SetVerticalColumnHeadings();
    /// The width the grid asks for where there is room; its minimum may be less (it scrolls).
    void SetPreferredWidth(int width) {
        preferredWidth_ = width;
        updateGeometry();
    }
    QSize sizeHint() const override {
        return preferredWidth_ > 0 ? QSize(preferredWidth_, QTableWidget::sizeHint().height()) : QTableWidget::sizeHint();
    }

private:
    QTableWidgetItem* HeadingItem(int col, int row) const;
    void SetUpColumnHeader();

    int fixedColumns_;
    int fixedRows_;
    QString corner_;
    int preferredWidth_ = 0;
};

}  // namespace kestrin
