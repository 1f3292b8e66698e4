#pragma once

#include <QAbstractScrollArea>
#include <QCursor>
#include <QPoint>
#include <QRect>
#include <QString>

#include "engine/ship_catalogue.h"
#include "settings/appearance.h"
#include "sheet/cell_range.h"
#include "sheet/battle_document.h"
#include "sheet/battle_sheet.h"
#include "ui/grid/grid_layout.h"
#include "ui/grid/spin_schedule.h"
#include "ui/grid/text_width_cache.h"

class QAction;
class QLabel;
class QMenu;
class QPainter;
class QTimer;

namespace kestrin {

class CellEditor;

/// The main window's view of the battle: 12 columns by 66 rows painted in the appearance
/// colours, the heading row fixed above the scrolled rows. Counts are typed into the Ships
/// columns (edit mode) or spun with the mouse (spin mode: press and hold on the upper or lower
/// half of a cell, accelerating with every 20 ms tick). It changes the battle only through
/// the document: an edit ends through BattleDocument::EndEdit, a spin is a held change, Delete
/// and Ctrl+V are steps. It is the document's open edit and one of its views.
class BattleGrid : public QAbstractScrollArea, public OpenEdit, public HeldChange, public DocumentView {
    Q_OBJECT

public:
    /// Typing into the Ships columns, or spinning them with the mouse.
    enum class InputMode { Edit, Spin };

    /// A grid over the battle of `document`, painted in `appearance`; both must outlive the
    /// grid, and the appearance is read at every repaint so that the setup window's changes
    /// show live.
    BattleGrid(BattleDocument& document, const Appearance& appearance, QWidget* parent = nullptr);
    ~BattleGrid() override;

    /// SpinInput (Spin: no editing, arrow cursor) or EditInput (Edit: editing, I-beam cursor).
    void SetInputMode(InputMode mode);
    /// The current input mode; Edit at start.
    InputMode Mode() const { return mode_; }

    /// The sheet's cells or row visibility changed: takes the row visibility (a current cell
    /// that was hidden moves to the nearest shown row), gives the columns their first widths
    /// again when the sheet was set up afresh (Clear All), widens columns to the totals and
    /// repaints. An open editor stays as it is: only its owner's end or Escape closes it.
    void SheetChanged();
    /// The document's view: SheetChanged.
    void BattleChanged() override { SheetChanged(); }
    /// A notice about a cell is shown beside it.
    void Notice(const DocumentNotice& notice) override;
    /// How an edit ends, whatever ends it but Escape: ends a spin, and hands the text in the
    /// editor to the document's one edit-end path. The document runs it before every command.
    void FinishEdit() override;
    /// Whether the editor is open.
    bool Editing() const override { return editCol_ >= 0; }
    /// Another command ended the spin: the timer stops.
    void HoldEnded() override;
    /// The text the open editor holds, or a null text when it is closed.
    QString EditorText() const;
    /// The note beside the current cell telling what became of text that is no count, or of
    /// a refused paste; hidden until there is something to tell.
    QLabel* Notice() const { return notice_; }
    /// While suspended nothing is painted; resuming takes the sheet's rows and repaints once.
    void SetDrawingSuspended(bool suspended);
    /// Whether painting is suspended.
    bool DrawingSuspended() const { return drawingSuspended_; }

    /// A column's width in pixels.
    int ColumnWidth(int col) const { return layout_.ColumnWidth(col); }
    /// Width of all columns together.
    int ContentWidth() const { return layout_.TotalWidth(); }
    /// Sets a column's width, as dragging its edge does.
    void SetColumnWidth(int col, int width);
    /// A row's height in pixels, 0 when hidden.
    int RowHeight(int row) const { return layout_.RowHeight(row); }
    /// Sets a body row's height, as dragging its lower edge in a caption column does.
    void SetRowHeight(int row, int height);
    /// Where cell (col, row) is, in viewport coordinates; empty for a hidden row.
    QRect CellRect(int col, int row) const;
    /// The text cell (col, row) shows at its column's current width.
    QString ShownText(int col, int row) const;
    /// The tooltip of cell (col, row): its full figure when the cell shows it shortened to k
    /// or m, else empty.
    QString CellToolTip(int col, int row) const;
    /// Scrolls the grid so that column `col` of rows `first` to `last` shows, `first` before
    /// all when they do not all fit.
    void ShowRows(int col, int first, int last);
    /// ShowRows for a side's Ships column: for windows that know rows but not columns.
    void ShowInputRows(Side side, int first, int last) { ShowRows(sheet::ShipsColumn(side), first, last); }
    /// Where the attacker's half of the grid begins: its caption column's heading, in viewport
    /// coordinates.
    QRect AttackerHeadingRect() const { return CellRect(sheet::kAttCaption, sheet::kHeadingRow); }
    /// The selected cell's column.
    int CurrentColumn() const { return currentCol_; }
    /// The selected cell's row (never the heading row).
    int CurrentRow() const { return currentRow_; }
    /// The range selection: from the anchor (where the selection began) to the selected
    /// cell, both included. One cell unless extended by a mouse drag, Shift+click or
    /// Shift with the movement keys.
    CellRange SelectedRange() const;
    /// Selects the range from (anchorCol, anchorRow) to the selected cell (col, row), as a
    /// drag would; nothing is recalculated. Rows must be body rows.
    void SelectRange(int anchorCol, int anchorRow, int col, int row);

