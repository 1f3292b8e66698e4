#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

#include "engine/ship_stats_file.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "ui/main/app_paths.h"
#include "ui/main/battle_file_dialogs.h"
#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/debug/debug_form.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/planner/planner_form.h"
#include "ui/main/results_panel_widget.h"
#include "ui/setup/setup_form.h"
#include "ui/ship_info/ship_details_form.h"
#include "ui/ship_info/ship_matrix_form.h"
#include "settings/window_size.h"
#include "ui/common/undo_keys.h"
#include "ui/common/read_notice.h"
#include "ui/common/window_placement.h"

namespace kestrin {

namespace {

// The system's separators for the "%.0n" figures.
NumberLocale SystemNumberLocale() {
    const QLocale locale;
    NumberLocale numbers;
    numbers.thousandsSeparator = locale.groupSeparator().toStdString();
    const QString point = locale.decimalPoint();
    numbers.decimalSeparator = point.size() == 1 && point[0].unicode() < 128 ? point[0].toLatin1() : '.';
    return numbers;
}

}  // namespace

TForm1::TForm1(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent), folder_(options.programFolder), dialogFolder_(options.programFolder) {
    if (folder_.empty()) {
        ProgramFolders own = DesktopProgramFolders();
        folder_ = std::move(own.files);
        dialogFolder_ = std::move(own.dialogs);
    }
    if (options.messages == nullptr) ownMessages_ = std::make_unique<MessageBoxes>();
    messages_ = options.messages != nullptr ? options.messages : ownMessages_.get();
    setWindowTitle("Kestrin     v " KESTRIN_VERSION);
    setFont(QFont("Arial", 8));
    resize(671, 454);
    setAcceptDrops(true);
    LoadStartup();
    // The size the player left the window at; the screen may then shorten it.
    if (const std::optional<WindowSize> kept = LoadWindowSize(AppearancePath(folder_)))
        resize(kept->width, kept->height);
    startSize_ = size();
    BuildWindows();
    BuildMenus();
    document_->AddView(this);
    document_->SetReplaceQuestion(this);
    // Without a window manager nobody else places the window.
    CentreOnScreen(this);
}

TForm1::~TForm1() {
    document_->SetReplaceQuestion(nullptr);
    document_->RemoveView(this);
}

// Colours, statistics file, combat tables, then the empty sheet: nothing is calculated.
void TForm1::LoadStartup() {
    appearance_ = LoadAppearance(AppearancePath(folder_));
    BattleRulesLoad load = LoadBattleRules(ShipStatsPath(folder_));
    rules_ = std::make_unique<const BattleRules>(std::move(load.rules));
    for (const std::string& message : load.Messages()) messages_->Error(nullptr, QString::fromStdString(message));
    context_.LogEnabled = false;
    const NumberLocale locale = SystemNumberLocale();
    context_.DecimalSeparator = locale.decimalSeparator;
    document_ = std::make_unique<BattleDocument>(*rules_, context_, locale);
    dialogs_ = std::make_unique<DialogFolder>(*document_, dialogFolder_);
}

void TForm1::BuildWindows() {
    auto* central = new QWidget(this);
    central->setAutoFillBackground(true);
    QPalette palette = central->palette();
    palette.setColor(QPalette::Window, Qt::black);
    central->setPalette(palette);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    grid_ = windows_.Own(new BattleGrid(*document_, appearance_, central));
    grid_->setObjectName("BattleGrid");
    panel_ = new ResultsPanelWidget(central);
    panel_->setObjectName("ResultsPanel");
    // The panel keeps the desktop's face colour under the black grid.
    panel_->setAutoFillBackground(true);
    QPalette face(QColor(240, 240, 240));
    face.setColor(QPalette::WindowText, Qt::black);
    face.setColor(QPalette::Text, Qt::black);
    panel_->setPalette(face);
    openNotice_ = new ReadNotice(grid_);
    layout->addWidget(grid_, 1);
    layout->addWidget(panel_);
    setCentralWidget(central);
    // Columns widened for a total (7-digit counts) would push the attacker's Left out of view:
    // the window widens as far as its screen allows. Queued: the grid may be painting.
    connect(grid_, &BattleGrid::ColumnsGrew, this, [this] { WidenToGrid(); }, Qt::QueuedConnection);
    connect(panel_, &ResultsPanelWidget::TickClicked, this, [this] { TickClick(); });
    connect(panel_, &ResultsPanelWidget::TickBackClicked, this, [this] { TickBackClick(); });
    BuildSecondaryWindows();
}

// In the order the program has always created them; all hidden.
void TForm1::BuildSecondaryWindows() {
    logWindow_ = windows_.Own(new TForm2(*document_, appearance_, this));
    document_->SetLogWindow(logWindow_);
    connect(grid_, &BattleGrid::MouseReleased, logWindow_, &TForm2::WriteLogStep);
    parserDialog_ = windows_.Own(new TParserDialog(*document_, this));
    // Typing goes on in the grid, at its current cell.
    connect(parserDialog_, &TParserDialog::ReportApplied, this, [this] {
        activateWindow();
        grid_->setFocus(Qt::OtherFocusReason);
    });
    connect(parserDialog_, &TParserDialog::ApplyFailed, this,
            [this](const QString& message) { messages_->Error(this, message); });
    connect(parserDialog_, &TParserDialog::PasteRefused, this,
            [this](const QString& message) { messages_->Warning(parserDialog_, message); });
    shipDetails_ = windows_.Own(new TShipDetailsForm(rules_->catalogue, this));
    connect(grid_, &BattleGrid::ShipStatsChosen, shipDetails_, &TShipDetailsForm::ShowFor);
    debugForm_ = windows_.Own(new TDebugForm(*rules_, *document_, context_, *this, *messages_, this));
    unitTables_ = windows_.Own(new TShipMatrixForm(*rules_, context_.DecimalSeparator, this));
    setupForm_ = windows_.Own(new TSetupForm(appearance_, AppearancePath(folder_), *messages_, this));
    connect(setupForm_, &TSetupForm::AppearanceChanged, grid_, [this] { grid_->viewport()->update(); });
    plannerForm_ = windows_.Own(new TPlannerForm(*rules_, *document_, context_, *messages_, *dialogs_, this));
    // Undo and Redo are the battle's, from whichever window the player is in.
    for (QWidget* window : std::initializer_list<QWidget*>{logWindow_, parserDialog_, shipDetails_, debugForm_,
                                                           unitTables_, setupForm_, plannerForm_})
        AddUndoKeys(*window, *document_);
    // What the planner changed shows in the grid, and the planner never covers it.
    connect(plannerForm_, &TPlannerForm::RowsChanged, this, [this](Side side, const QList<int>& rows) {
        if (!rows.isEmpty())
            grid_->ShowInputRows(side, *std::min_element(rows.begin(), rows.end()),
                            *std::max_element(rows.begin(), rows.end()));
    });
    plannerForm_->KeepInView([this] {
        const QRect attacker = grid_->AttackerHeadingRect();
        return QRect(grid_->viewport()->mapTo(this, attacker.topLeft()), QPoint(width() - 1, height() - 1));
    });
}

void TForm1::WidenToGrid() {
    const int missing = grid_->ContentWidth() - grid_->viewport()->width();
    if (missing <= 0 || isMaximized() || isFullScreen()) return;
    resize(width() + missing, height());
    if (isVisible()) KeepOnScreen(this);
}

void TForm1::BattleChanged() {
    openNotice_->Dismiss();
    panel_->Show(document_->Sheet().Results());
    UpdateUndoActions();
    UpdateSaveAction();
}

void TForm1::Notice(const DocumentNotice& notice) {
    if (notice.col >= 0) return;  // the grid shows it beside its cell
    if (notice.lines.empty()) return openNotice_->Say(QString::fromStdString(notice.text));
    QStringList lines;
    for (const std::string& line : notice.lines) lines << QString::fromStdString(line);
    openNotice_->Tell(QString::fromStdString(notice.text), lines);
}

QAction* TForm1::AddCommand(QMenu* menu, const QString& text, std::function<void()> command) {
    return menu->addAction(text, this, std::move(command));
}

void TForm1::UpdateUndoActions() {
    if (undo_ == nullptr) return;
    // An edit still open is a change to undo: it ends before the undo.
    undo_->setEnabled(document_->CanUndo());
    redo_->setEnabled(document_->CanRedo());
    // Each names its step: "Undo Typing", "Redo Tick Step".
    const auto named = [](const char* command, const char* step) {
        return step == nullptr ? QString(command) : QString(command) + " " + step;
    };
    undo_->setText(named("&Undo", document_->UndoName()));
    // An open edit goes in before a redo, and a step made drops what there was to redo.
    redo_->setText(named("R&edo", grid_->Editing() ? nullptr : document_->RedoName()));
}

// "Save NAME" while the sheet shows the file's battle; otherwise Save asks for a file.
void TForm1::UpdateSaveAction() {
    if (save_ == nullptr) return;
    if (!document_->ShowsFileBattle()) return save_->setText("&Save");
    QString name = QString::fromStdString(document_->File().filename().string());
    // A '&' in a file name is a letter of the name, not a menu accelerator.
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    save_->setText("&Save " + name);
}

// During a debug run the run's own recalculations are part of its held change: an edit the
// player has open stays open.
void TForm1::ReCalc() { document_->Recalculate(); }

// During a debug run, part of its held change.
void TForm1::CompressGrid() {
    if (!document_->Holding()) return RowsChanged([this] { document_->CompressRows(); });
    grid_->SetDrawingSuspended(true);
    document_->CompressRows();
    grid_->SetDrawingSuspended(false);
}

void TForm1::StopGridTimer() { grid_->StopSpin(); }

void TForm1::ShowDebug() { debugForm_->ShowDebug(); }

// Row heights change for many rows at once: the grid draws once when all are done.
void TForm1::RowsChanged(const std::function<void()>& command) {
    document_->FinishOpenEdit();
    grid_->SetDrawingSuspended(true);
    command();
    grid_->SetDrawingSuspended(false);
}

void TForm1::ToggleResults() {
    const bool hide = panel_->isVisible();
    panel_->setVisible(!hide);
    hideResults_->setText(hide ? "&Show Results" : "&Hide Results");
}

void TForm1::SpinInput() {
    grid_->SetInputMode(BattleGrid::InputMode::Spin);
    spinMenuItem_->setChecked(true);
    spinPopupItem_->setChecked(true);
}

void TForm1::EditInput() {
    grid_->SetInputMode(BattleGrid::InputMode::Edit);
    editMenuItem_->setChecked(true);
    editPopupItem_->setChecked(true);
}

void TForm1::TickClick() { document_->StepForward(); }

void TForm1::TickBackClick() { document_->StepBack(); }

bool TForm1::OpenBattleFile(const std::filesystem::path& path, std::optional<SetAsideConsent> consent) {
    // Asked while the grid still shows the battle in question.
    if (!consent) consent = document_->AskToSetAside();
    if (!consent) return false;
    grid_->setVisible(false);
    BattleFileResult result;
    try {
        result = document_->OpenFile(path, consent);
    } catch (const std::bad_alloc&) {
        // The file is read whole before a cell changes, so the battle stays as it was.
        result = {BattleFileStatus::ReadFailed, "Out of memory: unable to read " + path.string() + "; the battle is unchanged", {}};
    }
    grid_->setVisible(true);
    // Open Recent keeps the name that means this file from any folder.
    const QString qpath = QString::fromStdString(AbsoluteFileName(path).string());
    switch (result.status) {
        case BattleFileStatus::Ok:
            recent_.Remember(qpath);
            RebuildRecentMenu();
            return true;
        case BattleFileStatus::Kept:
            return false;
        case BattleFileStatus::FileMissing:
        case BattleFileStatus::WrongLength:
            if (result.status == BattleFileStatus::FileMissing) recent_.Forget(qpath);
            RebuildRecentMenu();
            messages_->Warning(this, QString::fromStdString(result.message));
            return false;
        default:
            messages_->Error(this, QString::fromStdString(result.message));
            return false;
    }
}

bool TForm1::SaveBattleFile(const std::filesystem::path& path) {
    document_->FinishOpenEdit();
    // At a later tick the player says which goes into the file that holds the set-up.
    SaveWhat what = SaveWhat::CurrentTick;
    if (const std::string question = document_->LaterTickQuestion(path); !question.empty()) {
        const std::optional<SaveWhat> answer = messages_->AskWhatToSave(
            this, QString::fromStdString(question), document_->SetUpTick(), document_->Sheet().CurrentTick());
        if (!answer) return false;
        what = *answer;
    }
    const BattleFileResult result = document_->SaveFile(path, what);
    if (!result.ok()) {
        messages_->Error(this, QString::fromStdString(result.message));
        return false;
    }
    recent_.Remember(QString::fromStdString(document_->File().string()));
    RebuildRecentMenu();
    return true;
}

bool TForm1::MaySetBattleAside() { return document_->AskToSetAside().has_value(); }

bool TForm1::MaySetAside(const std::string& question) {
    switch (messages_->AskToSave(this, QString::fromStdString(question))) {
        case SaveChoice::Save: return FileSave();
        case SaveChoice::Discard: return true;
        default: return false;
    }
}

bool TForm1::FileSave() {
    document_->FinishOpenEdit();
    if (!document_->ShowsFileBattle()) {
        FileSaveAs1();
        return document_->ShowsFileBattle() && !document_->Changed();
    }
    return SaveBattleFile(document_->File());
}

void TForm1::FileOpenClick() {
    // Asked before the file is chosen; the answer holds for the battle asked about.
    const std::optional<SetAsideConsent> consent = document_->AskToSetAside();
    if (!consent) return;
    if (const auto path = AskBattleFileToOpen(this, dialogs_->Start())) {
        dialogs_->Used(*path);
        OpenBattleFile(*path, consent);
    }
}

void TForm1::OpenLinkClick() {
    const std::string text = QApplication::clipboard()->text().toStdString();
    if (!HoldsBattleLink(text)) {
        messages_->Warning(this, QStringLiteral("The clipboard holds no battle link (#battle=...)"));
        return;
    }
    if (const BattleFileResult result = document_->OpenLink(text);
        !result.ok() && result.status != BattleFileStatus::Kept)
        messages_->Warning(this, QString::fromStdString(result.message));
}

void TForm1::CopyLinkClick() {
    document_->FinishOpenEdit();
    QApplication::clipboard()->setText(QString::fromStdString(document_->Link()));
    openNotice_->Say(QString(kLinkCopiedText));
}

void TForm1::OpenRecent(const QString& file) { OpenBattleFile(std::filesystem::path(file.toStdString())); }

void TForm1::FileSaveAs1() {
    document_->FinishOpenEdit();
    // Proposed under the battle's own name, in its folder.
    const std::string name = document_->File().filename().string();
    if (const auto path = AskBattleFileToSave(this, dialogs_->Start(), name)) {
        dialogs_->Used(*path);
        SaveBattleFile(*path);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!MaySetBattleAside()) {
        event->ignore();
        return;
    }
    // Kept for the next start; a window the player did not resize writes nothing.
    // A maximised window keeps the size it returns to.
    const QSize kept = isMaximized() || isFullScreen() ? normalGeometry().size() : size();
    if (kept != startSize_ && kept.isValid()) (void)SaveWindowSize(AppearancePath(folder_), {kept.width(), kept.height()});
    // The program ends with this window: the planner's work is cancelled now, and joined when
    // the planner goes with it.
    plannerForm_->close();
    QMainWindow::closeEvent(event);
}

// A click on the window outside the grid (the results panel, the free space) ends an edit.
void TForm1::mousePressEvent(QMouseEvent* event) {
    document_->FinishOpenEdit();
    QMainWindow::mousePressEvent(event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && event->mimeData()->urls().first().isLocalFile())
        event->acceptProposedAction();
}

// A battle file dropped on the window opens as "&Open..." would open it.
void TForm1::dropEvent(QDropEvent* event) {
    if (OpenDroppedUrls(event->mimeData()->urls())) event->acceptProposedAction();
}

bool TForm1::OpenDroppedUrls(const QList<QUrl>& urls) {
    if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
    OpenBattleFile(std::filesystem::path(urls.first().toLocalFile().toStdString()));
    return true;
}

}  // namespace kestrin
