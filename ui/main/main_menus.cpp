// The main window's menus and the grid's popup menu, with the captions the program has
// always had.
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>

#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/common/window_placement.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/planner/planner_form.h"
#include "ui/main/results_panel_widget.h"
#include "ui/setup/setup_form.h"
#include "ui/ship_info/ship_matrix_form.h"

namespace kestrin {

namespace {

void ShowAndFocus(QWidget* window) {
    window->show();
    KeepOnScreen(window);
    window->raise();
    window->activateWindow();
}

}  // namespace

void TForm1::BuildMenus() {
    BuildFileMenu();
    BuildGridMenu();
    BuildResultsMenu();
    BuildInputMenu();
    // The "Parser" title is itself the command: it shows the scan parser dialog.
    QAction* parser = menuBar()->addAction("&Parser", this, [this] { parserDialog_->ShowParser(); });
    parser->setObjectName("ShowParser");
    BuildPopupMenu();
    // The debug window's and the unit tables' menu items are never shown; these keys reach them.
    const auto addWindowKey = [this](const char* name, const char* keys, std::function<void()> show) {
        auto* action = new QAction(name, this);
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, show);
        addAction(action);
    };
    addWindowKey("Kestrin Debug", "Ctrl+Shift+D", [this] { ShowDebug(); });
    addWindowKey("Unit Tables", "Ctrl+Shift+U", [this] { ShowAndFocus(unitTables_); });
    BuildTickKeys();
}

// The tick buttons' keys work from anywhere in the window, the panel hidden or not.
void TForm1::BuildTickKeys() {
    const auto addKey = [this](const char* keys, void (TForm1::*command)(), QToolButton* button) {
        auto* action = new QAction(button->toolTip(), this);
        action->setShortcut(QKeySequence(keys));
        connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
        addAction(action);
        button->setToolTip(button->toolTip() + " (" + action->shortcut().toString(QKeySequence::NativeText) + ")");
    };
    addKey("Alt+Right", &TForm1::TickClick, panel_->TickButton());
    addKey("Alt+Left", &TForm1::TickBackClick, panel_->TickBackButton());
}

void TForm1::BuildFileMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    QAction* open = AddCommand(file, "&Open...", [this] { FileOpenClick(); });
    open->setShortcut(QKeySequence("Ctrl+O"));
    open->setToolTip("Open");
    open->setStatusTip("Opens an existing file");
    QAction* link = AddCommand(file, "Open &Link from Clipboard", [this] { OpenLinkClick(); });
    link->setObjectName("OpenLink");
    link->setStatusTip("Opens the battle of a shared link held in the clipboard");
    QAction* copyLink = AddCommand(file, "&Copy Link", [this] { CopyLinkClick(); });
    copyLink->setObjectName("CopyLink");
    copyLink->setStatusTip("Puts the battle's link (#battle=..., the fleets shown) onto the clipboard");
    save_ = AddCommand(file, "&Save", [this] { FileSave(); });
    save_->setObjectName("FileSave");
    save_->setShortcut(QKeySequence::Save);
    save_->setStatusTip("Saves the battle to the file it was opened from or last saved to");
    QAction* save = AddCommand(file, "Save &As...", [this] { FileSaveAs1(); });
    save->setObjectName("FileSaveAs1");
    save->setToolTip("Save As");
    save->setStatusTip("Saves the active file with a new name");
    recentMenu_ = file->addMenu("Open Recent");
    RebuildRecentMenu();
    file->addSeparator();
    AddCommand(file, "Setup", [this] { ShowAndFocus(setupForm_); });
    file->addSeparator();
    QAction* exit = AddCommand(file, "E&xit", [this] { close(); });
    exit->setToolTip("Exit");
    exit->setStatusTip("Quits the application");
}

QMenu* TForm1::AddClearMenu(QMenu* parent) {
    QMenu* clear = parent->addMenu("&Clear...");
    AddCommand(clear, "&All", [this] { document_->ClearAll(); });
    AddCommand(clear, "&Defender", [this] { document_->ClearDefender(); });
    AddCommand(clear, "A&ttacker", [this] { document_->ClearAttacker(); });
    return clear;
}

