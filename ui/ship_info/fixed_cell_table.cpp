#include "ui/ship_info/fixed_cell_table.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <numeric>
#include <utility>

namespace kestrin {

FixedCellTable::FixedCellTable(int columns, int rows, int columnWidth, int rowHeight, QWidget* parent)
    : QAbstractScrollArea(parent),
      widths_(static_cast<std::size_t>(columns), columnWidth),
      heights_(static_cast<std::size_t>(rows), rowHeight) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    UpdateSums();
}

void FixedCellTable::SetFixedHeadings(bool fixed) {
    fixedHeadings_ = fixed;
    SetCurrent(currentCol_, currentRow_);
    UpdateScrollBars();
}

void FixedCellTable::SetColumnWidth(int col, int width) {
    widths_[static_cast<std::size_t>(col)] = width;
    UpdateSums();
}

void FixedCellTable::SetRowHeight(int row, int height) {
    heights_[static_cast<std::size_t>(row)] = height;
    UpdateSums();
}

void FixedCellTable::SetCellPainter(CellPainter painter) {
    painter_ = std::move(painter);
    viewport()->update();
}

void FixedCellTable::UpdateSums() {
    lefts_.assign(widths_.size() + 1, 0);
    tops_.assign(heights_.size() + 1, 0);
    std::partial_sum(widths_.begin(), widths_.end(), lefts_.begin() + 1);
    std::partial_sum(heights_.begin(), heights_.end(), tops_.begin() + 1);
    UpdateScrollBars();
    viewport()->update();
}

void FixedCellTable::UpdateScrollBars() {
    const QSize view = viewport()->size();
    // Scrolling shows the body beside the headings, so a page is what is left of the view.
    horizontalScrollBar()->setRange(0, std::max(0, lefts_.back() - view.width()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width() - FixedWidth()));
    horizontalScrollBar()->setSingleStep(widths_.back());
    verticalScrollBar()->setRange(0, std::max(0, tops_.back() - view.height()));
    verticalScrollBar()->setPageStep(std::max(1, view.height() - FixedHeight()));
    verticalScrollBar()->setSingleStep(heights_.back());
}

QRect FixedCellTable::CellRect(int col, int row) const {
    const int x = lefts_[col] - (col < Fixed() ? 0 : horizontalScrollBar()->value());
    const int y = tops_[row] - (row < Fixed() ? 0 : verticalScrollBar()->value());
    return {x, y, widths_[col], heights_[row]};
}

QPoint FixedCellTable::CellAt(QPoint viewportPos) const {
    const auto find = [](const std::vector<int>& starts, int fixedEnd, int pos, int scroll) {
        if (pos < 0) return -1;
        const int content = pos < fixedEnd ? pos : pos + scroll;
        const auto next = std::upper_bound(starts.begin(), starts.end(), content);
        if (next == starts.end()) return -1;
        return static_cast<int>(next - starts.begin()) - 1;
    };
    const int col = find(lefts_, FixedWidth(), viewportPos.x(), horizontalScrollBar()->value());
    const int row = find(tops_, FixedHeight(), viewportPos.y(), verticalScrollBar()->value());
    if (col < 0 || row < 0) return {-1, -1};
    return {col, row};
}

void FixedCellTable::SetCurrent(int col, int row) {
    currentCol_ = std::clamp(col, Fixed(), ColumnCount() - 1);
    currentRow_ = std::clamp(row, Fixed(), RowCount() - 1);
    EnsureVisible(currentCol_, currentRow_);
    viewport()->update();
    emit CellPointed(currentCol_, currentRow_);
}

void FixedCellTable::EnsureVisible(int col, int row) {
    const auto scrollTo = [](QScrollBar* bar, int start, int end, int fixedEnd, int viewEnd) {
        int value = bar->value();
        if (start - value < fixedEnd) value = start - fixedEnd;
        else if (end - value > viewEnd) value = std::min(end - viewEnd, start - fixedEnd);
        bar->setValue(value);
    };
    if (col >= Fixed())
        scrollTo(horizontalScrollBar(), lefts_[col], lefts_[col + 1], FixedWidth(), viewport()->width());
    if (row >= Fixed())
        scrollTo(verticalScrollBar(), tops_[row], tops_[row + 1], FixedHeight(), viewport()->height());
}

QImage FixedCellTable::RenderCell(int col, int row) {
    EnsureVisible(col, row);
    return viewport()->grab(CellRect(col, row)).toImage();
}

void FixedCellTable::paintEvent(QPaintEvent* event) {
    if (!painter_) return;
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int last = ColumnCount() - 1, lastRow = RowCount() - 1;
    const int fw = FixedWidth(), fh = FixedHeight();
    const int w = viewport()->width(), h = viewport()->height();
    const int f = Fixed();
    PaintArea(painter, QRect(fw, fh, w - fw, h - fh).intersected(area), f, last, f, lastRow);
    if (!fixedHeadings_) return;
    PaintArea(painter, QRect(fw, 0, w - fw, fh).intersected(area), 1, last, 0, 0);
    PaintArea(painter, QRect(0, fh, fw, h - fh).intersected(area), 0, 0, 1, lastRow);
    PaintArea(painter, QRect(0, 0, fw, fh).intersected(area), 0, 0, 0, 0);
}

void FixedCellTable::PaintArea(QPainter& painter, const QRect& clip, int firstCol, int lastCol,
                               int firstRow, int lastRow) {
    if (clip.isEmpty()) return;
    const bool tableFocused = hasFocus();
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const QRect rect = CellRect(col, row);
            const QRect visible = rect.intersected(clip);
            if (visible.isEmpty()) continue;
            // Each cell paints inside itself only: long names are cut at the cell's edge.
            painter.save();
            painter.setClipRect(visible);
            painter_(painter, col, row, rect, tableFocused && col == currentCol_ && row == currentRow_);
            painter.restore();
        }
    }
}

void FixedCellTable::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void FixedCellTable::scrollContentsBy(int /*dx*/, int /*dy*/) { viewport()->update(); }

void FixedCellTable::mousePressEvent(QMouseEvent* event) {
    const QPoint cell = CellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.x() >= Fixed() && cell.y() >= Fixed())
        SetCurrent(cell.x(), cell.y());
    QAbstractScrollArea::mousePressEvent(event);
}

void FixedCellTable::mouseMoveEvent(QMouseEvent* event) {
    const QPoint cell = CellAt(event->position().toPoint());
    if (cell.x() >= 0 && cell.y() >= 0) emit CellPointed(cell.x(), cell.y());
    QAbstractScrollArea::mouseMoveEvent(event);
}

void FixedCellTable::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: SetCurrent(currentCol_ - 1, currentRow_); break;
        case Qt::Key_Right: SetCurrent(currentCol_ + 1, currentRow_); break;
        case Qt::Key_Up: SetCurrent(currentCol_, currentRow_ - 1); break;
        case Qt::Key_Down: SetCurrent(currentCol_, currentRow_ + 1); break;
        case Qt::Key_Home: SetCurrent(0, currentRow_); break;
        case Qt::Key_End: SetCurrent(ColumnCount() - 1, currentRow_); break;
        default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void FixedCellTable::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void FixedCellTable::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace kestrin
