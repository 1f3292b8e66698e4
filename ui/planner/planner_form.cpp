// The planner window's controls and their rules; running and showing sweeps are in
// planner_form_sweep.cpp.
#include "ui/planner/planner_form.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "engine/number_text.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_inputs.h"
#include "planner/planner_fields.h"
#include "planner/sweep_range.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_chart.h"
#include "ui/common/window_placement.h"

namespace kestrin {

namespace {

constexpr int kDefaultPoints = 101, kDefaultTicks = 3;
// The narrowest window with the findings beside the chart rather than under it.
constexpr int kRoomBeside = 900;

// Any text may be typed, as into the grid: what is no count keeps "Run" waiting and says so.
QLineEdit* WholeNumberEdit() { return new QLineEdit; }

QSpinBox* SpinBox(int low, int high, int value) {
    auto* box = new QSpinBox;
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

}  // namespace

TPlannerForm::TPlannerForm(const BattleRules& rules, BattleDocument& document, const SimulationContext& context,
                           UserMessages& messages, DialogFolder& folder, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document), sheet_(document.Sheet()), context_(context), messages_(messages), folder_(folder) {
    setWindowTitle("Battle Planner");
    sweepJob_ = new PlannerJob(cores_, kSweepJob, SystemThreads(), this);
    connect(sweepJob_, &PlannerJob::Progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(sweepJob_, &PlannerJob::Finished, this, &TPlannerForm::SweepFinished);
    // The pass over every value belongs to the sweep: it shares the sweep's turn on the cores.
    findingsJob_ = new PlannerJob(cores_, kSweepJob, SystemThreads(), this);
    connect(findingsJob_, &PlannerJob::Progress, this, [this](int done, int total) {
        // A stale pass's last signals do not move the bar of the sweep that replaced it.
        if (passStale_ || Running()) return;
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(findingsJob_, &PlannerJob::Finished, this, &TPlannerForm::FindingsPassFinished);
    auto* sweepPage = new QWidget;
    auto* layout = new QHBoxLayout(sweepPage);
    layout->addWidget(BuildControls());
    layout->addWidget(BuildChartSide(), 1);
    pages_ = new QTabWidget;
    pages_->addTab(sweepPage, "Sweep");
    fleetPage_ = new BestFleetPage(rules, document, context, cores_);
    pages_->addTab(fleetPage_, "Best Fleet");
    connect(fleetPage_, &BestFleetPage::FleetUsed, this, [this] {
        QList<int> rows;
        for (const VariedRow& row : fleetPage_->UsedRows()) rows << row.row;
        emit RowsChanged(Side::Attacker, rows);
    });
    tickNote_ = new QLabel;
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(pages_, 1);
    outer->addWidget(tickNote_);
    resize(1010, 640);
    ShowTickNote();
    FillRows();
    SetRunning(false);
    document_.AddView(this);
}

TPlannerForm::~TPlannerForm() { document_.RemoveView(this); }

QWidget* TPlannerForm::BuildControls() {
    auto* side = new QWidget;
    side->setFixedWidth(200);
    auto* form = new QFormLayout;
    sideBox_ = new QComboBox;
    sideBox_->addItems({"Attacker", "Defender"});
    rowBox_ = new QComboBox;
    fromEdit_ = WholeNumberEdit();
    toEdit_ = WholeNumberEdit();
    pointsBox_ = SpinBox(static_cast<int>(kMinSweepPoints), static_cast<int>(kMaxSweepPoints), kDefaultPoints);
    ticksBox_ = SpinBox(1, kMaxSweepTicks, kDefaultTicks);
    form->addRow("Side", sideBox_);
    form->addRow("Vary", rowBox_);
    form->addRow("From", fromEdit_);
    form->addRow("To", toEdit_);
    form->addRow("Points", pointsBox_);
    form->addRow("Ticks", ticksBox_);
    runButton_ = new QPushButton("Run Sweep");
    cancelButton_ = new QPushButton("Cancel");
    progress_ = new QProgressBar;
    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setStyleSheet("color: rgb(190, 0, 0)");
    status_ = new QLabel;
    status_->setWordWrap(true);
    modeBox_ = new QComboBox;
    modeBox_->addItems({"Whole battle", "At the last tick"});
    figureList_ = new QListWidget;
    for (int i = 0; i < kSweepFigureCount; ++i) {
        auto* item = new QListWidgetItem(kSweepFigures[i].title, figureList_);
        const bool plotted = i == kAttackerPerRoidFigure || i == kInitRoidsFigure;
        item->setCheckState(plotted ? Qt::Checked : Qt::Unchecked);
    }
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(form);
    for (QWidget* w : std::initializer_list<QWidget*>{runButton_, problem_, progress_, cancelButton_, status_})
        column->addWidget(w);
    column->addWidget(new QLabel("Plot"));
    column->addWidget(modeBox_);
    column->addWidget(figureList_, 1);
    // The exports act on the whole sweep, as "Run Sweep" does; under the chart they would
    // widen the window.
    exportCsv_ = new QPushButton("Export CSV...");
    savePng_ = new QPushButton("Save Chart as PNG...");
    column->addWidget(exportCsv_);
    column->addWidget(savePng_);
    connect(exportCsv_, &QPushButton::clicked, this, &TPlannerForm::ExportCsvClick);
    connect(savePng_, &QPushButton::clicked, this, &TPlannerForm::SavePngClick);
    connect(sideBox_, &QComboBox::currentIndexChanged, this, &TPlannerForm::FillRows);
    connect(rowBox_, &QComboBox::currentIndexChanged, this, &TPlannerForm::RowChosen);
    for (QLineEdit* edit : {fromEdit_, toEdit_}) {
        connect(edit, &QLineEdit::textChanged, this, &TPlannerForm::UpdateRunState);
        connect(edit, &QLineEdit::returnPressed, this, &TPlannerForm::RunSweep);
    }
    connect(runButton_, &QPushButton::clicked, this, &TPlannerForm::RunSweep);
    connect(cancelButton_, &QPushButton::clicked, this, &TPlannerForm::CancelWork);
    connect(modeBox_, &QComboBox::currentIndexChanged, this, &TPlannerForm::Replot);
    connect(figureList_, &QListWidget::itemChanged, this, &TPlannerForm::Replot);
    return side;
}

namespace {

// A scroll area showing `label` at the area's width, growing downwards: whatever its text,
// the label never widens the window.
QScrollArea* TextArea(QLabel* label) {
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* area = new QScrollArea;
    area->setWidget(label);
    // The page's own background shows through, as under a label of its own.
    label->setAutoFillBackground(false);
    area->viewport()->setAutoFillBackground(false);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return area;
}

}  // namespace

QWidget* TPlannerForm::BuildChartSide() {
    auto* side = new QWidget;
    chart_ = new PlannerChartView(sheet_.Locale());
    chart_->setMinimumSize(280, 220);
    findings_ = new QLabel;
    findings_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    findingsArea_ = TextArea(findings_);
    findingsArea_->setMinimumHeight(3 * findings_->fontMetrics().lineSpacing());
    readout_ = new QLabel(kReadoutHint);
    // A fixed height: the chart above does not move when a longer readout appears; what does
    // not fit scrolls.
    QScrollArea* readoutArea = TextArea(readout_);
    readoutArea->setFixedHeight(4 * readout_->fontMetrics().lineSpacing() + 6);
    useValue_ = new QPushButton("Use this value");
    // As wide as its longest text from the start: choosing a point never widens the window.
    useValue_->setMinimumWidth(useValue_->sizeHint().width() +
                               useValue_->fontMetrics().horizontalAdvance(" (-2,147,483,648)"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(useValue_);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    chartRow_ = new QBoxLayout(QBoxLayout::LeftToRight);
    chartRow_->addWidget(chart_, 1);
    chartRow_->addWidget(findingsArea_);
    column->addLayout(chartRow_, 1);
    column->addWidget(readoutArea);
    column->addLayout(buttons);
    connect(chart_, &PlannerChartView::PointHovered, this, &TPlannerForm::ShowPointFigures);
    connect(chart_, &PlannerChartView::PointChosen, this, &TPlannerForm::ChoosePoint);
    connect(chart_, &PlannerChartView::UseRequested, this, &TPlannerForm::UseChosenValue);
    connect(findings_, &QLabel::linkActivated, this, [this](const QString& link) { ChooseFinding(link.toInt()); });
    connect(useValue_, &QPushButton::clicked, this, &TPlannerForm::UseChosenValue);
    return side;
}

void TPlannerForm::ShowPlanner() {
    FillRows();
    fleetPage_->FillRows();
    // Placed once shown, when the size of its frame is known.
    const bool opening = !isVisible();
    show();
    if (opening && parentWidget() != nullptr) {
        // Placed at the minimum of the narrow layout; the new width then chooses the layout.
        LayOutFindings(false);
        PlaceBeside(this, parentWidget(), keepInView_ ? keepInView_() : QRect());
        LayOutFindings(width() >= kRoomBeside);
    }
    ShowTickNote();
    raise();
    activateWindow();
}

// The findings beside the chart when there is room, else under it: the window stays narrow
// enough to sit beside the main window on a 1280-pixel screen.
void TPlannerForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOutFindings(width() >= kRoomBeside);
}

// The findings scroll in their own area, so their text never raises the window's minimum:
// beside the chart they take a quarter of the row, under it a third of the column.
void TPlannerForm::LayOutFindings(bool beside) {
    chartRow_->setDirection(beside ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    chartRow_->setStretch(0, 3);
    chartRow_->setStretch(1, 1);
}

// The main window shows one tick of the battle while the chart may show the whole of it.
void TPlannerForm::ShowTickNote() {
    tickNote_->setText("The main window shows tick " + QString::number(sheet_.CurrentTick()) +
                       " of the battle on the grid (Alt+Right: the next tick).");
}

Side TPlannerForm::ChosenSide() const { return sideBox_->currentIndex() == 0 ? Side::Attacker : Side::Defender; }

// The side's input rows; the chosen row stays chosen when it is still one of them.
void TPlannerForm::FillRows() {
    const int keep = rowBox_->currentData().toInt();
    const QSignalBlocker block(rowBox_);
    rowBox_->clear();
    for (const SweepRow& row : SweepableRows(sheet_.Rules().catalogue, ChosenSide()))
        rowBox_->addItem(QString::fromStdString(row.caption), row.row);
    const int at = rowBox_->findData(keep);
    rowBox_->setCurrentIndex(at >= 0 ? at : 0);
    if (at < 0) RowChosen();
    UpdateRunState();
}

// A new row starts from nothing up to twice what the battle holds (or a thousand).
void TPlannerForm::RowChosen() {
    const std::int64_t now = LenientInt64(InputText(sheet_.Cells(), ChosenSide(), rowBox_->currentData().toInt()));
    fromEdit_->setText("0");
    toEdit_->setText(QString::number(now > 0 && now <= INT32_MAX / 2 ? 2 * now : 1000));
    UpdateRunState();
}

QString TPlannerForm::InputTitle() const { return sideBox_->currentText() + " " + rowBox_->currentText(); }

// The sweep the controls describe, or why there is none.
std::string TPlannerForm::CheckControls(SweepRequest* request) const {
    // Read as a count typed into the grid is read ("2.5k", "1 000"), as the page reads them.
    const SweepFieldTexts fields{fromEdit_->text().toStdString(), toEdit_->text().toStdString(),
                                 std::to_string(pointsBox_->value()), std::to_string(ticksBox_->value())};
    SweepRequest r{SheetInputs(sheet_.Cells()), {ChosenSide(), rowBox_->currentData().toInt()}, {}, 1,
                   context_.SolverVariant};
    if (std::string error = ReadSweepFields(fields, sheet_.Locale(), r); !error.empty()) return error;
    if (request != nullptr) *request = std::move(r);
    return {};
}

// A sweep that cannot run cannot be started: the button waits and the reason shows.
void TPlannerForm::UpdateRunState() {
    const std::string error = CheckControls(nullptr);
    runButton_->setEnabled(error.empty() && !Running());
    problem_->setText(QString::fromStdString(error));
    problem_->setVisible(!error.empty());
}

bool TPlannerForm::Running() const { return sweepJob_->Running(); }

bool TPlannerForm::FindingsRunning() const { return findingsJob_->Running(); }

// The bar and Cancel show while the sweep or its pass over every value runs; the chart's
// buttons wait only for the sweep.
void TPlannerForm::SetRunning(bool running) {
    const bool busy = running || (FindingsRunning() && !passStale_);
    progress_->setVisible(busy);
    cancelButton_->setVisible(busy);
    const bool results = !result_.points.empty() && !running;
    useValue_->setEnabled(results && chosenPoint_.has_value() && !outOfDate_);
    exportCsv_->setEnabled(results);
    savePng_->setEnabled(results);
    UpdateRunState();
}

}  // namespace kestrin
