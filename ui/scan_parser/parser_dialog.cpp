#include "ui/scan_parser/parser_dialog.h"

#include "sheet/battle_link.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <new>
#include <optional>

#include "sheet/text_lines.h"
#include "ui/scan_parser/scan_text_area.h"
#include "ui/common/window_placement.h"

namespace kestrin {

namespace {

constexpr int kClientWidth = 313, kClientHeight = 404;
constexpr int kFontPixels = 11;
constexpr int kSideLeft = 176, kSideWidth = 113, kOptionHeight = 17;

const QColor kNoSideColour(200, 200, 200);
const QColor kDefenderColour(50, 255, 50);
const QColor kAttackerColour(255, 100, 100);
const QColor kSelectionColour(70, 70, 70);

const QString kInitialText = QStringLiteral(" Paste your Scans in here...");

QPushButton* MakeButton(QWidget* parent, const QString& caption, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    // Only "OK" answers Enter.
    button->setAutoDefault(false);
    return button;
}

QRadioButton* MakeOption(QWidget* parent, QButtonGroup* group, int id, const QString& caption,
                         const QRect& geometry) {
    auto* option = new QRadioButton(caption, parent);
    option->setGeometry(geometry);
    group->addButton(option, id);
    return option;
}

void MakeSeparator(QWidget* parent, int top) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(12, top, 289, 5);
}

}  // namespace

TParserDialog::TParserDialog(BattleDocument& document, QWidget* parent)
    : QDialog(parent, Qt::Tool), document_(document) {
    setWindowTitle(QStringLiteral("Scan Parser"));
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kFontPixels);
    setFont(font);

    // Created first so that it lies beneath the controls it encloses.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(8, 40, 297, 317);

    BuildClearButtons();
    BuildTextArea();
    BuildKindOptions();
    BuildSideGroups();
    BuildDialogButtons();
    SetTextColour(kNoSideColour);
}

void TParserDialog::ShowParser() {
    if (!shownBefore_) CentreOnScreen(this);
    shownBefore_ = true;
    show();
    raise();
    activateWindow();
    textArea_->setFocus();
}

void TParserDialog::BuildClearButtons() {
    QPushButton* clearDef = MakeButton(this, QStringLiteral("Clear Defender"), {16, 8, 93, 25});
    QPushButton* clearAll = MakeButton(this, QStringLiteral("Clear All"), {120, 8, 75, 25});
    QPushButton* clearAtt = MakeButton(this, QStringLiteral("Clear Attacker"), {204, 8, 93, 25});
    const auto clear = [this](void (BattleDocument::*command)()) {
        return [this, command] {
            (document_.*command)();
            emit Applied();
        };
    };
    connect(clearDef, &QPushButton::clicked, this, clear(&BattleDocument::ClearDefender));
    connect(clearAtt, &QPushButton::clicked, this, clear(&BattleDocument::ClearAttacker));
    connect(clearAll, &QPushButton::clicked, this, clear(&BattleDocument::ClearAll));
}

void TParserDialog::BuildTextArea() {
    textArea_ = new ScanTextArea(kInitialText, this);
    connect(textArea_, &ScanTextArea::InsertRefused, this, [this](qsizetype characters) {
        emit PasteRefused(QStringLiteral("Nothing was pasted: the clipboard holds %L1 characters, more than any "
                                         "report (at most %L2).").arg(characters).arg(ScanTextArea::kMaxInsert));
    });
    textArea_->setGeometry(16, 48, 281, 117);
    textArea_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab goes on to the next control, as in the rest of the dialog; a pasted tab stays.
    textArea_->setTabChangesFocus(true);
    textArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = textArea_->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Highlight, kSelectionColour);
    textArea_->setPalette(palette);
    // The text the note spoke of is gone once it changes.
    notice_ = new ReadNotice(textArea_, 2);
    connect(textArea_, &QPlainTextEdit::textChanged, notice_, &ReadNotice::Dismiss);
    QPushButton* clearScan = MakeButton(this, QStringLiteral("Clear Scan"), {16, 172, 69, 21});
    connect(clearScan, &QPushButton::clicked, textArea_, &QPlainTextEdit::clear);
}

void TParserDialog::BuildKindOptions() {
    kindGroup_ = new QButtonGroup(this);
    MakeSeparator(this, 196);
    kindOptions_[Index(ReportKind::Scan)] = MakeOption(this, kindGroup_, static_cast<int>(ReportKind::Scan),
                                                       QStringLiteral("Sector/Unit/PDS Scans"), {20, 208, 137, 17});
    MakeSeparator(this, 244);
    kindOptions_[Index(ReportKind::Military)] = MakeOption(
        this, kindGroup_, static_cast<int>(ReportKind::Military), QStringLiteral("Military Scan"), {20, 260, 113, 17});
    MakeSeparator(this, 316);
    kindOptions_[Index(ReportKind::Combat)] = MakeOption(
        this, kindGroup_, static_cast<int>(ReportKind::Combat), QStringLiteral("Combat Report"), {20, 332, 113, 17});
    connect(kindGroup_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) KindChosen(id);
    });
}

