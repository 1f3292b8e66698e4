#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "engine/battle_rules.h"
#include "engine/simulation_context.h"
#include "sheet/battle_generators.h"
#include "sheet/battle_document.h"
#include "ui/debug/debug_host.h"
#include "ui/debug/debug_plot.h"
#include "ui/common/user_messages.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace kestrin {

class TextGrid;

/// "Kestrin Debug": traces one chosen solver call (inputs, cycles, results and a plot of the
/// search), switches the solver variant, shows the target class and kill rate matrices and
/// runs generated battles to catch solver bailouts.
///
/// While shown it is the context's trace hook and marks the debug window as shown; hidden,
/// it is neither. From construction on it is the context's bailout signal and forwards every
/// bailout to the signal that was installed before it. The rules, sheet, context, host and
/// messages must outlive the window. Runs on the user-interface thread only.
class TDebugForm : public QWidget, public SolverTraceHook, public BailoutSignal, public HeldChange {
    Q_OBJECT

public:
    /// A hidden window over the main window's battle; fills the matrix pages (FormCreate).
    TDebugForm(const BattleRules& rules, BattleDocument& document, SimulationContext& context,
               DebugHost& host, UserMessages& messages, QWidget* parent = nullptr);
    ~TDebugForm() override;

    /// Fills the selectors, shows the window and traces the current battle.
    void ShowDebug();
    /// Clears the trace display, recalculates the battle (tracing the chosen call) and
    /// draws the plot.
    void DebugCalculate();

    /// Whether the chosen initiative step, target class and firing side are this call's.
    bool WantsTrace(int step, int targetClass, Side firingSide) const override;
    /// Shows the search's inputs.
    void OnStart(const SolverTraceStart& event) override;
    /// Adds a cycle row.
    void OnCycle(const SolverTraceCycle& event) override;
    /// Shows the results and draws the plot.
    void OnEnd(const SolverTraceEnd& event) override;
    /// While shown: once the recalculation is over, ends a run, stops the grid timer, tells
    /// the user and offers to save the battle.
    void OnBailout() override;

    /// The four pages.
    QTabWidget* Pages() const { return pages_; }
    /// "dt Code": button 0 "New", button 1 "Old".
    QButtonGroup* DtCodeSelector() const { return dtCodeSelector_; }
    /// The traced call's initiative step.
    QComboBox* DebugInitiative() const { return debugInitiative_; }
    /// The traced call's firing side: "Attacker", "Defender".
    QComboBox* DebugAttDef() const { return debugAttDef_; }
    /// The traced call's target class: "T1", "T2", "T3".
    QComboBox* DebugTargeting() const { return debugTargeting_; }
    /// The value labels.
    QLabel* ShotsToKillAllLabel() const { return shotsToKillAllLabel_; }
    QLabel* AvailableShotsLabel() const { return availableShotsLabel_; }
    QLabel* ScaleLabel() const { return scaleLabel_; }
    QLabel* CyclesLabel() const { return cyclesLabel_; }
    QLabel* GLabel() const { return gLabel_; }
    QLabel* ResultingShotsLabel() const { return resultingShotsLabel_; }
    QLabel* DifferenceLabel() const { return differenceLabel_; }
    /// One row per search cycle under the heading row.
    TextGrid* CycleGrid() const { return cycleGrid_; }
    /// One row per target entry under the heading row.
    TextGrid* DebugResultsGrid() const { return debugResultsGrid_; }
    /// The box showing the plot.
    QLabel* DtPlotBox() const { return dtPlotBox_; }
    /// The plot as last drawn.
    const QImage& PlotImage() const { return plotImage_; }
    /// "Close".
    QPushButton* CloseDebugBtn() const { return closeDebugBtn_; }
    /// "Use Random" and "Use This Ship ...".
    QRadioButton* RandomOption() const { return randomOption_; }
    QRadioButton* ThisShipOption() const { return thisShipOption_; }
    /// The ship of a ship test run without "Use Random".
    QComboBox* HoleDetectorComboBox() const { return holeDetectorComboBox_; }
    /// "Battles Run".
    QLabel* BattlesRunBox() const { return battlesRunBox_; }
    /// "Run (Ship)", "Stop", "Run (Random)".
    QPushButton* RunShipTesting() const { return runShipTesting_; }
    QPushButton* StopHoleDetectorBtn() const { return stopHoleDetectorBtn_; }
    QPushButton* RunHoleDetectorBtn() const { return runHoleDetectorBtn_; }
    /// "Targeting" and "Kill Rates" matrices: column a + 1 fires, row t + 1 is the target.
    TextGrid* StringGrid1() const { return stringGrid1_; }
    TextGrid* StringGrid2() const { return stringGrid2_; }
    /// Whether a ship test run is going on.
    bool Running() const { return running_; }

protected:
    /// Becomes the trace hook.
    void showEvent(QShowEvent* event) override;
    /// Stops being the trace hook and ends a ship test run.
    void hideEvent(QHideEvent* event) override;

private:
    void FormCreate();
    QWidget* BuildPlotPage();
    QWidget* BuildHoleDetectorPage();
    QWidget* BuildMatrixPage(TextGrid*& grid, const char* name);
    QWidget* BuildChoices();
    QWidget* BuildValueLabels();
    void FillMatrixGrids();
    void FillSelectors();
    void WriteTraceHeadings();

