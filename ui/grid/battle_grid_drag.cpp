// BattleGrid's mouse drags and the range selection: a column resizes from its edge in the
// heading row, a row from its lower edge in a caption column, and a drag from a selected
// cell (or Shift with a click or the movement keys) selects a range.
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "ui/grid/battle_grid.h"

namespace kestrin {
namespace {

/// How far from an edge, in pixels, the pointer still grabs it.
constexpr int kGrabDistance = 2;

bool NearEdge(int position, int edge) {
    return position >= edge - kGrabDistance - 1 && position <= edge + kGrabDistance - 1;
}

}  // namespace

CellRange BattleGrid::SelectedRange() const {
    return CellRange::Spanning(anchorCol_, anchorRow_, currentCol_, currentRow_);
}

void BattleGrid::SelectRange(int anchorCol, int anchorRow, int col, int row) {
    anchorCol_ = anchorCol;
    anchorRow_ = anchorRow;
    SelectCell(col, row, false, true);
}

int BattleGrid::ResizeEdgeAt(QPoint viewportPos) const {
    if (viewportPos.y() < 0 || viewportPos.y() >= GridLayout::kHeadingHeight) return -1;
    const int x = viewportPos.x() + horizontalScrollBar()->value();
    for (int col = 0; col < sheet::kColumns; ++col) {
        if (NearEdge(x, layout_.ColumnLeft(col + 1))) return col;
    }
    return -1;
}

int BattleGrid::RowEdgeAt(QPoint viewportPos) const {
    // The caption columns stand for the row headings the grid does not have.
    const int col = layout_.ColumnAt(viewportPos.x() + horizontalScrollBar()->value());
    if (viewportPos.y() < GridLayout::kHeadingHeight) return -1;
    if (col != sheet::kDefCaption && col != sheet::kAttCaption) return -1;
    const int y = viewportPos.y() - GridLayout::kHeadingHeight + verticalScrollBar()->value();
    for (int row = sheet::kFirstUnitRow; row < sheet::kRows; ++row) {
        if (layout_.RowHeight(row) > 0 && NearEdge(y, layout_.BodyRowTop(row) + layout_.RowHeight(row))) return row;
    }
    return -1;
}

bool BattleGrid::StartResize(QPoint pos) {
    resizingColumn_ = ResizeEdgeAt(pos);
    if (resizingColumn_ >= 0) {
        resizeGrabOffset_ = pos.x() + horizontalScrollBar()->value() - layout_.ColumnLeft(resizingColumn_ + 1);
        return true;
    }
    resizingRow_ = RowEdgeAt(pos);
    if (resizingRow_ < 0) return false;
    const int bottom = layout_.BodyRowTop(resizingRow_) + layout_.RowHeight(resizingRow_);
    resizeGrabOffset_ = pos.y() - GridLayout::kHeadingHeight + verticalScrollBar()->value() - bottom;
    return true;
}

void BattleGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (resizingColumn_ >= 0) {
        const int right = pos.x() + horizontalScrollBar()->value() - resizeGrabOffset_;
        SetColumnWidth(resizingColumn_, right - layout_.ColumnLeft(resizingColumn_));
        return;
    }
    if (resizingRow_ >= 0) {
        const int bottom = pos.y() - GridLayout::kHeadingHeight + verticalScrollBar()->value() - resizeGrabOffset_;
        SetRowHeight(resizingRow_, bottom - layout_.BodyRowTop(resizingRow_));
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        dragPos_ = pos;
        ExtendSelectionTo(pos);
        if (viewport()->rect().contains(pos)) dragScrollTimer_->stop();
        else if (!dragScrollTimer_->isActive()) dragScrollTimer_->start();
        return;
    }
    const bool free = event->buttons() == Qt::NoButton;
    if (free && ResizeEdgeAt(pos) >= 0) viewport()->setCursor(Qt::SplitHCursor);
    else if (free && RowEdgeAt(pos) >= 0) viewport()->setCursor(Qt::SplitVCursor);
    else viewport()->setCursor(ModeCursor());
}

void BattleGrid::ExtendSelectionTo(QPoint pos) {
    // Beyond the grid's edges the drag keeps to the nearest cell, scrolling toward it.
    if (layout_.BodyHeight() == 0) return;
    const int x = std::clamp(pos.x() + horizontalScrollBar()->value(), 0, layout_.TotalWidth() - 1);
    const int y = std::clamp(pos.y() - GridLayout::kHeadingHeight + verticalScrollBar()->value(), 0,
                             layout_.BodyHeight() - 1);
    const int col = layout_.ColumnAt(x);
    const int row = layout_.BodyRowAt(y);
    if (col < 0 || row < 0 || (col == currentCol_ && row == currentRow_)) return;
    // The press selected (and recalculated); widening the range changes no figure.
    SelectCell(col, row, false, true);
}

void BattleGrid::DragScrollTick() {
    if (!selecting_) {
        dragScrollTimer_->stop();
        return;
    }
    // The last step scrolled its cell into view, so the same point now lies a cell further on.
    ExtendSelectionTo(dragPos_);
}

void BattleGrid::PaintSelection(QPainter& painter) {
    const CellRange range = SelectedRange();
    // A single selected cell has only its focus rectangle.
    if (range.SingleCell()) return;
    const int scrollX = horizontalScrollBar()->value();
    const int scrollY = verticalScrollBar()->value() - GridLayout::kHeadingHeight;
    const QRect area(QPoint(layout_.ColumnLeft(range.firstCol) - scrollX, layout_.BodyRowTop(range.firstRow) - scrollY),
                     QPoint(layout_.ColumnLeft(range.lastCol + 1) - scrollX - 1,
                            layout_.BodyRowTop(range.lastRow + 1) - scrollY - 1));
    // Translucent, so that the cells keep telling their colours apart underneath.
    QColor tint = palette().color(QPalette::Highlight);
    tint.setAlpha(90);
    painter.fillRect(area, tint);
    painter.setPen(palette().color(QPalette::Highlight).lighter(130));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace kestrin