// Two groups of their own, each starting on the defender; both disabled until their report
// kind is chosen, and both keep their choice while disabled.
void TParserDialog::BuildSideGroups() {
    const auto makeGroup = [this](std::array<QRadioButton*, 2>& options, int top) {
        auto* group = new QButtonGroup(this);
        const QString captions[] = {QStringLiteral("Add to Defender"), QStringLiteral("Add to Attacker")};
        for (int side = 0; side < 2; ++side) {
            options[side] = MakeOption(this, group, side, captions[side],
                                       {kSideLeft, top + side * 16, kSideWidth, kOptionHeight});
            options[side]->setEnabled(false);
        }
        options[Index(Side::Defender)]->setChecked(true);
        connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
            if (checked) SideChosen(static_cast<Side>(id));
        });
    };
    makeGroup(scanSides_, 208);
    makeGroup(militarySides_, 256);
    const QString fleetCaptions[] = {QStringLiteral("Home"), QStringLiteral("Fleet 1"), QStringLiteral("Fleet 2"),
                                     QStringLiteral("Fleet 3")};
    for (std::size_t i = 0; i < fleetBoxes_.size(); ++i) {
        fleetBoxes_[i] = new QCheckBox(fleetCaptions[i], this);
        fleetBoxes_[i]->setGeometry(32 + 60 * static_cast<int>(i), 296, 57, 17);
        fleetBoxes_[i]->setEnabled(false);
    }
}

void TParserDialog::BuildDialogButtons() {
    okButton_ = MakeButton(this, QStringLiteral("OK"), {11, 368, 75, 25});
    okButton_->setDefault(true);
    okButton_->setEnabled(false);
    cancelButton_ = MakeButton(this, QStringLiteral("Cancel"), {99, 368, 75, 25});
    connect(okButton_, &QPushButton::clicked, this, &TParserDialog::OkButtonClick);
    // A pasted battle link needs no report kind: OK opens its battle.
    connect(textArea_, &QPlainTextEdit::textChanged, this, [this] {
        if (kindGroup_->checkedId() < 0) okButton_->setEnabled(HoldsBattleLink(PlainText()));
    });
    // Escape and the close box reject too: all of them only hide the dialog.
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TParserDialog::KindChosen(int kind) {
    const bool scan = kind == static_cast<int>(ReportKind::Scan);
    const bool military = kind == static_cast<int>(ReportKind::Military);
    okButton_->setEnabled(true);
    for (QRadioButton* option : scanSides_) option->setEnabled(scan);
    for (QRadioButton* option : militarySides_) option->setEnabled(military);
    for (QCheckBox* box : fleetBoxes_) box->setEnabled(military);
    if (scan || military) {
        const auto& sides = scan ? scanSides_ : militarySides_;
        SideChosen(sides[Index(Side::Defender)]->isChecked() ? Side::Defender : Side::Attacker);
    } else {
        SetTextColour(kNoSideColour);
    }
}

void TParserDialog::SideChosen(Side side) {
    SetTextColour(side == Side::Defender ? kDefenderColour : kAttackerColour);
}

// Selected text (the hint at first) keeps the colour that tells where the text goes.
void TParserDialog::SetTextColour(const QColor& colour) {
    QPalette palette = textArea_->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::HighlightedText, colour);
    textArea_->setPalette(palette);
}

void TParserDialog::OkButtonClick() {
    try {
        const std::string text = PlainText();
        const bool linked = HoldsBattleLink(text);
        if (!linked && kindGroup_->checkedId() < 0) return;
        std::optional<ReportChoice> choice;
        if (kindGroup_->checkedId() >= 0) choice = CurrentChoice();
        // A shared link from a chat opens its battle (a changed battle is asked about first)
        // instead of being read as a report.
        const ScanParserOutcome outcome = ScanParserOk(document_, text, choice);
        if (outcome.opened) {
            if (outcome.opened->ok()) emit Applied();
            else if (outcome.opened->status != BattleFileStatus::Kept)
                emit ApplyFailed(QString::fromStdString(outcome.opened->message));
            emit ReportApplied();
            return;
        }
        emit Applied();
        // Told beside the text, without a box: the counts were added as read.
        QStringList lines;
        for (const std::string& note : outcome.notes) lines << QString::fromStdString(note);
        notice_->Tell(tr("Counts cut at a separator, added as read:"), lines);
    } catch (const std::bad_alloc&) {
        // The readers finish before the sheet changes, so the battle stays as it was.
        emit ApplyFailed(QStringLiteral("Out of memory: the report is too large to read; the battle is unchanged"));
    }
    emit ReportApplied();
}


ReportChoice TParserDialog::CurrentChoice() const {
    const auto sideOf = [](const std::array<QRadioButton*, 2>& options) {
        return options[Index(Side::Attacker)]->isChecked() ? Side::Attacker : Side::Defender;
    };
    ReportChoice choice;
    choice.kind = static_cast<ReportKind>(kindGroup_->checkedId());
    choice.scanSide = sideOf(scanSides_);
    choice.militarySide = sideOf(militarySides_);
    choice.fleets = FleetChoice{fleetBoxes_[0]->isChecked(), fleetBoxes_[1]->isChecked(),
                                fleetBoxes_[2]->isChecked(), fleetBoxes_[3]->isChecked()};
    return choice;
}

// The text as the text area holds it. The raw text keeps non-breaking spaces, which the
// readers must see as word characters rather than blanks; paragraph and line separators
// are the text area's line breaks.
std::string TParserDialog::PlainText() const {
    QString text = textArea_->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text.toStdString();
}

}  // namespace kestrin
