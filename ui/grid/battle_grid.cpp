#include "ui/grid/battle_grid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>

#include <algorithm>

#include "ui/grid/cell_editor.h"
#include "ui/grid/cell_style.h"
#include "ui/grid/grid_painter.h"

namespace kestrin {
namespace {

/// The spin timer's period: up to fifty steps a second while a count is held.
constexpr int kSpinIntervalMs = 20;
// A range dragged past the edge grows by a row or column this often.
constexpr int kDragScrollIntervalMs = 50;
/// Free pixels the "Total Units" figure keeps beside its text; its column widens to fit.
constexpr int kTotalsMargin = 4;

QFont GridFont() {
    // Arial 8 pt; where Arial is missing, the font matcher's metric-compatible stand-in.
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

BattleGrid::BattleGrid(BattleDocument& document, const Appearance& appearance, QWidget* parent)
    : QAbstractScrollArea(parent),
      document_(document),
      sheet_(document.Sheet()),
      appearance_(appearance),
      widths_(GridFont()),
      setupCount_(document.Sheet().SetupCount()),
      dragScrollTimer_(new QTimer(this)),
      gridTimer_(new QTimer(this)),
      editor_(new CellEditor(viewport())),
      // A window of its own, like a tooltip: it may reach past the grid's edge.
      notice_(new QLabel(this, Qt::ToolTip)),
      noticeTimer_(new QTimer(this)) {
    setObjectName(QStringLiteral("BattleGrid"));
    setFont(GridFont());
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    black.setColor(QPalette::Base, Qt::black);
    setPalette(black);
    viewport()->setPalette(black);
    viewport()->setAutoFillBackground(true);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);

    gridTimer_->setObjectName(QStringLiteral("GridTimer"));
    gridTimer_->setInterval(kSpinIntervalMs);
    connect(gridTimer_, &QTimer::timeout, this, &BattleGrid::GridTimerTimer);
    dragScrollTimer_->setInterval(kDragScrollIntervalMs);
    connect(dragScrollTimer_, &QTimer::timeout, this, &BattleGrid::DragScrollTick);

    connect(editor_, &CellEditor::Committed, this, &BattleGrid::EnterKey);
    connect(editor_, &CellEditor::Cancelled, this, &BattleGrid::CloseEditor);
    connect(editor_, &CellEditor::NavigationKey, this, &BattleGrid::EditorNavigation);
    connect(editor_, &CellEditor::FocusLeft, this, &BattleGrid::FinishEdit);
    // The paste fills the cells from the one being edited on, in place of what was typed.
    connect(editor_, &CellEditor::CellsPasted, this, [this](const QString& text) {
        CloseEditor();
        PasteText(text);
    });
    // Focus given back to the closed editor (a menu bar returns it to the widget that had it)
    // goes to the grid, so that keys never go on into a hidden editor.
    editor_->setFocusProxy(this);
    BuildNotice();

    layout_.SetRows(sheet_.Rows());
    GrowColumnsToTotals();
    UpdateGeometry();
    document_.SetOpenEdit(this);
    document_.AddView(this);
}

BattleGrid::~BattleGrid() {
    document_.RemoveView(this);
    document_.SetOpenEdit(nullptr);
}

void BattleGrid::SetInputMode(InputMode mode) {
    mode_ = mode;
    if (mode_ == InputMode::Spin) FinishEdit();
    viewport()->setCursor(mode_ == InputMode::Edit ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void BattleGrid::SheetChanged() {
    layout_.SetRows(sheet_.Rows());
    // SetupSheet in the window also lays the columns out, undoing what was dragged.
    if (sheet_.SetupCount() != setupCount_) {
        setupCount_ = sheet_.SetupCount();
        layout_.ResetColumnWidths();
    }
    KeepCurrentShown();
    GrowColumnsToTotals();
    UpdateGeometry();
    viewport()->update();
}

void BattleGrid::SetDrawingSuspended(bool suspended) {
    if (drawingSuspended_ == suspended) return;
    drawingSuspended_ = suspended;
    if (!suspended) SheetChanged();
}

void BattleGrid::SetRowHeight(int row, int height) {
    layout_.SetRowHeight(row, height);
    UpdateGeometry();
    viewport()->update();
}

void BattleGrid::SetColumnWidth(int col, int width) {
    layout_.SetColumnWidth(col, width);
    // The totals row must still fit: a column never becomes narrower than "Total Units".
    GrowColumnsToTotals();
    UpdateGeometry();
    viewport()->update();
}

QRect BattleGrid::CellRect(int col, int row) const {
    const int x = layout_.ColumnLeft(col) - horizontalScrollBar()->value();
    const int width = layout_.ColumnWidth(col);
    if (row == sheet::kHeadingRow) return {x, 0, width, GridLayout::kHeadingHeight};
    const int y = GridLayout::kHeadingHeight + layout_.BodyRowTop(row) - verticalScrollBar()->value();
    return {x, y, width, layout_.RowHeight(row)};
}

QString BattleGrid::ShownText(int col, int row) const {
    return CellTextToShow(sheet_, widths_, col, row, layout_.ColumnWidth(col));
}

QString BattleGrid::CellToolTip(int col, int row) const {
    const QString full = FullCellText(sheet_.Cells(), col, row, sheet_.ReportView(), sheet_.Locale());
    return full == ShownText(col, row) ? QString() : full;
}

// A figure shortened to k or m shows in full on hover, as the results panel's boxes do.
bool BattleGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const CellPos cell = CellAt(help->pos());
    const QString tip = cell.Valid() ? CellToolTip(cell.col, cell.row) : QString();
    if (tip.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip, viewport(), CellRect(cell.col, cell.row));
    }
    return true;
}

void BattleGrid::SetPopupMenu(QMenu* popup, QAction* shipStatsItem) {
    if (shipStatsItem_ != nullptr) disconnect(shipStatsItem_, nullptr, this, nullptr);
    popup_ = popup;
    shipStatsItem_ = shipStatsItem;
    if (shipStatsItem_ == nullptr) return;
    connect(shipStatsItem_, &QAction::triggered, this,
            [this] { emit ShipStatsChosen(statsShip_, statsSide_); });
}

void BattleGrid::StopSpin() {
    gridTimer_->stop();
    spin_.Release();
    if (spinChangeOpen_) {
        spinChangeOpen_ = false;
        document_.EndHold();
    }
}

void BattleGrid::HoldEnded() {
    gridTimer_->stop();
    spin_.Release();
    spinChangeOpen_ = false;
}

void BattleGrid::FinishEdit() {
    StopSpin();
    CommitEditor();
}

void BattleGrid::Notice(const DocumentNotice& notice) {
    // The main window tells what concerns the battle as a whole.
    if (notice.col < 0 || notice.row < 0) return;
    ShowNotice(notice.col, notice.row, QString::fromStdString(notice.text));
}

// Typing must never reach a cell out of sight: a hidden current cell gives way to the nearest
// shown row, the one below on a tie. With no row shown it stays, and takes no input.
void BattleGrid::KeepCurrentShown() {
    if (CurrentShown()) return;
    for (int distance = 1; distance < sheet::kRows; ++distance) {
        for (int row : {currentRow_ + distance, currentRow_ - distance}) {
            if (row > sheet::kHeadingRow && row < sheet::kRows && layout_.RowHeight(row) > 0) {
                currentRow_ = row;
                anchorCol_ = currentCol_;
                anchorRow_ = currentRow_;
                EnsureVisible(currentCol_, currentRow_);
                return;
            }
        }
    }
}

void BattleGrid::Recalculate() {
    document_.Recalculate();
    ShowRecalculation();
}

void BattleGrid::ShowRecalculation() {
    GrowColumnsToTotals();
    UpdateGeometry();
    viewport()->update();
    emit Recalculated();
}

bool BattleGrid::GrowColumnsToTotals() {
    bool grew = false;
    for (int col = 0; col < sheet::kColumns; ++col) {
        if (col == sheet::kDefCaption || col == sheet::kAttCaption) continue;
        const QString total = FullCellText(sheet_.Cells(), col, sheet::kTotalUnitsRow,
                                           sheet_.ReportView(), sheet_.Locale());
        grew = layout_.GrowColumn(col, widths_.Width(total, false) + kTotalsMargin) || grew;
    }
    if (grew) emit ColumnsGrew();
    return grew;
}

void BattleGrid::UpdateGeometry() {
    const QSize view = viewport()->size();
    const int bodyView = std::max(0, view.height() - GridLayout::kHeadingHeight);
    horizontalScrollBar()->setRange(0, std::max(0, layout_.TotalWidth() - view.width()));
    horizontalScrollBar()->setPageStep(view.width());
    horizontalScrollBar()->setSingleStep(GridLayout::kFigureWidth);
    verticalScrollBar()->setRange(0, std::max(0, layout_.BodyHeight() - bodyView));
    verticalScrollBar()->setPageStep(bodyView);
    verticalScrollBar()->setSingleStep(GridLayout::kRowHeight);
    PlaceEditor();
    PlaceNotice();
}

void BattleGrid::DrawCell(QPainter& painter, int col, int row, const QRect& rect, bool focused) {
    if (drawingSuspended_) return;
    GridPainter(painter, sheet_, appearance_, layout_, widths_).DrawCell(col, row, rect, focused);
}

void BattleGrid::paintEvent(QPaintEvent* event) {
    if (drawingSuspended_) return;
    // Cells changed without SheetChanged still get their totals' width; the scroll range
    // follows once painting is over.
    if (GrowColumnsToTotals()) QTimer::singleShot(0, this, [this] { UpdateGeometry(); });
    const QRect area = event->rect();
    QPainter painter(viewport());
    painter.fillRect(area, Qt::black);
    const int scrollX = horizontalScrollBar()->value();
    const int firstCol = layout_.ColumnAt(area.left() + scrollX);
    if (firstCol < 0) return;
    const int lastColAt = layout_.ColumnAt(area.right() + scrollX);
    const int lastCol = lastColAt < 0 ? sheet::kColumns - 1 : lastColAt;
    const bool gridFocused = hasFocus();
    const auto paintRow = [&](int row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            const bool focused = gridFocused && col == currentCol_ && row == currentRow_;
            DrawCell(painter, col, row, CellRect(col, row), focused);
        }
    };

