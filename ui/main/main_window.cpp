#include "ui/main/main_window.h"

#include <QAction>
#include <QApplication>
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
    savedInputs_ = InputTexts(sheet_->Cells());
    BuildWindows();
    BuildMenus();
    // Without a window manager nobody else places the window.
    CentreOnScreen(this);
}

TForm1::~TForm1() = default;

// Colours, statistics file, combat tables, then the empty sheet: nothing is calculated.
void TForm1::LoadStartup() {
    appearance_ = LoadAppearance(AppearancePath(folder_));
    BattleRulesLoad load = LoadBattleRules(ShipStatsPath(folder_));
    rules_ = std::make_unique<const BattleRules>(std::move(load.rules));
    for (const std::string& message : load.Messages()) messages_->Error(nullptr, QString::fromStdString(message));
    context_.LogEnabled = false;
    const NumberLocale locale = SystemNumberLocale();
    context_.DecimalSeparator = locale.decimalSeparator;
    sheet_ = std::make_unique<BattleSheet>(*rules_, context_, locale);
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
    grid_ = windows_.Own(new BattleGrid(*sheet_, appearance_, central));
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
    connect(grid_, &BattleGrid::Recalculated, this, [this] { SheetChanged(); });
    connect(panel_, &ResultsPanelWidget::TickClicked, this, [this] { RunCommand([this] { TickClick(); }); });
    connect(panel_, &ResultsPanelWidget::TickBackClicked, this, [this] { RunCommand([this] { TickBackClick(); }); });
    BuildSecondaryWindows();
}

