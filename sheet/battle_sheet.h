#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/simulation_context.h"
#include "sheet/fleet_value.h"
#include "sheet/log_window_port.h"
#include "sheet/number_format.h"
#include "sheet/report_figures.h"
#include "sheet/results.h"
#include "sheet/row_visibility.h"
#include "sheet/sheet_cells.h"
#include "sheet/sheet_inputs.h"
#include "sheet/undo_history.h"

namespace kestrin {

/// The battle sheet: the single store of a battle's inputs and of the current
/// tick's results, as 12 x 66 text cells, with recalculation, tick stepping, the clear
/// commands, row visibility and the results panel's texts. The cell texts are the state:
/// no numeric copy of the battle is kept between recalculations.
///
/// Single-threaded. The rules (read-only after start-up), the simulation context and the
/// log window belong to the owner and must outlive the sheet.
///
/// The sheet opens no step to undo of its own: its owner brackets each change a player makes
/// with BeginChange and EndChange (or a SheetChange), BattleDocument for every face of the
/// program; kestrin-cli keeps no undo at all (KeepNoUndo).
class BattleSheet {
public:
    /// An empty sheet with its captions (SetupSheet), at tick 1, all rows shown.
    BattleSheet(const BattleRules& rules, SimulationContext& context, NumberLocale locale = {});

    /// Connects the calculation log window; null (the default) means there is none.
    void SetLogWindow(LogWindowPort* logWindow) { logWindow_ = logWindow; }

    /// The text of cell (col, row).
    const std::string& Cell(int col, int row) const { return cells_.At(col, row); }
    /// Writes text into a cell (an input, a parsed report); nothing is recalculated.
    void SetCell(int col, int row, std::string_view text) { cells_.Set(col, row, text); }
    /// Writes text into a side's Ships cell of `row` (sheet/sheet_inputs.h names the rows).
    void SetInput(Side side, int row, std::string_view text) { SetInputText(cells_, side, row, text); }
    /// All cells.
    const SheetCells& Cells() const { return cells_; }

    /// Writes the captions of columns 0 and 6 and the row 0 headings.
    void SetupSheet();
    /// How many times SetupSheet has run: a window showing the sheet gives its columns their
    /// first widths again whenever this changes.
    int SetupCount() const { return setupCount_; }

    /// ReCalc: reads the inputs, simulates one tick, writes every result back into the cells
    /// and fills the results panel. Clears ReportView and marks the log out of date (or runs
    /// as UpdateCalcLog when the log window asks for every recalculation).
    void Recalculate();

    /// How many recalculations the sheet has run: whether a command recalculated already.
    std::uint64_t Recalculations() const { return recalculations_; }

    /// UpdateCalcLog: one recalculation with LogEnabled set, the log window's sink receiving
    /// the log; the "Update Log" button is left disabled.
    void UpdateCalcLog();

    /// UpdateCalcLog when the log window is visible, else Recalculate: what tick steps and
    /// opening a battle file run.
    void RecalculateFollowingLog();

    /// The Tick button: the survivors and captures become the next tick's inputs. A parsed
    /// report is recalculated first, so that computed survivors are carried.
    void StepForward();

    /// The TickBack button: restores the previous tick's inputs exactly; nothing at tick 1.
    void StepBack();

    /// Makes the battle a new one at tick 1 with no earlier ticks; the cells stay as they are.
    /// For opening a battle's set-up as a battle of its own.
    void StartAtFirstTick();

    /// Clear All: empties every cell, clears the log, rewrites the captions, tick 1, no
    /// history. Does not recalculate: the panel keeps its figures.
    void ClearGrid();

    /// Clear Defender: empties column 1 of rows 1..65 and recalculates.
    void ClearDef();

    /// Clear Attacker: empties column 7 of rows 1..65 and recalculates.
    void ClearAtt();

    /// Hides every row without ships, asteroids, Eonium or score on either side.
    void CompressGrid() { rows_.Compress(cells_); }
    /// Shows every row.
    void ExpandGrid() { rows_.Expand(); }
    /// Race filters: show that block's rows (see RowVisibility::Show).
    void ShowTer() { rows_.Show(RaceFilter::Ter); }
    void ShowCat() { rows_.Show(RaceFilter::Cat); }
    void ShowXan() { rows_.Show(RaceFilter::Xan); }
    void ShowZik() { rows_.Show(RaceFilter::Zik); }
    void ShowPDS() { rows_.Show(RaceFilter::Pds); }
    void ShowRoids() { rows_.Show(RaceFilter::Roids); }
    /// Shows one race filter's rows.
    void ShowRace(RaceFilter race) { rows_.Show(race); }
    /// Whether `row` is shown.
    bool RowVisible(int row) const { return rows_.Shown(row); }
    /// The row visibility state.
    const RowVisibility& Rows() const { return rows_; }

