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
#include "ui/log/log_colours.h"

namespace kestrin {

namespace {

constexpr int kWindowWidth = 366, kWindowHeight = 526;
constexpr int kToolBarHeight = 28;
constexpr int kLogPointSize = 9;

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QTextCharFormat LineFormat(const LogLine& line, LogInk ink, const LogColours& colours) {
    QTextCharFormat format;
    format.setFontWeight(line.bold ? QFont::Bold : QFont::Normal);
    format.setForeground(ToQColor(InkColour(ink, colours)));
    return format;
}

// Inserts a line in runs of equal ink. The inks are given per byte of the UTF-8 text; only
// ASCII digits differ from their neighbours, so a run never splits a character.
void InsertLine(QTextCursor& cursor, const LogLine& line, const LogColours& colours) {
    cursor.setBlockCharFormat(LineFormat(line, line.ink, colours));
    if (line.charInks.size() != line.text.size()) {
        cursor.insertText(QString::fromStdString(line.text), LineFormat(line, line.ink, colours));
        return;
    }
    std::size_t start = 0;
    while (start < line.text.size()) {
        std::size_t end = start + 1;
        while (end < line.text.size() && line.charInks[end] == line.charInks[start]) ++end;
        cursor.insertText(QString::fromStdString(line.text.substr(start, end - start)),
                          LineFormat(line, line.charInks[start], colours));
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
    : QWidget(parent, Qt::Tool), document_(document), appearance_(appearance), background_(appearance[AppearanceColour::ShipBgd]) {
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
    document_.UpdateCalcLog();
    // A sheet without ships logs no step; the background still follows ShipBgd.
    WriteLogStep();
    if (renderPending_) Render();
    emit Recalculated();
}

void TForm2::WriteLogStep() {
    background_ = appearance_[AppearanceColour::ShipBgd];
    ShowBackground();
}

void TForm2::Render() {
    renderPending_ = false;
    QTextDocument* document = calcLog_->document();
    document->clear();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    const LogColours colours = LogColoursOf(appearance_);
    bool first = true;
    for (const LogLine& line : text_.Lines()) {
        if (!first) cursor.insertBlock();
        first = false;
        InsertLine(cursor, line, colours);
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

BattleLogSink& TForm2::LogSink() { return relay_; }

void TForm2::ShowBackground() {
    QPalette palette = calcLog_->palette();
    palette.setColor(QPalette::Base, ToQColor(background_));
    calcLog_->setPalette(palette);
}

void TForm2::RelaySink::BeginLogRun() {
    // A logged run takes the current background; its lines are coloured as they are shown.
    window_.background_ = window_.appearance_[AppearanceColour::ShipBgd];
    window_.text_.BeginLogRun();
    window_.renderPending_ = true;
}

void TForm2::RelaySink::WriteLogStep(const StepLists& lists) {
    window_.text_.WriteLogStep(lists);
    window_.renderPending_ = true;
}

}  // namespace kestrin