// In the order the program has always created them; all hidden.
void TForm1::BuildSecondaryWindows() {
    logWindow_ = windows_.Own(new TForm2(*sheet_, appearance_, this));
    sheet_->SetLogWindow(logWindow_);
    connect(logWindow_, &TForm2::CommandStarting, this, &TForm1::FinishInput);
    connect(logWindow_, &TForm2::Recalculated, this, [this] { SheetChanged(); });
    connect(grid_, &BattleGrid::MouseReleased, logWindow_, &TForm2::WriteLogStep);
    // A spin becomes a step to undo when the button is released.
    connect(grid_, &BattleGrid::MouseReleased, this, &TForm1::UpdateUndoActions);
    parserDialog_ = windows_.Own(new TParserDialog(*sheet_, this));
    connect(parserDialog_, &TParserDialog::CommandStarting, this, &TForm1::FinishInput);
    // Typing goes on in the grid, at its current cell.
    connect(parserDialog_, &TParserDialog::ReportApplied, this, [this] {
        activateWindow();
        grid_->setFocus(Qt::OtherFocusReason);
    });
    connect(parserDialog_, &TParserDialog::Applied, this, [this] { SheetChanged(); });
    connect(parserDialog_, &TParserDialog::ApplyFailed, this,
            [this](const QString& message) { messages_->Error(this, message); });
    connect(parserDialog_, &TParserDialog::PasteRefused, this,
            [this](const QString& message) { messages_->Warning(parserDialog_, message); });
    shipDetails_ = windows_.Own(new TShipDetailsForm(rules_->catalogue, this));
    connect(grid_, &BattleGrid::ShipStatsChosen, shipDetails_, &TShipDetailsForm::ShowFor);
    debugForm_ = windows_.Own(new TDebugForm(*rules_, *sheet_, context_, *this, *messages_, this));
    unitTables_ = windows_.Own(new TShipMatrixForm(*rules_, context_.DecimalSeparator, this));
    setupForm_ = windows_.Own(new TSetupForm(appearance_, AppearancePath(folder_), *messages_, this));
    connect(setupForm_, &TSetupForm::AppearanceChanged, grid_, [this] { grid_->viewport()->update(); });
    plannerForm_ = windows_.Own(new TPlannerForm(*rules_, *sheet_, context_, *messages_, folder_, this));
    connect(plannerForm_, &TPlannerForm::CommandStarting, this, &TForm1::FinishInput);
    connect(plannerForm_, &TPlannerForm::ValueUsed, this, [this] { SheetChanged(); });
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

void TForm1::SheetChanged() {
    openNotice_->Dismiss();
    grid_->SheetChanged();
    panel_->Show(sheet_->Results());
    if (plannerForm_ != nullptr) plannerForm_->BattleChanged();
    UpdateUndoActions();
}

void TForm1::FinishInput() {
    grid_->FinishInput();
    // A spin ends without a recalculation to tell of it.
    UpdateUndoActions();
}

void TForm1::RunCommand(const std::function<void()>& command) {
    FinishInput();
    command();
}

QAction* TForm1::AddCommand(QMenu* menu, const QString& text, std::function<void()> command) {
    return menu->addAction(text, this, [this, command = std::move(command)] { RunCommand(command); });
}

// A count being typed or spun was finished first: it is a change of its own to undo.
void TForm1::UndoRedo(void (BattleSheet::*command)()) {
    (sheet_.get()->*command)();
    SheetChanged();
}

void TForm1::UpdateUndoActions() {
    if (undo_ == nullptr) return;
    // An edit still open is a change to undo: it ends before the undo.
    const bool editing = !grid_->EditorText().isNull();
    undo_->setEnabled(sheet_->CanUndo() || editing);
    redo_->setEnabled(sheet_->CanRedo());
    // Each names its step: "Undo Typing", "Redo Tick Step".
    const auto named = [](const char* command, const char* step) {
        return step == nullptr ? QString(command) : QString(command) + " " + step;
    };
    undo_->setText(named("&Undo", editing ? "Typing" : sheet_->UndoName()));
    redo_->setText(named("R&edo", editing ? nullptr : sheet_->RedoName()));
}

void TForm1::ReCalc() {
    FinishInput();
    sheet_->Recalculate();
    SheetChanged();
}

void TForm1::CompressGrid() { RowsChanged(&BattleSheet::CompressGrid); }

void TForm1::StopGridTimer() { grid_->StopSpin(); }

void TForm1::ShowDebug() { debugForm_->ShowDebug(); }

// Row heights change for many rows at once: the grid draws once when all are done.
void TForm1::RowsChanged(void (BattleSheet::*command)()) {
    grid_->SetDrawingSuspended(true);
    (sheet_.get()->*command)();
    grid_->SetDrawingSuspended(false);
    SheetChanged();
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

void TForm1::TickClick() {
    sheet_->StepForward();
    SheetChanged();
}

void TForm1::TickBackClick() {
    sheet_->StepBack();
    SheetChanged();
}

namespace {

// A window must not wait: opening a pipe waits for a writer and a device may never end, so
// only a regular file (or a missing one, for its warning) is opened. kestrin-cli still
// reads pipes, for the shell's process substitution.
BattleFileResult OpenRegularBattleFile(BattleSheet& sheet, const std::filesystem::path& path) {
    std::error_code code;
    const std::filesystem::file_status status = std::filesystem::status(path, code);
    const auto type = status.type();
    if (!code && type != std::filesystem::file_type::regular && type != std::filesystem::file_type::directory &&
        type != std::filesystem::file_type::not_found)
        return {BattleFileStatus::ReadFailed, "Unable to read " + path.string() + ": it is not a regular file", {}};
    return kestrin::OpenBattleFile(sheet, path);
}

}  // namespace

bool TForm1::OpenBattleFile(const std::filesystem::path& path) {
    grid_->setVisible(false);
    BattleFileResult result;
    try {
        result = OpenRegularBattleFile(*sheet_, path);
    } catch (const std::bad_alloc&) {
        // The file is read whole before a cell changes, so the battle stays as it was.
        result = {BattleFileStatus::ReadFailed, "Out of memory: unable to read " + path.string() + "; the battle is unchanged", {}};
    }
    grid_->setVisible(true);
    const QString qpath = QString::fromStdString(path.string());
    switch (result.status) {
        case BattleFileStatus::Ok:
            recent_.Remember(qpath);
            RebuildRecentMenu();
            SheetChanged();
            FileChanged(path);
            TellOpenProblems(path, result.problems);
            return true;
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
    const BattleFileResult result = kestrin::SaveBattleFile(*sheet_, path);
    if (!result.ok()) {
        messages_->Error(this, QString::fromStdString(result.message));
        return false;
    }
    recent_.Remember(QString::fromStdString(path.string()));
    RebuildRecentMenu();
    FileChanged(path);
    return true;
}

// The battle on the grid is now the file's: "Save" goes there, and it is unchanged.
void TForm1::FileChanged(const std::filesystem::path& path) {
    currentFile_ = path;
    savedInputs_ = InputTexts(sheet_->Cells());
    QString name = QString::fromStdString(path.filename().string());
    // A '&' in a file name is a letter of the name, not a menu accelerator.
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    if (save_ != nullptr) save_->setText("&Save " + name);
}

// Once, over the grid, without a box: the file opened by its own reading all the same.
void TForm1::TellOpenProblems(const std::filesystem::path& path, const std::vector<BattleFileProblem>& problems) {
    QStringList lines;
    for (const BattleFileProblem& problem : problems) lines << QString::fromStdString(BattleFileProblemText(problem));
    const QString name = QString::fromStdString(path.filename().string());
    openNotice_->Tell(tr("%1: lines that are no count as written (click to close):").arg(name), lines);
}

bool TForm1::BattleChangedSinceSaved() const { return InputTexts(sheet_->Cells()) != savedInputs_; }

bool TForm1::MaySetBattleAside() {
    FinishInput();
    if (!BattleChangedSinceSaved()) return true;
    const QString name = currentFile_.empty() ? QString("the new battle")
                                              : QString::fromStdString(currentFile_.filename().string());
    switch (messages_->AskToSave(this, "Save changes to " + name + "?")) {
        case SaveChoice::Save: return FileSave();
        case SaveChoice::Discard: return true;
        default: return false;
    }
}

bool TForm1::FileSave() {
    FinishInput();
    if (currentFile_.empty()) {
        FileSaveAs1();
        return !currentFile_.empty() && !BattleChangedSinceSaved();
    }
    return SaveBattleFile(currentFile_);
}

void TForm1::FileOpenClick() {
    if (!MaySetBattleAside()) return;
    if (const auto path = AskBattleFileToOpen(this, dialogFolder_)) OpenBattleFile(*path);
}

void TForm1::OpenRecent(const QString& file) {
    if (MaySetBattleAside()) OpenBattleFile(std::filesystem::path(file.toStdString()));
}

void TForm1::FileSaveAs1() {
    FinishInput();
    if (const auto path = AskBattleFileToSave(this, dialogFolder_)) SaveBattleFile(*path);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!MaySetBattleAside()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// A click on the window outside the grid (the results panel, the free space) ends an edit.
void TForm1::mousePressEvent(QMouseEvent* event) {
    FinishInput();
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
    if (MaySetBattleAside()) OpenBattleFile(std::filesystem::path(urls.first().toLocalFile().toStdString()));
    return true;
}

}  // namespace kestrin