    void dtCodeSelectorClick(int item);
    void RunHoleDetectorBtnClick();
    void RunShipTestingClick();
    void StopHoleDetectorBtnClick() { running_ = false; }

    void ClearTraceDisplay();
    DtPlotData PlotData() const;
    void DrawPlot();
    QString General(double value) const;

    void StartRun(void (TDebugForm::*step)());
    void RandomRunStep();
    void ShipRunStep();
    void FinishRun();
    /// Another command took the battle back (a count typed, Undo): the run stops where it is.
    void HoldEnded() override;
    void StopRunners();
    void AskAfterBailout();
    std::optional<int> ChosenStep() const;
    void NameTracedCall(const BattleGenerators::ShipPass& pass);
    void SetRunnersBusy(bool busy);

    const BattleRules& rules_;
    BattleDocument& document_;
    SimulationContext& context_;
    DebugHost& host_;
    UserMessages& messages_;
    BailoutSignal* nextBailout_ = nullptr;

    QTabWidget* pages_ = nullptr;
    QButtonGroup* dtCodeSelector_ = nullptr;
    QComboBox* debugInitiative_ = nullptr;
    QComboBox* debugAttDef_ = nullptr;
    QComboBox* debugTargeting_ = nullptr;
    QLabel* shotsToKillAllLabel_ = nullptr;
    QLabel* availableShotsLabel_ = nullptr;
    QLabel* scaleLabel_ = nullptr;
    QLabel* cyclesLabel_ = nullptr;
    QLabel* gLabel_ = nullptr;
    QLabel* resultingShotsLabel_ = nullptr;
    QLabel* differenceLabel_ = nullptr;
    TextGrid* cycleGrid_ = nullptr;
    TextGrid* debugResultsGrid_ = nullptr;
    QLabel* dtPlotBox_ = nullptr;
    QImage plotImage_;
    QPushButton* closeDebugBtn_ = nullptr;
    QRadioButton* randomOption_ = nullptr;
    QRadioButton* thisShipOption_ = nullptr;
    QComboBox* holeDetectorComboBox_ = nullptr;
    QLabel* battlesRunBox_ = nullptr;
    QPushButton* runShipTesting_ = nullptr;
    QPushButton* stopHoleDetectorBtn_ = nullptr;
    QPushButton* runHoleDetectorBtn_ = nullptr;
    TextGrid* stringGrid1_ = nullptr;
    TextGrid* stringGrid2_ = nullptr;

    // The ship test run goes on while set; "Stop" and hiding the window clear it.
    bool running_ = false;
    // A run is active: one battle per tick of runTimer_, so that events run between them.
    bool runnerBusy_ = false;
    QTimer* runTimer_ = nullptr;
    void (TDebugForm::*runStep_)() = nullptr;
    std::optional<BattleGenerators::ShipPass> pass_;
    int passBattles_ = 0;
    // A bailout happened inside a recalculation; its question is still to be asked.
    bool bailoutPending_ = false;
    int randomBattlesLeft_ = 0;
    std::int64_t battlesRun_ = 0;
};

}  // namespace kestrin
