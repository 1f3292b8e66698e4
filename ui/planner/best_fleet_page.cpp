// The "Best Fleet" page's controls and their rules; its results are in best_fleet_results.cpp.
#include "ui/planner/best_fleet_page.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

#include "planner/fleet_outcome_text.h"
#include "planner/planner_fields.h"
#include "planner/sweep_input.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_inputs.h"
#include "ui/planner/planner_works.h"

namespace kestrin {

namespace {


constexpr int kRowColumn = 0, kGridColumn = 1, kMostColumn = 2;
constexpr int kDefaultTicks = 3, kDefaultEvaluations = 10000;

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

BestFleetPage::BestFleetPage(const BattleRules& rules, BattleDocument& document, const SimulationContext& context,
                             PlannerCores& cores, QWidget* parent)
    : QWidget(parent), document_(document), sheet_(document.Sheet()), context_(context), rules_(rules) {
    job_ = new PlannerJob(cores, kSearchJob, SystemThreads(), this);
    connect(job_, &PlannerJob::Progress, this, [this](int done, int total) {
        progress_->setRange(0, total);
        progress_->setValue(done);
    });
    connect(job_, &PlannerJob::Finished, this, &BestFleetPage::SearchFinished);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BuildControls());
    layout->addWidget(BuildResults(), 1);
    FillRows();
    ShowOutcome();
}

QWidget* BestFleetPage::BuildControls() {
    auto* side = new QWidget;
    side->setFixedWidth(240);
    rowTable_ = new QTableWidget(0, 3);
    rowTable_->setHorizontalHeaderLabels({"Vary", "On grid", "Most"});
    rowTable_->verticalHeader()->hide();
    rowTable_->horizontalHeader()->setSectionResizeMode(kRowColumn, QHeaderView::Stretch);
    rowTable_->horizontalHeader()->setSectionResizeMode(kGridColumn, QHeaderView::ResizeToContents);
    rowTable_->horizontalHeader()->setSectionResizeMode(kMostColumn, QHeaderView::ResizeToContents);
    rowTable_->verticalHeader()->setDefaultSectionSize(rowTable_->fontMetrics().height() + 6);
    ticksBox_ = new QSpinBox;
    ticksBox_->setRange(1, kMaxSweepTicks);
    ticksBox_->setValue(kDefaultTicks);
    goalBox_ = new QComboBox;
    for (const FleetGoalChoice& choice : kFleetGoalChoices) goalBox_->addItem(choice.title);
    minRoidsBox_ = new QSpinBox;
    minRoidsBox_->setRange(1, std::numeric_limits<int>::max());
    maxLossEdit_ = new QLineEdit;
    maxLossEdit_->setPlaceholderText("no limit");
    evaluationsBox_ = new QSpinBox;
    evaluationsBox_->setRange(1, static_cast<int>(kMaxFleetEvaluations));
    evaluationsBox_->setValue(kDefaultEvaluations);
    evaluationsBox_->setGroupSeparatorShown(true);
    auto* form = new QFormLayout;
    form->addRow("Ticks", ticksBox_);
    form->addRow("Goal", goalBox_);
    form->addRow("At least roids", minRoidsBox_);
    form->addRow("Most loss", maxLossEdit_);
    form->addRow("Evaluations", evaluationsBox_);
    findButton_ = new QPushButton("Find Best Fleet");
    cancelButton_ = new QPushButton("Cancel");
    progress_ = new QProgressBar;
    problem_ = new QLabel;
    problem_->setWordWrap(true);
    problem_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    // Three lines whatever it says: the controls above never move.
    problem_->setFixedHeight(3 * problem_->fontMetrics().lineSpacing() + 2);
    tickShips_ = new QPushButton("Tick Rows with Ships");
    tickNone_ = new QPushButton("Tick None");
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(tickShips_);
    ticks->addWidget(tickNone_);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(ticks);
    column->addWidget(rowTable_, 1);
    column->addLayout(form);
    for (QWidget* w : std::initializer_list<QWidget*>{findButton_, problem_, progress_, cancelButton_})
        column->addWidget(w);
    connect(rowTable_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == kRowColumn) ticked_[item->data(Qt::UserRole).toInt()] = item->checkState() == Qt::Checked;
        if (item->column() == kMostColumn) BoundEdited(item);
        UpdateState();
    });
    connect(tickShips_, &QPushButton::clicked, this, [this] { TickRows(true); });
    connect(tickNone_, &QPushButton::clicked, this, [this] { TickRows(false); });
    // A refill that waited for a bound being typed follows once the bound is entered.
    connect(rowTable_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (refillPending_) QTimer::singleShot(0, this, &BestFleetPage::FillRows);
    });
    connect(goalBox_, &QComboBox::currentIndexChanged, this, &BestFleetPage::UpdateState);
    connect(maxLossEdit_, &QLineEdit::textChanged, this, &BestFleetPage::UpdateState);
    connect(findButton_, &QPushButton::clicked, this, &BestFleetPage::FindFleet);
    connect(cancelButton_, &QPushButton::clicked, job_, &PlannerJob::Cancel);
    progress_->hide();
    cancelButton_->hide();
    return side;
}

