// The controls of the debug window's four pages.
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/debug/debug_form.h"
#include "ui/debug/text_grid.h"
#include "ui/common/listed_combo.h"

namespace kestrin {

namespace {

constexpr int kMatrixSize = kShipCount + 1;
constexpr QSize kPlotSize(360, 300);
// Entries a drop-down list shows at a time, as the ship details window's list.
constexpr int kVisibleEntries = 13;

QComboBox* MakeSelector(QWidget* parent, const char* name, const QStringList& items) {
    auto* selector = new QComboBox(parent);
    selector->setObjectName(name);
    selector->addItems(items);
    LimitVisibleEntries(selector, kVisibleEntries);
    return selector;
}

QLabel* MakeValueLabel(const char* name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setMinimumWidth(170);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton* MakeButton(const char* caption, const char* name) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

QWidget* TDebugForm::BuildChoices() {
    auto* box = new QWidget;
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* dtCode = new QGroupBox("dt Code", box);
    auto* dtLayout = new QHBoxLayout(dtCode);
    dtCodeSelector_ = new QButtonGroup(this);
    dtCodeSelector_->setObjectName("dtCodeSelector");
    int item = 0;
    for (const char* caption : {"New", "Old"}) {
        auto* choice = new QRadioButton(caption, dtCode);
        dtCodeSelector_->addButton(choice, item++);
        dtLayout->addWidget(choice);
    }
    dtCodeSelector_->button(0)->setChecked(true);
    // Toggled on, not clicked: choosing the variant already chosen changes nothing.
    connect(dtCodeSelector_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) dtCodeSelectorClick(id);
    });
    layout->addWidget(dtCode);
    debugInitiative_ = MakeSelector(box, "DebugInitiative", {});
    debugAttDef_ = MakeSelector(box, "DebugAttDef", {"Attacker", "Defender"});
    debugTargeting_ = MakeSelector(box, "DebugTargeting", {"T1", "T2", "T3"});
    for (QComboBox* selector : {debugInitiative_, debugAttDef_, debugTargeting_}) {
        layout->addWidget(selector);
        connect(selector, &QComboBox::currentIndexChanged, this, [this] { DebugCalculate(); });
    }
    return box;
}

QWidget* TDebugForm::BuildValueLabels() {
    auto* box = new QWidget;
    auto* layout = new QGridLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::pair<const char*, QLabel**> rows[] = {
        {"Shots to Kill All  =", &shotsToKillAllLabel_}, {"Available Shots =", &availableShotsLabel_},
        {"Scale =", &scaleLabel_},                       {"Cycles =", &cyclesLabel_},
        {"'G' Used =", &gLabel_},                        {"Resulting Shots =", &resultingShotsLabel_},
        {"Difference =", &differenceLabel_}};
    const char* names[] = {"ShotsToKillAllLabel", "AvailableShotsLabel", "ScaleLabel", "CyclesLabel",
                           "GLabel",              "ResultingShotsLabel", "DifferenceLabel"};
    int row = 0;
    for (const auto& [caption, label] : rows) {
        *label = MakeValueLabel(names[row]);
        layout->addWidget(new QLabel(caption, box), row, 0);
        layout->addWidget(*label, row, 1);
        ++row;
    }
    return box;
}

QWidget* TDebugForm::BuildPlotPage() {
    auto* page = new QWidget;
    auto* left = new QVBoxLayout;
    left->addWidget(BuildChoices());
    left->addWidget(BuildValueLabels());
    left->addStretch();
    closeDebugBtn_ = MakeButton("Close", "CloseDebugBtn");
    // Nothing else on the page leads out of the window.
    connect(closeDebugBtn_, &QPushButton::clicked, this, &QWidget::close);
    left->addWidget(closeDebugBtn_);

    cycleGrid_ = new TextGrid(5, 2, 0, 1, page);
    cycleGrid_->setObjectName("CycleGrid");
    debugResultsGrid_ = new TextGrid(6, 2, 0, 1, page);
    debugResultsGrid_->setObjectName("DebugResultsGrid");
    // Every column (40+60+80+60+80 and 40+80+80+80+40+80) and a scroll bar where there is room;
    // narrower, the grids scroll, so that the window fits a 960-pixel screen (1920 at scale 2)
    // with its frame.
    cycleGrid_->setMinimumWidth(260);
    debugResultsGrid_->setMinimumWidth(260);
    cycleGrid_->SetPreferredWidth(345);
    debugResultsGrid_->SetPreferredWidth(425);
    auto* grids = new QVBoxLayout;
    grids->addWidget(cycleGrid_);
    grids->addWidget(debugResultsGrid_);

    dtPlotBox_ = new QLabel(page);
    dtPlotBox_->setObjectName("DtPlotBox");
    dtPlotBox_->setFixedSize(kPlotSize);
    dtPlotBox_->setStyleSheet("background-color: black");

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(grids, 1);
    layout->addWidget(dtPlotBox_, 0, Qt::AlignTop);
    return page;
}

QWidget* TDebugForm::BuildHoleDetectorPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    randomOption_ = new QRadioButton("Use Random", page);
    randomOption_->setObjectName("RandomOption");
    randomOption_->setChecked(true);
    thisShipOption_ = new QRadioButton("Use This Ship ...", page);
    holeDetectorComboBox_ = MakeSelector(page, "HoleDetectorComboBox", {});
    battlesRunBox_ = new QLabel("0", page);
    battlesRunBox_->setObjectName("BattlesRunBox");
    battlesRunBox_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    battlesRunBox_->setMinimumWidth(80);
    runShipTesting_ = MakeButton("Run (Ship)", "RunShipTesting");
    stopHoleDetectorBtn_ = MakeButton("Stop", "StopHoleDetectorBtn");
    runHoleDetectorBtn_ = MakeButton("Run (Random)", "RunHoleDetectorBtn");
    connect(runShipTesting_, &QPushButton::clicked, this, [this] { RunShipTestingClick(); });
    connect(stopHoleDetectorBtn_, &QPushButton::clicked, this, [this] { StopHoleDetectorBtnClick(); });
    connect(runHoleDetectorBtn_, &QPushButton::clicked, this, [this] { RunHoleDetectorBtnClick(); });

    layout->addWidget(randomOption_, 0, 0);
    layout->addWidget(thisShipOption_, 1, 0);
    layout->addWidget(holeDetectorComboBox_, 1, 1);
    layout->addWidget(new QLabel("Battles Run", page), 2, 0);
    layout->addWidget(battlesRunBox_, 2, 1);
    layout->addWidget(runShipTesting_, 3, 0);
    layout->addWidget(stopHoleDetectorBtn_, 3, 1);
    layout->addWidget(runHoleDetectorBtn_, 4, 0);
    layout->setRowStretch(5, 1);
    layout->setColumnStretch(2, 1);
    return page;
}

QWidget* TDebugForm::BuildMatrixPage(TextGrid*& grid, const char* name) {
    auto* page = new QWidget;
    grid = new TextGrid(kMatrixSize, kMatrixSize, 1, 1, page);
    grid->setObjectName(name);
    // The firing types' names read upwards above their narrow columns.
    grid->SetVerticalColumnHeadings();
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(grid);
    return page;
}

}  // namespace kestrin
