#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

class QPainter;

namespace kestrin {

/// A read-only table of fixed-size cells that its owner paints cell by cell. Optionally the
/// first row and column are headings that stay in place while the rest scrolls. One body
/// cell is current; mouse and arrow keys move it, and it is painted as focused while the
/// table has the keyboard focus.
class FixedCellTable : public QAbstractScrollArea {
    Q_OBJECT

public:
    /// Paints cell (col, row) into `rect` (viewport coordinates, clipped to what is visible).
    using CellPainter = std::function<void(QPainter& painter, int col, int row, const QRect& rect,
                                           bool focused)>;

    /// A table of `columns` x `rows` cells, `columnWidth` x `rowHeight` pixels each.
    FixedCellTable(int columns, int rows, int columnWidth, int rowHeight, QWidget* parent = nullptr);

    /// Keeps row 0 and column 0 in place while scrolling; they cannot become current.
    void SetFixedHeadings(bool fixed);
    /// Sets one column's width.
    void SetColumnWidth(int col, int width);
    /// Sets one row's height.
    void SetRowHeight(int row, int height);
    /// The function that paints every cell.
    void SetCellPainter(CellPainter painter);

    /// Number of columns.
    int ColumnCount() const { return static_cast<int>(lefts_.size()) - 1; }
    /// Number of rows.
    int RowCount() const { return static_cast<int>(tops_.size()) - 1; }
    /// Where cell (col, row) is, in viewport coordinates (possibly outside the viewport).
    QRect CellRect(int col, int row) const;
    /// The cell at a viewport position, or {-1, -1}.
    QPoint CellAt(QPoint viewportPos) const;

    /// The current cell's column.
    int CurrentColumn() const { return currentCol_; }
    /// The current cell's row.
    int CurrentRow() const { return currentRow_; }
    /// Makes (col, row) current, clamped to the body, and scrolls it into view.
    void SetCurrent(int col, int row);
    /// Scrolls so that cell (col, row) is wholly visible where the viewport allows.
    void EnsureVisible(int col, int row);
    /// Scrolls cell (col, row) into view and returns it as the table draws it.
    QImage RenderCell(int col, int row);

signals:
    /// The mouse went over cell (col, row), a heading included, or the cell became current.
    void CellPointed(int col, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int Fixed() const { return fixedHeadings_ ? 1 : 0; }
    int FixedWidth() const { return lefts_[Fixed()]; }
    int FixedHeight() const { return tops_[Fixed()]; }
    void PaintArea(QPainter& painter, const QRect& clip, int firstCol, int lastCol, int firstRow,
                   int lastRow);
    void UpdateSums();
    void UpdateScrollBars();

    std::vector<int> widths_;
    std::vector<int> heights_;
    std::vector<int> lefts_;  // left edge of each column, plus the total width at the end
    std::vector<int> tops_;   // top edge of each row, plus the total height at the end
    bool fixedHeadings_ = false;
    CellPainter painter_;
    int currentCol_ = 0;
    int currentRow_ = 0;
};

}  // namespace kestrin