// The attacker's unit rows, ticked as the player last left them (none at first: which rows
// to vary is the player's question), each bounded as FillRows' comment in the header says:
// "what I have" unless the player said otherwise.
void BestFleetPage::FillRows() {
    // The table's editor is the one widget the viewport shows of its own.
    const QList<QWidget*> editors = rowTable_->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    refillPending_ = std::any_of(editors.begin(), editors.end(), [](const QWidget* w) { return w->isVisible(); });
    if (refillPending_) return;
    const QSignalBlocker block(rowTable_);
    rowTable_->setRowCount(0);
    for (const SweepRow& row : SweepableRows(sheet_.Rules().catalogue, Side::Attacker)) {
        if (!IsUnitRow(row.row)) continue;
        const QString count = QString::number(std::max(0, InputCount(sheet_.Cells(), Side::Attacker, row.row)));
        QString most = count;
        if (const auto held = heldMost_.find(row.row); held != heldMost_.end()) {
            if (held->second.first == count) most = held->second.second;
            else heldMost_.erase(held);  // the grid moved on from the fleet used
        }
        if (const auto typed = typedMost_.find(row.row); typed != typedMost_.end()) most = typed->second;
        const int at = rowTable_->rowCount();
        rowTable_->insertRow(at);
        auto* vary = ReadOnlyItem(QString::fromStdString(row.caption));
        vary->setData(Qt::UserRole, row.row);
        vary->setCheckState(ticked_[row.row] ? Qt::Checked : Qt::Unchecked);
        rowTable_->setItem(at, kRowColumn, vary);
        rowTable_->setItem(at, kGridColumn, ReadOnlyItem(count));
        rowTable_->setItem(at, kMostColumn, new QTableWidgetItem(most));
    }
    UpdateState();
}

// A bound the player typed is theirs until they empty it: the grid's count then takes over.
void BestFleetPage::BoundEdited(QTableWidgetItem* item) {
    const int row = rowTable_->item(item->row(), kRowColumn)->data(Qt::UserRole).toInt();
    heldMost_.erase(row);
    if (!item->text().trimmed().isEmpty()) {
        typedMost_[row] = item->text();
        return;
    }
    typedMost_.erase(row);
    const QSignalBlocker block(rowTable_);
    item->setText(rowTable_->item(item->row(), kGridColumn)->text());
}

// "Use this fleet" is about to write `fleet`: the bounds stay as they were while the grid holds
// it, so a search again tries the same space, not one shrunk to the fleet just used.
void BestFleetPage::HoldBounds(const std::vector<std::pair<int, std::int64_t>>& fleet) {
    for (int i = 0; i < rowTable_->rowCount(); ++i) {
        const int row = rowTable_->item(i, kRowColumn)->data(Qt::UserRole).toInt();
        const auto used = std::ranges::find_if(fleet, [row](const auto& f) { return f.first == row; });
        if (used != fleet.end() && !typedMost_.contains(row))
            heldMost_[row] = {QString::number(used->second), rowTable_->item(i, kMostColumn)->text()};
    }
}

void BestFleetPage::TickRows(bool withShips) {
    {
        const QSignalBlocker block(rowTable_);
        for (int i = 0; i < rowTable_->rowCount(); ++i) {
            QTableWidgetItem* vary = rowTable_->item(i, kRowColumn);
            const bool tick = withShips && rowTable_->item(i, kGridColumn)->text() != "0";
            vary->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
            ticked_[vary->data(Qt::UserRole).toInt()] = tick;
        }
    }
    UpdateState();
}

void BestFleetPage::BattleChanged() {
    // Hidden or searching, the rows still follow: the next Find reads them as they stand.
    FillRows();
    if (!outcome_ || !outcome_->error.empty() || searched_.rows.empty()) return;
    // The varied rows may hold any count, the fleet used among them: the rest must be as searched.
    BattleState now = SheetInputs(sheet_.Cells());
    auto& attackers = now.Ships[Idx(Side::Attacker)];
    for (const VariedRow& varied : searched_.rows) {
        const auto ship = static_cast<std::size_t>(UnitAt(varied.row));
        attackers[ship] = searched_.battle.Ships[Idx(Side::Attacker)][ship];
    }
    const bool outOfDate = !SameBattleApartFrom(searched_.battle, now, {Side::Attacker, searched_.rows.front().row});
    const bool turned = outOfDate != outOfDate_;
    outOfDate_ = outOfDate;
    if (!outOfDate_) FollowGridFleet();
    if (!turned) return;
    ShowOutcome();
    UpdateState();
}

