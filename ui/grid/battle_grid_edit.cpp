// How an edit of the grid ends. The editor holds the typed text until the edit ends; then the
// text goes to the document's one edit-end path (BattleDocument::EndEdit), which decides what
// becomes of it and what the player is told. Enter, Tab, the movement keys, a click, the focus
// leaving and every command end it; only Escape drops the text.
#include <QLabel>
#include <QTimer>

#include <cstdint>
#include <string>

#include "ui/grid/battle_grid.h"
#include "ui/grid/cell_editor.h"
#include "ui/grid/cell_style.h"

namespace kestrin {

namespace {

/// How long a notice stays beside its cell.
constexpr int kNoticeMs = 10'000;
/// A notice wraps its lines at this width.
constexpr int kNoticeWidth = 260;

}  // namespace

void BattleGrid::OpenEditor(const QString& text, bool selectAll) {
    editCol_ = currentCol_;
    editRow_ = currentRow_;
    QPalette colours = editor_->palette();
    colours.setColor(QPalette::Base, ToQColor(appearance_[CellBackground(editCol_, editRow_)]));
    colours.setColor(QPalette::Text, ToQColor(appearance_[CellTextColour(editCol_, sheet_.ReportView())]));
    editor_->setPalette(colours);
    editor_->setText(text);
    if (selectAll) editor_->selectAll();
    // What was told of the last edit is over once the next begins.
    HideNotice();
    editor_->setFocusProxy(nullptr);
    editor_->show();
    PlaceEditor();
    editor_->setFocus(Qt::OtherFocusReason);
}

QString BattleGrid::EditorText() const { return editCol_ < 0 ? QString() : editor_->text(); }

bool BattleGrid::CommitEditor() {
    if (editCol_ < 0) return false;
    const int col = editCol_;
    const int row = editRow_;
    const std::string typed = editor_->text().toStdString();
    // Closed first: the document ends the open edit before its step, and there is none now.
    CloseEditor();
    const std::uint64_t before = sheet_.BattleId();
    document_.EndEdit(col, row, typed);
    const bool changed = sheet_.BattleId() != before;
    if (changed) ShowRecalculation();
    return changed;
}

void BattleGrid::CloseEditor() {
    if (editCol_ < 0) return;
    editCol_ = -1;
    editRow_ = -1;
    // The grid takes the keys back, also when a menu or another window has them for now.
    const bool hadFocus = editor_->hasFocus() || window()->focusWidget() == editor_;
    editor_->setFocusProxy(this);
    editor_->hide();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void BattleGrid::PlaceEditor() {
    if (editCol_ < 0) return;
    // Inside the grid lines, and never over the fixed heading row.
    const QRect body(0, GridLayout::kHeadingHeight, viewport()->width(), BodyViewHeight());
    editor_->setGeometry(CellRect(editCol_, editRow_).adjusted(0, 0, -1, -1).intersected(body));
}

// Enter recalculates even when the text did not change.
void BattleGrid::EnterKey() {
    if (!CommitEditor()) Recalculate();
}

// A movement key ends the edit even where the current cell cannot move (Up on the first row).
void BattleGrid::EditorNavigation(int key, Qt::KeyboardModifiers modifiers) {
    CommitEditor();
    MoveCurrent(key, modifiers);
}

void BattleGrid::BuildNotice() {
    notice_->setObjectName(QStringLiteral("CellNotice"));
    notice_->setWordWrap(true);
    notice_->setFixedWidth(kNoticeWidth);
    notice_->setMargin(4);
    notice_->setFrameShape(QFrame::Box);
    notice_->setAutoFillBackground(true);
    // The colours of a tooltip: a note, not part of the sheet.
    notice_->setPalette(QPalette(QColor(255, 255, 225)));
    notice_->setForegroundRole(QPalette::WindowText);
    notice_->hide();
    noticeTimer_->setSingleShot(true);
    noticeTimer_->setInterval(kNoticeMs);
    connect(noticeTimer_, &QTimer::timeout, this, &BattleGrid::HideNotice);
}

void BattleGrid::ShowNotice(int col, int row, const QString& text) {
    noticeCol_ = col;
    noticeRow_ = row;
    notice_->setText(text);
    // The title names it for tools that read windows (and for the checks under X).
    notice_->setWindowTitle(text);
    notice_->adjustSize();
    notice_->show();
    notice_->raise();
    PlaceNotice();
    noticeTimer_->start();
}

void BattleGrid::HideNotice() {
    noticeTimer_->stop();
    notice_->hide();
    noticeCol_ = -1;
}

// To the right of its cell, or to the left where the view ends; beside the view's rows.
void BattleGrid::PlaceNotice() {
    if (noticeCol_ < 0 || !notice_->isVisible()) return;
    const QRect cell = CellRect(noticeCol_, noticeRow_);
    const QSize size = notice_->size();
    int x = cell.right() + 2;
    if (x + size.width() > viewport()->width()) x = std::max(0, cell.left() - size.width() - 2);
    const int y = std::clamp(cell.top(), 0, std::max(0, viewport()->height() - size.height()));
    notice_->move(viewport()->mapToGlobal(QPoint(x, y)));
}

}  // namespace kestrin
