// BattleGrid's input: mouse, keys, the spin timer, the in-place editor and the popup menu.
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

#include "sheet/cell_clipboard.h"
#include "ui/grid/battle_grid.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/cell_style.h"

namespace kestrin {

int BattleGrid::BodyViewHeight() const {
    return std::max(0, viewport()->height() - GridLayout::kHeadingHeight);
}

QCursor BattleGrid::ModeCursor() const {
    return mode_ == InputMode::Edit ? Qt::IBeamCursor : Qt::ArrowCursor;
}

bool BattleGrid::EditingAllowed() const {
    return mode_ == InputMode::Edit && IsInputCell(currentCol_, currentRow_) && CurrentShown();
}

void BattleGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    selecting_ = false;
    // A click anywhere in the grid ends the edit; the editor takes the clicks on its own cell.
    CommitEditor();
    if (event->button() == Qt::LeftButton && StartResize(pos)) return;
    const CellPos cell = CellAt(pos);
    if (event->button() == Qt::RightButton) {
        // Only the popup's "Ship Stats" item changes; the popup follows as the context menu.
        PrepareShipStats(cell);
        return;
    }
    if (!cell.Valid()) return;
    if (!hasFocus() && !editor_->hasFocus()) setFocus(Qt::MouseFocusReason);
    const bool selectable = event->button() == Qt::LeftButton && cell.row != sheet::kHeadingRow;
    if (selectable && (event->modifiers() & Qt::ShiftModifier)) {
        // Shift+click widens the range selection from its anchor; it neither spins nor edits.
        SelectCell(cell.col, cell.row, true, true);
        return;
    }
    const bool spinning = mode_ == InputMode::Spin && IsInputCell(cell.col, cell.row);
    const bool wasCurrent = cell.col == currentCol_ && cell.row == currentRow_;
    // The heading row is fixed and cannot be selected. A spin recalculates by itself, so
    // its press selects without a second recalculation.
    if (selectable) {
        SelectCell(cell.col, cell.row, !spinning);
        selecting_ = !spinning;
    }
    if (spinning) {
        StartSpin(cell, pos);
    } else if (wasCurrent && event->button() == Qt::LeftButton && EditingAllowed()) {
        // A second click on the selected cell opens it for editing.
        OpenEditor(QString::fromStdString(sheet_.Cell(currentCol_, currentRow_)), true);
    }
}

// The second press of two quick ones arrives as a double-click. It is a press all the same:
// in spin mode it counts, and in edit mode it lands on the selected cell and opens it.
void BattleGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void BattleGrid::mouseReleaseEvent(QMouseEvent* /*event*/) {
    resizingColumn_ = -1;
    resizingRow_ = -1;
    selecting_ = false;
    dragScrollTimer_->stop();
    StopSpin();
    emit MouseReleased();
}

void BattleGrid::contextMenuEvent(QContextMenuEvent* event) {
    // The popup takes the mouse: a spin held by another button would never see its release.
    StopSpin();
    QPoint at = event->globalPos();
    if (event->reason() != QContextMenuEvent::Mouse) {
        // The menu key: the selected cell stands for the clicked one.
        PrepareShipStats({currentCol_, currentRow_});
        at = viewport()->mapToGlobal(CellRect(currentCol_, currentRow_).center());
    }
    if (popup_ != nullptr) popup_->popup(at);
}

void BattleGrid::PrepareShipStats(const CellPos& cell) {
    if (shipStatsItem_ == nullptr) return;
    const bool unitRow = cell.Valid() && cell.row >= sheet::kFirstUnitRow && cell.row <= sheet::kLastUnitRow;
    shipStatsItem_->setVisible(unitRow);
    if (!unitRow) return;
    statsShip_ = cell.row - sheet::kFirstUnitRow;
    statsSide_ = cell.col <= sheet::kDefLeft ? Side::Defender : Side::Attacker;
    QString name = QString::fromStdString(sheet_.Rules().catalogue.Name(statsShip_));
    // A '&' in a name is a letter of the name, not a menu accelerator.
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    shipStatsItem_->setText(name + QStringLiteral(" Stats"));
}

void BattleGrid::StartSpin(const CellPos& cell, QPoint pos) {
    const QRect rect = CellRect(cell.col, cell.row);
    const int top = rect.top();
    const int bottom = rect.top() + rect.height();
    // The lower half, with a two-pixel bias toward the top, counts down.
    const bool lowerHalf = 2 * pos.y() + 4 > top + bottom;
    // A press on another cell while one is held spins that cell in a step of its own.
    if (spinChangeOpen_ && (cell.col != heldCell_.col || cell.row != heldCell_.row)) StopSpin();
    if (!spinChangeOpen_) {
        document_.BeginSpin(cell.col, cell.row, *this);
        heldCell_ = cell;
        spinChangeOpen_ = true;
    }
    spin_.Press(lowerHalf ? -1 : 1);
    gridTimer_->start();
    Spin(spin_.Direction());
}

// A spin is one held change: each beat's count and recalculation is shown without ending it.
void BattleGrid::Spin(int delta) {
    document_.Spin(delta);
    ShowRecalculation();
}

void BattleGrid::GridTimerTimer() {
    if (!spinChangeOpen_) return gridTimer_->stop();
    Spin(spin_.Tick());
}