// The same battle with other counts in the varied rows (the fleet used, or an Undo of it): the
// column beside the answer is the grid's fleet as it is now, one battle evaluated here.
void BestFleetPage::FollowGridFleet() {
    // A running search has its own request: its end calls BattleChanged again.
    if (Running()) return;
    std::vector<std::int32_t> counts = GridCounts(searched_.rows);
    if (counts == outcome_->grid.counts) return;
    outcome_->grid = EvaluateFleet(rules_, searched_, counts);
    FillFleetTable();
    FillFigureTable();
}

// The search the controls describe, or why there is none.
std::string BestFleetPage::CheckControls(FleetSearchRequest* request) const {
    FleetFieldTexts fields;
    for (int i = 0; i < rowTable_->rowCount(); ++i)
        if (rowTable_->item(i, kRowColumn)->checkState() == Qt::Checked)
            fields.most.emplace_back(rowTable_->item(i, kRowColumn)->data(Qt::UserRole).toInt(),
                                     rowTable_->item(i, kMostColumn)->text().toStdString());
    fields.ticks = std::to_string(ticksBox_->value());
    fields.minRoids = std::to_string(minRoidsBox_->value());
    fields.maxLoss = maxLossEdit_->text().toStdString();
    fields.evaluations = std::to_string(evaluationsBox_->value());
    FleetSearchRequest r;
    r.battle = SheetInputs(sheet_.Cells());
    r.solver = context_.SolverVariant;
    r.aim.goal = kFleetGoalChoices[static_cast<std::size_t>(std::max(0, goalBox_->currentIndex()))].goal;
    if (std::string error = ReadFleetFields(sheet_.Rules().catalogue, fields, sheet_.Locale(), r); !error.empty())
        return error;
    if (request != nullptr) *request = std::move(r);
    return {};
}

std::vector<std::int32_t> BestFleetPage::GridCounts(const std::vector<VariedRow>& rows) const {
    std::vector<std::int32_t> counts;
    for (const VariedRow& varied : rows) counts.push_back(std::max(0, InputCount(sheet_.Cells(), Side::Attacker, varied.row)));
    return counts;
}

// A search that cannot run cannot be started: the button waits and the reason shows.
void BestFleetPage::UpdateState() {
    FleetSearchRequest request;
    const std::string error = CheckControls(&request);
    findButton_->setEnabled(error.empty() && !Running());
    minRoidsBox_->setEnabled(GoalUsesMinRoids(kFleetGoalChoices[static_cast<std::size_t>(std::max(0, goalBox_->currentIndex()))].goal));
    // Nothing ticked is where every search starts, not a mistake.
    bool unticked = true;
    for (int i = 0; i < rowTable_->rowCount(); ++i) unticked = unticked && rowTable_->item(i, kRowColumn)->checkState() != Qt::Checked;
    QString text = unticked ? "Tick the rows to vary, each from 0 to its Most." : QString::fromStdString(error);
    if (error.empty()) text = QString::fromStdString(FleetSpaceText(request.rows, sheet_.Locale()));
    problem_->setText(text);
    problem_->setStyleSheet(error.empty() || unticked ? QString() : "color: rgb(190, 0, 0)");
    useFleet_->setEnabled(FleetShown() && !Running() && !outOfDate_);
}

void BestFleetPage::FindFleet() {
    // The search reads the battle on the grid, a count still being typed included.
    document_.FinishOpenEdit();
    FleetSearchRequest request;
    if (Running() || !CheckControls(&request).empty()) return;
    FleetSearchRequest searched = request;
    std::vector<std::int32_t> grid = GridCounts(request.rows);
    auto searching = std::make_shared<FleetSearchOutcome>();
    const std::string error = job_->Start(SearchWork(rules_, std::move(request), std::move(grid), searching));
    // Not started (the sweep has the cores, no thread): the last answer stays as it was.
    if (!error.empty()) {
        summary_->setText(QString::fromStdString(error));
        return;
    }
    searching_ = std::move(searching);
    searched_ = std::move(searched);
    summary_->setText("Searching...");
    progress_->setRange(0, 0);
    progress_->show();
    cancelButton_->show();
    UpdateState();
}

void BestFleetPage::Close() {
    if (Running()) {
        forget_ = true;
        job_->Cancel();
    }
    outcome_.reset();
    outOfDate_ = false;
    searched_ = FleetSearchRequest{};
    ShowOutcome();
}

}  // namespace kestrin
