#pragma once

#include <QWidget>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "engine/simulation_context.h"
#include "planner/battle_sweep.h"
#include "ui/planner/planner_job.h"
#include "planner/sweep_findings.h"
#include "ui/common/dialog_folder.h"
#include "ui/planner/planner_chart.h"
#include "sheet/battle_document.h"

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace kestrin {

class BestFleetPage;
class PlannerChartView;
class UserMessages;

/// What the planner's readout says until the mouse is over a point.
inline constexpr const char* kReadoutHint = "Move the mouse over the chart to read a point; press to choose it.";

/// "Battle Planner": sweeps one input of the battle on the grid over a range of values and
/// charts the results panel's figures against it, with its findings in words beside the chart;
/// its "Best Fleet" page finds the attacker fleet to send. The sweep runs off the window's
/// thread; changing the battle marks the chart out of date; "Use this value" writes the chosen
/// point's value into the sheet. Closing the window cancels its work and lets go of its results.
///
/// The rules, sheet, context and messages belong to the main window and must outlive this one.
class TPlannerForm : public QWidget, public DocumentView {
    Q_OBJECT

public:
    TPlannerForm(const BattleRules& rules, BattleDocument& document, const SimulationContext& context,
                 UserMessages& messages, DialogFolder& folder, QWidget* parent = nullptr);
    ~TPlannerForm() override;

    /// Shows the window beside its parent, in front, with the rows of the sheet as it stands.
    void ShowPlanner();
    /// The part of the parent window (its own coordinates) the planner is never placed over:
    /// the grid's attacker columns, where the rows it varies and changes are.
    void KeepInView(std::function<QRect()> part) { keepInView_ = std::move(part); }
    /// The battle on the grid changed: marks the chart out of date when its inputs differ;
    /// a chart out of date offers no value to use until it is run again.
    void BattleChanged() override;

    /// Starts the sweep the controls describe; nothing when they describe none.
    void RunSweep();
    /// Chooses point `index` of the last sweep for "Use this value".
    void ChoosePoint(int index);
    /// "Use this value": the chosen value into its input cell as the step "Use This Value".
    void UseChosenValue();
    /// Writes the last sweep as CSV to `path`; the error's text, or empty.
    QString ExportCsv(const std::filesystem::path& path) const;
    /// Saves the chart, its legend and findings as a PNG image of 1600 x 1000 pixels at any
    /// scale of the screen, its text large enough to read at half that size, at `path`; the
    /// error's text, or empty.
    QString SaveChartPng(const std::filesystem::path& path);
    /// The findings of the plotted sweep.
    const SweepFindings& Findings() const { return chart_->Shown().findings; }

    /// Whether the chart no longer matches the battle on the grid.
    bool OutOfDate() const { return outOfDate_; }
    /// The last finished sweep.
    const SweepResult& Result() const { return result_; }
    /// Whether a sweep runs (the chart waits for it).
    bool Running() const;
    /// Whether every value of the swept range is being tried for the findings (the chart is
    /// usable meanwhile).
    bool FindingsRunning() const;
    /// Whether the findings shown were taken over every whole value of the swept range.
    bool FindingsExact() const { return findingsExact_; }

    QComboBox* SideBox() const { return sideBox_; }
    QComboBox* RowBox() const { return rowBox_; }
    QLineEdit* FromEdit() const { return fromEdit_; }
    QLineEdit* ToEdit() const { return toEdit_; }
    QSpinBox* PointsBox() const { return pointsBox_; }
    QSpinBox* TicksBox() const { return ticksBox_; }
    QComboBox* ModeBox() const { return modeBox_; }
    QListWidget* FigureList() const { return figureList_; }
    QPushButton* RunButton() const { return runButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }
    QProgressBar* Progress() const { return progress_; }
    QLabel* ProblemLabel() const { return problem_; }
    QLabel* StatusLabel() const { return status_; }
    QLabel* Readout() const { return readout_; }
    QLabel* FindingsLabel() const { return findings_; }
    QTabWidget* Pages() const { return pages_; }
    BestFleetPage* FleetPage() const { return fleetPage_; }
    QPushButton* UseValueButton() const { return useValue_; }
    PlannerChartView* Chart() const { return chart_; }
    /// Says which tick of the battle the main window shows.
    QLabel* TickNote() const { return tickNote_; }

signals:
    /// "Use this value" or "Use this fleet" changed the Ships of these rows on `side`: the
    /// grid shows them.
    void RowsChanged(kestrin::Side side, QList<int> rows);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildControls();
    QWidget* BuildChartSide();
    void FillRows();
    void RowChosen();
    void UpdateRunState();
    std::string CheckControls(SweepRequest* request) const;
    void SweepFinished();
    void Replot();
    PlotMode Mode() const;
    void ShowPointFigures(int index);
    void ShowReadout();
    void ChooseFinding(int kind);
    void StartFindingsPass();
    void FindingsPassFinished();
    void CancelWork();
    /// The findings as the side panel shows them; each a link choosing its point when
    /// `links` (the window's, while the chart is current), else plain text (an image's).
    QString FindingsHtml(bool links) const;
    QString FindingsScope() const;
    void ForgetResults();
    void LayOutFindings(bool beside);
    void ExportCsvClick();
    void SavePngClick();
    QString InputTitle() const;
    Side ChosenSide() const;
    void SetRunning(bool running);
    void ShowTickNote();

    BattleDocument& document_;
    const BattleSheet& sheet_;
    const SimulationContext& context_;
    UserMessages& messages_;
    DialogFolder& folder_;
    PlannerCores cores_;  ///< shared by the sweep page and the search: one of them at a time
    PlannerJob* sweepJob_ = nullptr;
    std::shared_ptr<SweepResult> sweeping_;  ///< where the running sweep leaves its points
    PlannerJob* findingsJob_ = nullptr;      ///< tries every value of the range for the findings
    std::shared_ptr<FindingsPass> passing_;  ///< where the running pass leaves its tally
    SweepResult result_;
    SweepRequest swept_;  ///< what the last sweep was run on (its values are not kept here)
    std::uint64_t sweptSetUp_ = 0;  ///< the set-up of the battle swept (BattleDocument::SetUpBattle)
    std::vector<SweepFigures> plotted_;
    FindingsTally tally_;          ///< the findings: over the points, or every value once tried
    bool findingsExact_ = false;   ///< tally_ holds every whole value of the range
    bool passCancelled_ = false;   ///< trying every value was cancelled or failed
    bool passStale_ = false;       ///< the running findings pass is for an earlier sweep
    bool passWanted_ = false;      ///< a findings pass waits for the stale one to end
    std::optional<int> chosen_;    ///< the chosen point's index, when it is one of the sweep's
    std::optional<SweepPoint> chosenPoint_;  ///< the chosen point: one of the sweep's, or a finding's
    std::optional<SweepPoint> read_;         ///< the point the readout shows
    bool outOfDate_ = false;
    bool forget_ = false;  ///< closed while a sweep ran: its result is dropped

    QComboBox* sideBox_ = nullptr;
    QComboBox* rowBox_ = nullptr;
    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* toEdit_ = nullptr;
    QSpinBox* pointsBox_ = nullptr;
    QSpinBox* ticksBox_ = nullptr;
    QComboBox* modeBox_ = nullptr;
    QListWidget* figureList_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* problem_ = nullptr;  ///< why the controls describe no sweep
    QLabel* status_ = nullptr;   ///< how the last sweep went
    QLabel* readout_ = nullptr;
    QLabel* findings_ = nullptr;  ///< the findings in words and the lines' legend
    QWidget* findingsArea_ = nullptr;  ///< scrolls the findings
    QBoxLayout* chartRow_ = nullptr;  ///< the chart and the findings, side by side or stacked
    QTabWidget* pages_ = nullptr;
    BestFleetPage* fleetPage_ = nullptr;
    QPushButton* useValue_ = nullptr;
    QPushButton* exportCsv_ = nullptr;
    QPushButton* savePng_ = nullptr;
    PlannerChartView* chart_ = nullptr;
    QLabel* tickNote_ = nullptr;
    std::function<QRect()> keepInView_;
};

}  // namespace kestrin
