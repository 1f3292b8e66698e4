#include "ui/debug/debug_form.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHideEvent>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/fixed_format.h"
#include "ui/common/window_placement.h"
#include "ui/debug/text_grid.h"

namespace kestrin {

TDebugForm::TDebugForm(const BattleRules& rules, BattleDocument& document, SimulationContext& context,
                       DebugHost& host, UserMessages& messages, QWidget* parent)
    : QWidget(parent, Qt::Window),
      rules_(rules),
      document_(document),
      context_(context),
      host_(host),
      messages_(messages),
      nextBailout_(context.Bailout) {
    setObjectName("TDebugForm");
    setWindowTitle("Kestrin Debug");
    pages_ = new QTabWidget(this);
    pages_->addTab(BuildPlotPage(), "dt Plot");
    pages_->addTab(BuildHoleDetectorPage(), "Hole Detector");
    pages_->addTab(BuildMatrixPage(stringGrid2_, "StringGrid2"), "Kill Rates");
    pages_->addTab(BuildMatrixPage(stringGrid1_, "StringGrid1"), "Targeting");
    stringGrid1_->SetAllColumnWidths(30);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    runTimer_ = new QTimer(this);
    connect(runTimer_, &QTimer::timeout, this, [this] { (this->*runStep_)(); });
    FormCreate();
    // Installed at once: a bailout must be seen even before the window is first shown.
    context_.Bailout = this;
}

TDebugForm::~TDebugForm() {
    // A run going on is one step to undo all the same.
    FinishRun();
    if (context_.TraceHook == this) {
        context_.TraceHook = nullptr;
        context_.NoteCycles = false;
    }
    if (context_.Bailout == this) context_.Bailout = nextBailout_;
}

void TDebugForm::FormCreate() {
    FillMatrixGrids();
    WriteTraceHeadings();
    running_ = false;
}

void TDebugForm::FillMatrixGrids() {
    const auto& catalogue = rules_.catalogue;
    const auto& tables = rules_.tables;
    for (TextGrid* grid : {stringGrid1_, stringGrid2_}) {
        for (ShipIndex i = 0; i < kShipCount; ++i) {
            const QString name = QString::fromStdString(catalogue.Name(i));
            grid->SetCell(i + 1, 0, name);
            grid->SetCell(0, i + 1, name);
        }
    }
    for (ShipIndex a = 0; a < kShipCount; ++a) {
        for (ShipIndex t = 0; t < kShipCount; ++t) {
            const std::int32_t targetClass = tables.targetClass[a][t];
            stringGrid1_->SetCell(a + 1, t + 1, QString::number(targetClass));
            // A pair that cannot fire has no rate worth showing; a zero rate with a class does.
            if (targetClass == 0) continue;
            const std::string rate =
                FormatFixedRounded(tables.killRate[a][t], 4, 4, context_.DecimalSeparator);
            stringGrid2_->SetCell(a + 1, t + 1, QString::fromStdString(rate));
        }
    }
}

void TDebugForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    context_.NoteCycles = true;
    context_.TraceHook = this;
}

void TDebugForm::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Minimising also sends a hide event; the window counts as shown until really hidden.
    if (isVisible()) return;
    context_.NoteCycles = false;
    if (context_.TraceHook == this) context_.TraceHook = nullptr;
    // Nobody could press "Stop" on a hidden window.
    running_ = false;
}

void TDebugForm::ShowDebug() {
    FillSelectors();
    show();
    KeepOnScreen(this);
    raise();
    activateWindow();
    DebugCalculate();
}

void TDebugForm::FillSelectors() {
    // Refilling is no choice of the user's: it must not recalculate once per item.
    const QSignalBlocker blockInitiative(debugInitiative_);
    const QSignalBlocker blockShip(holeDetectorComboBox_);
    debugInitiative_->clear();
    holeDetectorComboBox_->clear();
    const auto& order = rules_.tables.initiativeOrder;
    for (std::size_t v = 0; v < order.size(); ++v) {
        const QString item =
            QString::number(v) + "  " + QString::fromStdString(rules_.catalogue.Name(order[v]));
        debugInitiative_->addItem(item);
        holeDetectorComboBox_->addItem(item);
    }
    debugInitiative_->setCurrentIndex(0);
    holeDetectorComboBox_->setCurrentIndex(0);
    WriteTraceHeadings();
}

void TDebugForm::WriteTraceHeadings() {
    int col = 0;
    for (const char* heading : {"Cycle", "'G'", "Resulting Shots", "Difference", "Target Difference"})
        cycleGrid_->SetCell(col++, 0, heading);
    cycleGrid_->SetColumnWidths({40, 60, 80, 60, 80});
    col = 0;
    for (const char* heading :
         {"Ships", "Initial Damage", "Kill Rates per Shot", "Shots Allocated", "Kills", "Damage"})
        debugResultsGrid_->SetCell(col++, 0, heading);
    debugResultsGrid_->SetColumnWidths({40, 80, 80, 80, 40, 80});
}

void TDebugForm::DebugCalculate() {
    ClearTraceDisplay();
    host_.ReCalc();
    DrawPlot();
}

void TDebugForm::dtCodeSelectorClick(int item) {
    context_.SolverVariant = item == 0 ? SolverVariant::New : SolverVariant::Old;
    DebugCalculate();
}

}  // namespace kestrin
