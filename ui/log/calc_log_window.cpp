#include "ui/log/calc_log_window.h"

#include "sheet/battle_document.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "sheet/battle_sheet.h"
#include "ui/common/window_placement.h"

namespace kestrin {

namespace {

constexpr int kWindowWidth = 366, kWindowHeight = 526;
constexpr int kToolBarHeight = 28;
constexpr int kLogPointSize = 9;

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QTextCharFormat LineFormat(const LogLine& line, Rgb colour) {
    QTextCharFormat format;
    format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
    format.setForeground(ToQColor(colour));
    return format;
}

// Inserts a line in runs of equal colour. The colours are given per byte of the UTF-8 text;
// only ASCII digits differ from their neighbours, so a run never splits a character.
void InsertLine(QTextCursor& cursor, const LogLine& line) {
    cursor.setBlockCharFormat(LineFormat(line, line.colour));
    if (line.charColours.size() != line.text.size()) {
        cursor.insertText(QString::fromStdString(line.text), LineFormat(line, line.colour));
        return;
    }
    std::size_t start = 0;
    while (start < line.text.size()) {
        std::size_t end = start + 1;
        while (end < line.text.size() && line.charColours[end] == line.charColours[start]) ++end;
        cursor.insertText(QString::fromStdString(line.text.substr(start, end - start)),
                          LineFormat(line, line.charColours[start]));
        start = end;
    }
}

QWidget* MakeToolBar(QWidget* parent, QPushButton* button) {
    auto* toolBar = new QWidget(parent);
    toolBar->setFixedHeight(kToolBarHeight);
    auto* layout = new QHBoxLayout(toolBar);
    layout->setContentsMargins(0, 0, 0, 0);
    // The button spans the toolbar at any window width.
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(button);
    return toolBar;
}

}  // namespace

TForm2::TForm2(BattleDocument& document, const Appearance& appearance, QWidget* parent)
    : QWidget(parent, Qt::Tool), document_(document), appearance_(appearance), text_(LogColoursOf(appearance)) {
    setWindowTitle(QStringLiteral("Calculation Log"));
    updateLogButton_ = new QPushButton(QStringLiteral("Update Log"), this);
    calcLog_ = new QTextEdit(this);
    calcLog_->setObjectName(QStringLiteral("CalcLog"));
    calcLog_->setFrameShape(QFrame::NoFrame);
    calcLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    calcLog_->setFont(QFont(QStringLiteral("Arial"), kLogPointSize));
    // Every render replaces the whole text; an undo history of it would only grow.
    calcLog_->setUndoRedoEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(MakeToolBar(this, updateLogButton_));
    layout->addWidget(calcLog_, 1);
    resize(kWindowWidth, kWindowHeight);
    CentreOnScreen(this);

    connect(updateLogButton_, &QPushButton::clicked, this, &TForm2::UpdateCalcLog);
    // Until the first "Update Log" the log does not describe the sheet.
    updateLogButton_->setEnabled(true);
    WriteLogStep();
}

void TForm2::ShowLog() {
    if (updateLogButton_->isEnabled()) UpdateCalcLog();
    show();
    // A screen lower than the window (a scaled one) shortens it.
    KeepOnScreen(this);
    raise();
    activateWindow();
    calcLog_->setFocus();
}

void TForm2::UpdateCalcLog() {
    // The document ends an edit still open in the grid first and tells the windows.
    document_.Refresh([](BattleSheet& sheet) { sheet.UpdateCalcLog(); });
    // A sheet without ships logs no step; the background still follows ShipBgd.
    WriteLogStep();
    if (renderPending_) Render();
    emit Recalculated();
}

void TForm2::WriteLogStep() {
    text_.SetColours(LogColoursOf(appearance_));
    text_.RefreshBackground();
    ShowBackground();
}

void TForm2::Render() {
    renderPending_ = false;
    QTextDocument* document = calcLog_->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    bool first = true;
    for (const LogLine& line : text_.Lines()) {
        if (!first) cursor.insertBlock();
        first = false;
        InsertLine(cursor, line);
    }
    cursor.endEditBlock();
    calcLog_->moveCursor(QTextCursor::Start);
    ShowBackground();
}

void TForm2::SetUpdateLogEnabled(bool enabled) {
    updateLogButton_->setEnabled(enabled);
    // The sheet reports the log's state right after every run, so a logged run started by
    // any command (a tick step, a combat report) is shown here without further wiring.
    if (renderPending_) Render();
}

void TForm2::ClearLog() {
    text_.Clear();
    renderPending_ = false;
    calcLog_->clear();
}

BattleLogSink& TForm2::LogSink() {
    text_.SetColours(LogColoursOf(appearance_));
    return relay_;
}

void TForm2::ShowBackground() {
    QPalette palette = calcLog_->palette();
    palette.setColor(QPalette::Base, ToQColor(text_.Background()));
    calcLog_->setPalette(palette);
}

void TForm2::RelaySink::BeginLogRun() {
    window_.text_.BeginLogRun();
    window_.renderPending_ = true;
}

void TForm2::RelaySink::WriteLogStep(const StepLists& lists) {
    window_.text_.WriteLogStep(lists);
    window_.renderPending_ = true;
}

}  // namespace kestrin
