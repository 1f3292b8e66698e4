#pragma once

#include <QMainWindow>
#include <QUrl>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/simulation_context.h"
#include "settings/appearance.h"
#include "sheet/battle_document.h"
#include "sheet/battle_sheet.h"
#include "ui/debug/debug_host.h"
#include "ui/main/recent_files.h"
#include "ui/common/dialog_folder.h"
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
/// It owns the battle's document and is one of its views.
class TForm1 : public QMainWindow, public DebugHost, public DocumentView, public ReplaceQuestion {
    Q_OBJECT
public:
    explicit TForm1(MainWindowOptions options = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    /// The battle as the player edits it.
    BattleDocument& Document() { return *document_; }
    /// The battle's sheet, for reading.
    const BattleSheet& Sheet() const { return document_->Sheet(); }
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
    /// The folder the battle's file dialogs start in (DialogFolder).
    std::filesystem::path DialogStart() const { return dialogs_->Start(); }

    /// A menu item that runs `command`. Whatever it changes or reads of the battle goes
    /// through the document, which ends an open edit first.
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
    /// The document's view: the results panel, the undo items and the Save item follow it.
    void BattleChanged() override;
    /// What the document tells of the battle as a whole (lines of an opened file that are no
    /// count as written) shows once in the note over the grid, without a box.
    void Notice(const DocumentNotice& notice) override;
    /// Opens a battle file into the sheet, reporting what goes wrong; true when opened. A
    /// changed battle is asked about first, unless `consent` was given for it.
    bool OpenBattleFile(const std::filesystem::path& path, std::optional<SetAsideConsent> consent = {});
    /// Saves the sheet's inputs to a battle file, reporting what goes wrong; true when saved.
    bool SaveBattleFile(const std::filesystem::path& path);
    /// "File" -> "Save" (Ctrl+S): to the battle's own file while the sheet shows its battle,
    /// else as "Save As".
    bool FileSave();
    /// The note over the grid telling the lines of the battle file last opened that are no
    /// count as written; put away by the next change.
    ReadNotice* OpenNotice() const { return openNotice_; }
    /// The battle file last opened or saved, absolute; empty for a new battle.
    const std::filesystem::path& CurrentFile() const { return document_->File(); }
    /// Whether the battle changed since it was opened or saved (or since the start); tick
    /// steps alone are no change.
    bool BattleChangedSinceSaved() const { return document_->Changed(); }
    /// Before the battle is set aside (Exit, closing, Open, Open Recent, a drop): a changed
    /// battle asks "Save changes to NAME?" (Save, Discard, Cancel). False when the player
    /// cancels or the save fails: the battle stays.
    bool MaySetBattleAside();
    /// The document's question before a changed battle is set aside: "Save changes to NAME?"
    /// through UserMessages::AskToSave; Save saves first (a failed or cancelled save keeps it).
    bool MaySetAside(const std::string& question) override;
    /// "&Open...": asks whether to save a changed battle, then for the file to open.
    void FileOpenClick();
    /// Opens the battle of a shared link ("#battle=...") the clipboard holds.
    void OpenLinkClick();
    /// "File" -> "Copy Link": the battle's link ("#battle=...") onto the clipboard.
    void CopyLinkClick();
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
    void UpdateUndoActions();
    void UpdateSaveAction();
    void AddSheetCommands(QMenu* menu, const QString& recalc, const QString& compress, const QString& expand);
    QMenu* AddRaceMenu(QMenu* parent);
    QMenu* AddClearMenu(QMenu* parent);
    void RebuildRecentMenu();
    void RowsChanged(const std::function<void()>& command);
    void OpenRecent(const QString& file);
    void TickClick();
    void TickBackClick();
    void WidenToGrid();

    std::filesystem::path folder_;
    std::filesystem::path dialogFolder_;
    std::unique_ptr<UserMessages> ownMessages_;
    UserMessages* messages_ = nullptr;
    Appearance appearance_;
    std::unique_ptr<const BattleRules> rules_;
    SimulationContext context_;
    std::unique_ptr<BattleDocument> document_;
    std::unique_ptr<DialogFolder> dialogs_;
    // The size the window had at start (kept or default): only a change is written back.
    QSize startSize_;
    RecentFiles recent_;

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