    /// Opens a change (typing, a spin, a paste, a report, a file): the battle as it stands is
    /// what Undo will return to. A change opened inside an open one is part of it. `step`
    /// says what the change is for the menu ("Typing"); the outermost one counts.
    void BeginChange(Step step);
    /// Closes the change opened last. When the outermost one closes having changed the
    /// battle, it becomes one step to undo and nothing is left to redo.
    void EndChange() noexcept;
    /// Closes the change opened last, putting back the battle it started from (a held change
    /// cancelled); nothing is recorded.
    void CancelChange() noexcept { AbandonChange(); }
    /// Whether a change can be undone (an open change counts once it is closed).
    bool CanUndo() const { return undo_.CanUndo(); }
    /// Whether an undone change can be redone.
    bool CanRedo() const { return undo_.CanRedo(); }
    /// What Undo would take back ("Typing", "Tick Step"), or null when unnamed or none.
    const char* UndoName() const { return undo_.UndoName(); }
    /// What Redo would make again, or null.
    const char* RedoName() const { return undo_.RedoName(); }
    /// The change Undo would take back, and the one Redo would make again.
    std::optional<Step> UndoStep() const { return undo_.UndoStep(); }
    std::optional<Step> RedoStep() const { return undo_.RedoStep(); }
    /// Which battle the sheet shows as the undo history knows it (SheetSnapshot::id): a
    /// recorded change gives a new number; undo and redo bring back the one of the battle
    /// they restore.
    std::uint64_t BattleId() const { return battleId_; }
    /// Whether a change is open (BeginChange without its EndChange yet).
    bool ChangeOpen() const { return openChanges_ > 0; }
    /// The memory the steps to undo and redo hold.
    std::size_t UndoBytes() const { return undo_.Bytes(); }
    /// Keeps no steps to undo from now on: for a program that makes one change and ends.
    void KeepNoUndo() { keepUndo_ = false; }
    /// Closes any open change, then brings back the battle before the last change: cells,
    /// tick, tick history and a parsed report's view; recalculates unless a report returns.
    void Undo();
    /// Brings back the battle the last Undo left, as Undo does.
    void Redo();

    /// The current tick, 1 at start.
    int CurrentTick() const { return currentTick_; }
    /// Entry k: the inputs as they stood when stepping forward from tick k; entry 0 unused.
    /// A copy, as long as the history: for checks.
    std::vector<TickInputs> TickHistory() const;
    /// The tick history itself: its entries never change, so one is known by its address.
    const TickHistoryChain& HistoryChain() const { return history_; }

    /// Adds scanned unit counts to a side's Ships column; a count stops at the 32-bit range.
    /// Nothing is recalculated.
    void AddShips(Side side, const std::array<std::int64_t, kShipCount>& units);
    /// Adds a sector scan's planet figures to a side: the score, and for the defender the
    /// Eonium and the asteroids. Nothing is recalculated.
    void AddPlanet(Side side, const PlanetFigures& planet);
    /// Shows a parsed combat report: clears the sheet, fills it with the report's starting
    /// fleets and asteroids, runs one logged tick, then puts the report's held and lost figures
    /// beside the computed ones (in the Stole and Left columns, headed "Held" and "Lost") and
    /// sets ReportView.
    void ShowCombatReport(const CombatReport& report);
    /// What the scan parser's "OK" does with a report once read: a scan's figures added to
    /// its side and the battle recalculated, or a combat report shown.
    void AddReport(const ReportFigures& figures);
    /// Whether a parsed combat report is shown; the next recalculation clears it.
    bool ReportView() const { return reportView_; }

    /// The results panel's texts and the TickIndicator.
    const ResultsPanel& Results() const { return results_; }
    /// The separators of the panel's numbers.
    const NumberLocale& Locale() const { return locale_; }
    /// The catalogue and combat tables.
    const BattleRules& Rules() const { return rules_; }
    /// The resource costs of the catalogue, read once.
    const FleetCosts& Costs() const { return costs_; }

private:
    void Simulate(bool logEnabled);
    bool LogWindowVisible() const { return logWindow_ != nullptr && logWindow_->LogWindowVisible(); }
    void SetUpdateLogEnabled(bool enabled);
    void SaveInputs(TickInputs& inputs) const;
    void RestoreInputs(const TickInputs& inputs);
    void ShowTick() { results_.TickIndicator = TickIndicatorText(currentTick_); }
    void CloseOpenChanges() noexcept;
    std::unique_ptr<SheetSnapshot> Snapshot() const;
    void Restore(std::unique_ptr<SheetSnapshot> snapshot);
    void PutBack(SheetSnapshot& snapshot) noexcept;
    friend class SheetChange;
    void AbandonChange() noexcept;

    const BattleRules& rules_;
    SimulationContext& context_;
    NumberLocale locale_;
    FleetCosts costs_;
    LogWindowPort* logWindow_ = nullptr;
    SheetCells cells_;
    RowVisibility rows_;
    ResultsPanel results_;
    TickHistoryChain history_;
    int currentTick_ = 1;
    int setupCount_ = 0;
    std::uint64_t recalculations_ = 0;
    bool reportView_ = false;

    UndoHistory undo_;
    bool keepUndo_ = true;
    std::unique_ptr<SheetSnapshot> changeStart_;
    Step changeStep_ = Step::Typing;
    std::uint64_t battleId_ = 0;
    std::uint64_t lastBattleId_ = 0;
    int openChanges_ = 0;
};

/// Makes what the sheet does during its lifetime one step to undo. The battle it started
/// from is copied when it opens, where running out of memory can still be reported; when it
/// closes nothing is allocated. Left by an exception (the memory ran out half way), it puts
/// that battle back instead.
class SheetChange {
public:
    SheetChange(BattleSheet& sheet, Step step) : sheet_(sheet) { sheet_.BeginChange(step); }
    ~SheetChange() {
        if (std::uncaught_exceptions() > unwinding_) {
            sheet_.AbandonChange();
        } else {
            sheet_.EndChange();
        }
    }
    SheetChange(const SheetChange&) = delete;
    SheetChange& operator=(const SheetChange&) = delete;

private:
    BattleSheet& sheet_;
    int unwinding_ = std::uncaught_exceptions();
};

}  // namespace kestrin