void BattleGrid::SelectCell(int col, int row, bool recalculate, bool extend) {
    // A committed count has recalculated already.
    if (CommitEditor()) recalculate = false;
    currentCol_ = col;
    currentRow_ = row;
    if (!extend) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
    EnsureVisible(col, row);
    viewport()->update();
    // A parsed combat report stays on the sheet until something else recalculates.
    if (recalculate && !sheet_.ReportView()) Recalculate();
}

void BattleGrid::keyPressEvent(QKeyEvent* event) {
    if (editCol_ >= 0) {
        // Keys that reach the grid while its editor is open belong to the editor. One the
        // editor leaves comes back up to the grid: it goes no further.
        if (forwardingKey_) {
            event->ignore();
            return;
        }
        forwardingKey_ = true;
        QCoreApplication::sendEvent(editor_, event);
        forwardingKey_ = false;
        return;
    }
    if (ClipboardKey(event)) return;
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    switch (event->key()) {
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            EmptySelectedCells();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Recalculate();
            return;
        case Qt::Key_F2:
            if (EditingAllowed()) OpenEditor(QString::fromStdString(sheet_.Cell(currentCol_, currentRow_)), false);
            return;
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        case Qt::Key_Tab: case Qt::Key_Backtab: case Qt::Key_PageUp: case Qt::Key_PageDown:
        case Qt::Key_Home: case Qt::Key_End:
            MoveCurrent(event->key(), event->modifiers());
            return;
        default:
            break;
    }
    if (printable && EditingAllowed()) {
        // Typing replaces the cell's text, which the editor then takes over.
        OpenEditor(text, false);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

bool BattleGrid::ClipboardKey(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(CopyText());
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteText(QGuiApplication::clipboard()->text());
        return true;
    }
    return false;
}

QString BattleGrid::CopyText() const { return QString::fromStdString(CopyCellsText(sheet_, SelectedRange())); }

void BattleGrid::PasteText(const QString& text) {
    document_.FinishOpenEdit();
    if (!CurrentShown()) return;
    // A refusal is told beside the cell (Notice).
    if (document_.Paste(currentCol_, currentRow_, text.toStdString()).empty()) ShowRecalculation();
}

// Delete and Backspace: every shown input cell of the selected range is emptied, as one step
// to undo.
void BattleGrid::EmptySelectedCells() {
    if (document_.Delete(SelectedRange())) ShowRecalculation();
}

void BattleGrid::MoveCurrent(int key, Qt::KeyboardModifiers modifiers) {
    int col = currentCol_;
    int row = currentRow_;
    const int pageRows = std::max(1, BodyViewHeight() / GridLayout::kRowHeight);
    const bool control = (modifiers & Qt::ControlModifier) != 0;
    // Shift widens the range; Shift+Tab is only Tab backwards.
    const bool extend = (modifiers & Qt::ShiftModifier) != 0 && key != Qt::Key_Tab && key != Qt::Key_Backtab;
    switch (key) {
        case Qt::Key_Left: col = std::max(0, col - 1); break;
        case Qt::Key_Right: col = std::min(sheet::kColumns - 1, col + 1); break;
        case Qt::Key_Up: row = layout_.NextShownRow(row, -1); break;
        case Qt::Key_Down: row = layout_.NextShownRow(row, 1); break;
        case Qt::Key_Tab:
            // Past the last column Tab goes on at the start of the next row.
            if (col < sheet::kColumns - 1) ++col;
            else if (layout_.NextShownRow(row, 1) != row) col = 0, row = layout_.NextShownRow(row, 1);
            break;
        case Qt::Key_Backtab:
            if (col > 0) --col;
            else if (layout_.NextShownRow(row, -1) != row) col = sheet::kColumns - 1, row = layout_.NextShownRow(row, -1);
            break;
        case Qt::Key_PageUp: for (int i = 0; i < pageRows; ++i) row = layout_.NextShownRow(row, -1); break;
        case Qt::Key_PageDown: for (int i = 0; i < pageRows; ++i) row = layout_.NextShownRow(row, 1); break;
        case Qt::Key_Home: if (control) row = layout_.NextShownRow(0, 1); else col = 0; break;
        case Qt::Key_End: if (control) row = layout_.NextShownRow(sheet::kRows, -1); else col = sheet::kColumns - 1; break;
        default: return;
    }
    if (col != currentCol_ || row != currentRow_) SelectCell(col, row, true, extend);
}

void BattleGrid::EnsureVisible(int col, int row) {
    QScrollBar* horizontal = horizontalScrollBar();
    const int left = layout_.ColumnLeft(col);
    const int right = left + layout_.ColumnWidth(col);
    if (left < horizontal->value()) horizontal->setValue(left);
    else if (right > horizontal->value() + viewport()->width()) horizontal->setValue(right - viewport()->width());
    if (row == sheet::kHeadingRow || layout_.RowHeight(row) == 0) return;
    QScrollBar* vertical = verticalScrollBar();
    const int top = layout_.BodyRowTop(row);
    const int bottom = top + layout_.RowHeight(row);
    if (top < vertical->value()) vertical->setValue(top);
    else if (bottom > vertical->value() + BodyViewHeight()) vertical->setValue(bottom - BodyViewHeight());
}

void BattleGrid::ShowRows(int col, int first, int last) {
    EnsureVisible(col, last);
    EnsureVisible(col, first);
}

}  // namespace kestrin