    /// The popup menu of the main window, shown on a right click, and its "Ship Stats" item,
    /// which the grid renames and shows or hides for the clicked row.
    void SetPopupMenu(QMenu* popup, QAction* shipStatsItem);

    /// The 20 ms spin timer; it runs only while a count is held.
    QTimer* GridTimer() const { return gridTimer_; }
    /// Grows a range dragged past the viewport's edge while the pointer rests there.
    QTimer* DragScrollTimer() const { return dragScrollTimer_; }
    /// Stops a spin (release, or a failed recalculation); the whole spin is one step to undo.
    void StopSpin();
    /// Ctrl+C: the selected range (or the current cell) as tab-separated text, figures in full.
    QString CopyText() const;
    /// Ctrl+V: pastes tab-separated text into the input cells from the current cell on, as
    /// one step to undo, and recalculates; text with a value that is no count, or that would
    /// land in no input cell, is refused whole, with a notice saying why.
    void PasteText(const QString& text);

    /// Paints one cell into `rect` (viewport coordinates); `focused` adds the focus rectangle.
    void DrawCell(QPainter& painter, int col, int row, const QRect& rect, bool focused);

public slots:
    /// One spin timer tick: adds the step of the schedule to the held cell and recalculates.
    void GridTimerTimer();

signals:
    /// After every recalculation the grid runs.
    void Recalculated();
    /// The popup's "Ship Stats" item was chosen for the unit type and side last clicked.
    void ShipStatsChosen(int shipIndex, kestrin::Side side);
    /// A mouse button was released over the grid.
    void MouseReleased();
    /// Columns widened to fit their totals (ContentWidth grew).
    void ColumnsGrew();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct CellPos {
        int col = -1;
        int row = -1;
        bool Valid() const { return col >= 0 && row >= 0; }
    };

    void Recalculate();
    void ShowRecalculation();
    void SelectCell(int col, int row, bool recalculate, bool extend = false);
    void PaintSelection(QPainter& painter);
    bool GrowColumnsToTotals();
    int BodyViewHeight() const;
    QCursor ModeCursor() const;
    void UpdateGeometry();
    CellPos CellAt(QPoint viewportPos) const;
    int ResizeEdgeAt(QPoint viewportPos) const;
    int RowEdgeAt(QPoint viewportPos) const;
    bool StartResize(QPoint pos);
    void ExtendSelectionTo(QPoint pos);
    void DragScrollTick();

    void MoveCurrent(int key, Qt::KeyboardModifiers modifiers);
    void EnsureVisible(int col, int row);
    bool EditingAllowed() const;
    void StartSpin(const CellPos& cell, QPoint pos);
    void Spin(int delta);
    void PrepareShipStats(const CellPos& cell);

    void KeepCurrentShown();
    bool CurrentShown() const { return layout_.RowHeight(currentRow_) > 0; }
    bool ClipboardKey(QKeyEvent* event);
    void EmptySelectedCells();
    void BuildNotice();
    void ShowNotice(int col, int row, const QString& text);
    void HideNotice();
    void PlaceNotice();

    void OpenEditor(const QString& text, bool selectAll);
    bool CommitEditor();
    void CloseEditor();
    void PlaceEditor();
    void EnterKey();
    void EditorNavigation(int key, Qt::KeyboardModifiers modifiers);

    BattleDocument& document_;
    const BattleSheet& sheet_;
    const Appearance& appearance_;
    GridLayout layout_;
    mutable TextWidthCache widths_;
    InputMode mode_ = InputMode::Edit;
    bool drawingSuspended_ = false;
    // The sheet's SetupCount the column widths belong to.
    int setupCount_ = 0;

    int currentCol_ = sheet::kDefCaption;
    int currentRow_ = sheet::kFirstUnitRow;
    // The other corner of the range selection; the selected cell is the moving one.
    int anchorCol_ = sheet::kDefCaption;
    int anchorRow_ = sheet::kFirstUnitRow;
    // A left press that selects (not a spin or a resize): dragging extends the range.
    bool selecting_ = false;
    // While such a drag rests beyond the viewport's edge, the range keeps growing that way.
    QTimer* dragScrollTimer_;
    QPoint dragPos_;

    QTimer* gridTimer_;
    SpinSchedule spin_;

    CellEditor* editor_;
    // The text stays in the editor until the edit ends; the cell changes once, then.
    int editCol_ = -1;
    int editRow_ = -1;
    bool forwardingKey_ = false;
    QLabel* notice_;
    QTimer* noticeTimer_;
    // The cell the notice stands beside.
    int noticeCol_ = -1;
    int noticeRow_ = -1;
    // A spin is one step to undo, open until it ends.
    bool spinChangeOpen_ = false;
    CellPos heldCell_;  // the cell the held spin counts in

    QMenu* popup_ = nullptr;
    QAction* shipStatsItem_ = nullptr;
    ShipIndex statsShip_ = 0;
    Side statsSide_ = Side::Defender;

    int resizingColumn_ = -1;
    int resizingRow_ = -1;
    int resizeGrabOffset_ = 0;
};

}  // namespace kestrin
