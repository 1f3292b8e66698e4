#pragma once

#include <QWidget>

#include <map>
#include <memory>
#include <optional>

#include "engine/simulation_context.h"
#include "sheet/battle_document.h"
#include "planner/fleet_search.h"
#include "ui/planner/planner_job.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTableWidgetItem;

namespace kestrin {

/// A finished search of the "Best Fleet" page: the advisor's answer and, beside it, the battle
/// of the fleet the grid holds.
struct FleetSearchOutcome {
    FleetSearchResult result;
    FleetBattle grid;
    std::string error;  ///< why there is no answer (out of memory), else empty
};

/// The planner's "Best Fleet" page: the player ticks the attacker rows to vary (none at first,
/// then the player's last choice; one click ticks every row with ships, or none), each from 0
/// to a bound (see FillRows), the ticks and a goal; the advisor finds
/// the fleet off the window's thread, and the page shows it beside the grid's own fleet, a
/// row per figure, for the whole battle or one tick. A fleet that keeps no limit is not
/// shown. "Use this fleet" writes it into the sheet as the step "Use This Fleet". A fleet found
/// for another battle than the one on the grid is marked out of date and cannot be used until
/// the search runs again.
///
/// The rules, sheet and context belong to the main window, the cores to the planner window;
/// all must outlive this page.
class BestFleetPage : public QWidget {
    Q_OBJECT

public:
    BestFleetPage(const BattleRules& rules, BattleDocument& document, const SimulationContext& context,
                  PlannerCores& cores, QWidget* parent = nullptr);

    /// Reads the attacker's rows from the sheet again, keeping the player's ticks. A row's Most
    /// is the bound the player typed, kept whatever the grid holds; else the grid's count,
    /// except that "Use this fleet" leaves it as it was while the grid holds the count used
    /// (the search then tries the same space again, never a smaller one). Emptying a typed
    /// Most gives the row back to the grid. While a bound is being typed the table waits
    /// until it is entered.
    void FillRows();
    /// The battle on the grid changed, the page shown or not: the rows follow it, a fleet
    /// found for another battle is out of date, and the grid's own fleet beside the answer is
    /// the one the grid holds now.
    void BattleChanged();
    /// Whether the fleet shown was found for another battle than the one on the grid.
    bool OutOfDate() const { return outOfDate_; }
    /// Starts the search the controls describe; nothing when they describe none.
    void FindFleet();
    /// "Use this fleet": the found counts into the sheet, then a recalculation.
    void UseFleet();
    /// The window closes: a running search stops and the results are let go.
    void Close();

    /// Whether a search runs.
    bool Running() const { return job_->Running(); }
    /// The last finished search, if any.
    const std::optional<FleetSearchOutcome>& Outcome() const { return outcome_; }
    /// The rows the last search varied: those "Use this fleet" changes.
    const std::vector<VariedRow>& UsedRows() const { return searched_.rows; }
    /// Ticks every row with ships on the grid (`withShips`), or none.
    void TickRows(bool withShips);

    QTableWidget* RowTable() const { return rowTable_; }
    QSpinBox* TicksBox() const { return ticksBox_; }
    QComboBox* GoalBox() const { return goalBox_; }
    QSpinBox* MinRoidsBox() const { return minRoidsBox_; }
    QLineEdit* MaxLossEdit() const { return maxLossEdit_; }
    QSpinBox* EvaluationsBox() const { return evaluationsBox_; }
    QPushButton* FindButton() const { return findButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* ProblemLabel() const { return problem_; }
    QLabel* Summary() const { return summary_; }
    QTableWidget* FleetTable() const { return fleetTable_; }
    QTableWidget* FigureTable() const { return figureTable_; }
    /// Which figures the table shows: the whole battle (0) or a tick (1, 2, ...).
    QComboBox* PeriodBox() const { return periodBox_; }
    QPushButton* TickShipsButton() const { return tickShips_; }
    QPushButton* TickNoneButton() const { return tickNone_; }
    QPushButton* UseFleetButton() const { return useFleet_; }

signals:
    /// "Use this fleet" changed the sheet (the window shows the rows it changed).
    void FleetUsed();

private:
    QWidget* BuildControls();
    QWidget* BuildResults();
    std::string CheckControls(FleetSearchRequest* request) const;
    std::vector<std::int32_t> GridCounts(const std::vector<VariedRow>& rows) const;
    void UpdateState();
    void SearchFinished();
    void ShowOutcome();
    void FillFleetTable();
    void FillFigureTable();
    void FillPeriods();
    QString OutcomeText() const;
    bool FleetShown() const;
    void BoundEdited(QTableWidgetItem* item);
    void FollowGridFleet();
    void HoldBounds(const std::vector<std::pair<int, std::int64_t>>& fleet);

    BattleDocument& document_;
    const BattleSheet& sheet_;
    const SimulationContext& context_;
    const BattleRules& rules_;
    PlannerJob* job_ = nullptr;
    std::shared_ptr<FleetSearchOutcome> searching_;  ///< where the running search leaves its answer
    std::optional<FleetSearchOutcome> outcome_;
    FleetSearchRequest searched_;  ///< what the last search ran on
    bool forget_ = false;          ///< closed while searching: the outcome is dropped
    bool outOfDate_ = false;       ///< the outcome was found for another battle
    bool refillPending_ = false;   ///< the rows waited for a bound being typed

    QTableWidget* rowTable_ = nullptr;
    QSpinBox* ticksBox_ = nullptr;
    QComboBox* goalBox_ = nullptr;
    QSpinBox* minRoidsBox_ = nullptr;
    QLineEdit* maxLossEdit_ = nullptr;
    QSpinBox* evaluationsBox_ = nullptr;
    QPushButton* findButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* problem_ = nullptr;
    QLabel* summary_ = nullptr;
    QTableWidget* fleetTable_ = nullptr;
    QTableWidget* figureTable_ = nullptr;
    QComboBox* periodBox_ = nullptr;
    QPushButton* tickShips_ = nullptr;
    QPushButton* tickNone_ = nullptr;
    QPushButton* useFleet_ = nullptr;
    std::map<int, bool> ticked_;  ///< the player's ticks by sheet row, kept while rows come and go
    std::map<int, QString> typedMost_;  ///< the bounds the player typed, by sheet row
    /// Bounds "Use this fleet" left as they were, by sheet row: the count it wrote and the bound.
    std::map<int, std::pair<QString, QString>> heldMost_;
};

}  // namespace kestrin
