#pragma once

#include <QMainWindow>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/simulation_context.h"
#include "settings/appearance.h"
#include "sheet/battle_file_problems.h"
#include "sheet/battle_sheet.h"
#include "ui/debug/debug_host.h"
#include "ui/main/recent_files.h"
#include "ui/common/owned_windows.h"
#include "ui/common/user_messages.h"

class QAction;
class QActionGroup;
class QMenu;

namespace kestrin {

class BattleGrid;
class ReadNotice;
class ResultsPanelWidget;
class TDebugForm;
class TForm2;
class TParserDialog;
class TPlannerForm;
class TSetupForm;
class TShipDetailsForm;
class TShipMatrixForm;

/// Where the main window finds the program's files and how it reports problems.
struct MainWindowOptions {
    /// Statistics, colours and the battle file dialogs' start; empty: the program's own folders.
    std::filesystem::path programFolder;
    UserMessages* messages = nullptr;      ///< null: message boxes
};

/// The main window: the battle grid, the results panel, the menus and the popup menu.
/// Its creation is the program's start-up: colours, statistics, combat tables, empty sheet.
class TForm1 : public QMainWindow, public DebugHost {
    Q_OBJECT
public:
    explicit TForm1(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    /// The battle.
    BattleSheet& Sheet() { return *sheet_; }
    /// The catalogue and combat tables built at start-up.
    const BattleRules& Rules() const { return *rules_; }
    /// The current colours (edited live by the setup window).
    Appearance& Colours() { return appearance_; }
    /// The grid.
    BattleGrid* Grid() const { return grid_; }
    /// The results panel.
    ResultsPanelWidget* Panel() const { return panel_; }
    /// The secondary windows, created at start-up in this order and hidden until asked for.
    TForm2* LogWindow() const { return logWindow_; }
    TParserDialog* ParserDialog() const { return parserDialog_; }
    TShipDetailsForm* ShipDetails() const { return shipDetails_; }
    TDebugForm* DebugForm() const { return debugForm_; }
    TShipMatrixForm* UnitTables() const { return unitTables_; }
    TSetupForm* SetupForm() const { return setupForm_; }
    /// The battle planner ("Results" -> "Battle Planner..."), created after the others.
    TPlannerForm* PlannerForm() const { return plannerForm_; }
    /// "Undo" and "Redo", at the top of the "Grid" menu.
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    /// The grid's popup menu.
    QMenu* PopupMenu() const { return popup_; }
    /// The folder of the statistics and colours files.
    const std::filesystem::path& ProgramFolder() const { return folder_; }
    /// The folder the battle file dialogs start in.
    const std::filesystem::path& DialogFolder() const { return dialogFolder_; }

    /// How every command of the window begins: an edit of the grid ends (the typed count goes
    /// in and is recalculated, as its own step to undo) and a spin stops. Secondary windows
    /// call it through their CommandStarting signals, the debug window as its host.
    void FinishInput() override;
    /// Runs `command` as every menu item, popup item, key and button of the window runs: input
    /// finished first. A new command goes through here (or AddCommand) and cannot forget it.
    void RunCommand(const std::function<void()>& command);
    /// A menu item that runs `command` through RunCommand.
    QAction* AddCommand(QMenu* menu, const QString& text, std::function<void()> command);

    /// Re - Calculate: recalculates and shows the results.
    void ReCalc() override;
    /// Compress Grid.
    void CompressGrid() override;
    /// "Save &As...": asks for a file and saves the battle.
    void FileSaveAs1() override;
    /// Stops spinning a count (a solver bailout while the debug window is shown).
    void StopGridTimer() override;
    /// `ShowDebug`: the debug window, reached by Ctrl+Shift+D (its menu item stays hidden).
    void ShowDebug();
    /// The sheet changed through a command: shows its cells, rows and results.
    void SheetChanged();
    /// Opens a battle file into the sheet, reporting what goes wrong; true when opened.
    bool OpenBattleFile(const std::filesystem::path& path);
    /// Saves the sheet's inputs to a battle file, reporting what goes wrong; true when saved.
    bool SaveBattleFile(const std::filesystem::path& path);
    /// "File" -> "Save" (Ctrl+S): to the battle file last opened or saved, else as "Save As".
    bool FileSave();
    /// The note over the grid telling the lines of the battle file last opened that are no
    /// count as written; put away by the next change.
    ReadNotice* OpenNotice() const { return openNotice_; }
    /// The battle file last opened or saved; empty for a new battle.
    const std::filesystem::path& CurrentFile() const { return currentFile_; }
    /// Whether the battle's inputs differ from those last opened or saved (or from the empty
    /// battle of a start).
    bool BattleChangedSinceSaved() const;
    /// Before the battle is set aside (Exit, closing, Open, Open Recent, a drop): a changed
    /// battle asks "Save changes to NAME?" (Save, Discard, Cancel). False when the player
    /// cancels or the save fails: the battle stays.
    bool MaySetBattleAside();
    /// "&Open...": asks whether to save a changed battle, then for the file to open.
    void FileOpenClick();
    /// Opens the first local file of a drop, as "&Open..." would; false when there is none.
    bool OpenDroppedUrls(const QList<QUrl>& urls);
    /// "Hide Results" / "Show Results".
    void ToggleResults();
    /// `SpinInput` and `EditInput`: the grid's input mode, kept in step in menu and popup.
    void SpinInput();
    void EditInput();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void LoadStartup();
    void BuildWindows();
    void BuildSecondaryWindows();
    void BuildMenus();
    void BuildFileMenu();
    void BuildGridMenu();
    void BuildResultsMenu();
    void BuildInputMenu();
    void BuildPopupMenu();
    void BuildTickKeys();
    void UndoRedo(void (BattleSheet::*command)());
    void UpdateUndoActions();
    void AddSheetCommands(QMenu* menu, const QString& recalc, const QString& compress, const QString& expand);
    QMenu* AddRaceMenu(QMenu* parent);
    QMenu* AddClearMenu(QMenu* parent);
    void RebuildRecentMenu();
    void RowsChanged(void (BattleSheet::*command)());
    void OpenRecent(const QString& file);
    void FileChanged(const std::filesystem::path& path);
    void TellOpenProblems(const std::filesystem::path& path, const std::vector<BattleFileProblem>& problems);
    void TickClick();
    void TickBackClick();

    std::filesystem::path folder_;
    std::filesystem::path dialogFolder_;
    std::unique_ptr<UserMessages> ownMessages_;
    UserMessages* messages_ = nullptr;
    Appearance appearance_;
    std::unique_ptr<const BattleRules> rules_;
    SimulationContext context_;
    std::unique_ptr<BattleSheet> sheet_;
    RecentFiles recent_;
    std::filesystem::path currentFile_;
    // Columns 1 and 7 as last opened or saved: what "changed since saved" compares with.
    std::vector<std::string> savedInputs_;

    // The grid and the secondary windows refer to the sheet, the rules, the colours and the
    // run settings: owned here, after those members, they go before them.
    OwnedWindows windows_;

    BattleGrid* grid_ = nullptr;
    ResultsPanelWidget* panel_ = nullptr;
    TForm2* logWindow_ = nullptr;
    TParserDialog* parserDialog_ = nullptr;
    TShipDetailsForm* shipDetails_ = nullptr;
    TDebugForm* debugForm_ = nullptr;
    TShipMatrixForm* unitTables_ = nullptr;
    TSetupForm* setupForm_ = nullptr;
    TPlannerForm* plannerForm_ = nullptr;
    ReadNotice* openNotice_ = nullptr;
    QMenu* popup_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction* shipStatsItem_ = nullptr;
    QAction* hideResults_ = nullptr;
    QAction* save_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QActionGroup* menuInput_ = nullptr;
    QActionGroup* popupInput_ = nullptr;
    QAction* spinMenuItem_ = nullptr;
    QAction* editMenuItem_ = nullptr;
    QAction* spinPopupItem_ = nullptr;
    QAction* editPopupItem_ = nullptr;
};

}  // namespace kestrin