    // The body first, clipped below the heading; then the fixed heading row over it.
    const QRect body(0, GridLayout::kHeadingHeight, viewport()->width(),
                     viewport()->height() - GridLayout::kHeadingHeight);
    const QRect bodyArea = body.intersected(area);
    if (!bodyArea.isEmpty()) {
        painter.setClipRect(bodyArea);
        const int scrollY = verticalScrollBar()->value();
        const int firstY = bodyArea.top() - GridLayout::kHeadingHeight + scrollY;
        const int lastY = bodyArea.bottom() - GridLayout::kHeadingHeight + scrollY;
        const int firstRow = layout_.BodyRowAt(firstY);
        for (int row = std::max(firstRow, 1); firstRow > 0 && row < sheet::kRows; ++row) {
            if (layout_.BodyRowTop(row) > lastY) break;
            if (layout_.RowHeight(row) > 0) paintRow(row);
        }
        PaintSelection(painter);
    }
    if (area.top() < GridLayout::kHeadingHeight) {
        painter.setClipRect(QRect(0, 0, viewport()->width(), GridLayout::kHeadingHeight).intersected(area));
        paintRow(sheet::kHeadingRow);
    }
}

void BattleGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateGeometry();
}

void BattleGrid::scrollContentsBy(int /*dx*/, int /*dy*/) {
    PlaceEditor();
    PlaceNotice();
    viewport()->update();
}