QMenu* TForm1::AddRaceMenu(QMenu* parent) {
    QMenu* race = parent->addMenu("&Show Race");
    const auto show = [this](RaceFilter filter) {
        return [this, filter] { RowsChanged([this, filter] { document_->ShowRace(filter); }); };
    };
    AddCommand(race, "&Ter", show(RaceFilter::Ter));
    AddCommand(race, "&Cat", show(RaceFilter::Cat));
    AddCommand(race, "&Xan", show(RaceFilter::Xan));
    AddCommand(race, "&Zik", show(RaceFilter::Zik));
    AddCommand(race, "&PDS", show(RaceFilter::Pds));
    AddCommand(race, "&Roids", show(RaceFilter::Roids));
    return race;
}

void TForm1::AddSheetCommands(QMenu* menu, const QString& recalc, const QString& compress,
                              const QString& expand) {
    AddCommand(menu, recalc, [this] { ReCalc(); });
    if (menu != popup_) menu->addSeparator();
    AddCommand(menu, compress, [this] { RowsChanged([this] { document_->CompressRows(); }); });
    AddCommand(menu, expand, [this] { RowsChanged([this] { document_->ExpandRows(); }); });
}

void TForm1::BuildGridMenu() {
    QMenu* grid = menuBar()->addMenu("&Grid");
    undo_ = AddCommand(grid, "&Undo", [this] { document_->Undo(); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = AddCommand(grid, "R&edo", [this] { document_->Redo(); });
    redo_->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
    grid->addSeparator();
    // The keys act only while enabled, so the state must be right before the menu or a key.
    connect(grid, &QMenu::aboutToShow, this, &TForm1::UpdateUndoActions);
    UpdateUndoActions();
    // Every item can be chosen by a letter; the texts stay as they always were.
    AddSheetCommands(grid, "&Re - Calculate", "C&ompress Grid", "E&xpand Grid");
    AddClearMenu(grid);
    grid->addSeparator();
    AddRaceMenu(grid);
}

void TForm1::BuildResultsMenu() {
    QMenu* results = menuBar()->addMenu("&Results");
    hideResults_ = AddCommand(results, "&Hide Results", [this] { ToggleResults(); });
    results->addSeparator();
    QAction* showLog = AddCommand(results, "Show &Calculation Log", [this] { logWindow_->ShowLog(); });
    showLog->setObjectName("ShowLog");
    QAction* updateLog = AddCommand(results, "&Update Log", [this] { logWindow_->UpdateCalcLog(); });
    updateLog->setObjectName("UpdateCalcLog");
    // Present but never shown, as they always were.
    QAction* tables = AddCommand(results, "Unit &Tables", [this] { ShowAndFocus(unitTables_); });
    tables->setObjectName("ShowShipMatrix");
    tables->setVisible(false);
    QAction* debug = AddCommand(results, "&Debug Form", [this] { ShowDebug(); });
    debug->setObjectName("Debug1");
    debug->setVisible(false);
    results->addSeparator();
    AddCommand(results, "Battle &Planner...", [this] { plannerForm_->ShowPlanner(); })->setObjectName("ShowPlanner");
}

void TForm1::BuildInputMenu() {
    QMenu* input = menuBar()->addMenu("&Input");
    menuInput_ = new QActionGroup(this);
    spinMenuItem_ = AddCommand(input, "&Spin with Mouse", [this] { SpinInput(); });
    editMenuItem_ = AddCommand(input, "&Edit with Keyboard", [this] { EditInput(); });
    for (QAction* item : {spinMenuItem_, editMenuItem_}) {
        item->setCheckable(true);
        menuInput_->addAction(item);
    }
    editMenuItem_->setChecked(true);
}

void TForm1::BuildPopupMenu() {
    popup_ = new QMenu(this);
    shipStatsItem_ = popup_->addAction("Ship Stats");
    shipStatsItem_->setObjectName("ShipStats");
    popup_->addSeparator();
    AddSheetCommands(popup_, "Re-Calc All", "Compress", "Expand");
    AddRaceMenu(popup_);
    AddClearMenu(popup_);
    popup_->addSeparator();
    popupInput_ = new QActionGroup(this);
    spinPopupItem_ = AddCommand(popup_, "Spin Input", [this] { SpinInput(); });
    editPopupItem_ = AddCommand(popup_, "Edit Input", [this] { EditInput(); });
    for (QAction* item : {spinPopupItem_, editPopupItem_}) {
        item->setCheckable(true);
        popupInput_->addAction(item);
    }
    editPopupItem_->setChecked(true);
    grid_->SetPopupMenu(popup_, shipStatsItem_);
}

void TForm1::RebuildRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recent_.Files();
    for (const QString& file : files)
        AddCommand(recentMenu_, file, [this, file] { OpenRecent(file); });
    recentMenu_->setEnabled(!files.isEmpty());
}

}  // namespace kestrin