void BattleGrid::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void BattleGrid::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    // A popup or another window takes the focus, and with it the release that would end a
    // spin: end it now rather than let the timer count on.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) StopSpin();
    // A window the command opened (the planner, the scan parser) would cover the notice of
    // the edit the command ended: it comes back on top once that window is shown.
    if (event->reason() == Qt::ActiveWindowFocusReason && notice_->isVisible())
        QTimer::singleShot(0, notice_, [this] { notice_->raise(); });
    viewport()->update();
}

void BattleGrid::hideEvent(QHideEvent* event) {
    StopSpin();
    HideNotice();
    QAbstractScrollArea::hideEvent(event);
}

bool BattleGrid::focusNextPrevChild(bool /*next*/) {
    // Tab moves between cells (keyPressEvent), not out of the grid.
    return false;
}

BattleGrid::CellPos BattleGrid::CellAt(QPoint viewportPos) const {
    const int col = layout_.ColumnAt(viewportPos.x() + horizontalScrollBar()->value());
    if (col < 0 || viewportPos.y() < 0) return {};
    if (viewportPos.y() < GridLayout::kHeadingHeight) return {col, sheet::kHeadingRow};
    const int row = layout_.BodyRowAt(viewportPos.y() - GridLayout::kHeadingHeight +
                                      verticalScrollBar()->value());
    if (row < 0) return {};
    return {col, row};
}

}  // namespace kestrin
