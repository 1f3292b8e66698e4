// The "Best Fleet" page's results: the fleet beside the grid's, every figure per tick and for
// the whole battle, and "Use this fleet".
#include <QComboBox>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "planner/fleet_outcome_text.h"
#include "sheet/row_captions.h"
#include "ui/planner/best_fleet_page.h"
#include "sheet/sheet_inputs.h"

namespace kestrin {

namespace {

QTableWidgetItem* Figure(std::int64_t value, const NumberLocale& locale) {
    auto* item = new QTableWidgetItem(QString::fromStdString(FormatNumber(value, locale)));
    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget* ResultTable() {
    auto* table = new QTableWidget;
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
    return table;
}

}  // namespace

QWidget* BestFleetPage::BuildResults() {
    auto* side = new QWidget;
    summary_ = new QLabel(kBestFleetHint);
    summary_->setWordWrap(true);
    fleetTable_ = ResultTable();
    fleetTable_->setMaximumHeight(150);
    fleetTable_->verticalHeader()->hide();
    // A row per figure and two columns, the best fleet's beside the grid's: whole at any
    // window size. The whole battle first, a tick when asked for.
    periodBox_ = new QComboBox;
    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel("Figures of"));
    period->addWidget(periodBox_, 1);
    figureTable_ = ResultTable();
    useFleet_ = new QPushButton("Use this fleet");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(useFleet_);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(summary_);
    column->addWidget(fleetTable_);
    column->addLayout(period);
    column->addWidget(figureTable_, 1);
    column->addLayout(buttons);
    connect(useFleet_, &QPushButton::clicked, this, &BestFleetPage::UseFleet);
    connect(periodBox_, &QComboBox::currentIndexChanged, this, &BestFleetPage::FillFigureTable);
    useFleet_->setEnabled(false);
    return side;
}

void BestFleetPage::SearchFinished() {
    outcome_ = std::move(*searching_);
    outcome_->error = job_->Error();
    searching_.reset();
    outOfDate_ = false;
    if (forget_) {
        forget_ = false;
        outcome_.reset();
    }
    progress_->hide();
    cancelButton_->hide();
    ShowOutcome();
    UpdateState();
    // The battle may have changed while the search ran.
    BattleChanged();
}

// A fleet to show and use: one was found and it keeps the goal's limits.
bool BestFleetPage::FleetShown() const { return outcome_ && outcome_->error.empty() && outcome_->result.meetsLimits; }

void BestFleetPage::ShowOutcome() {
    FillPeriods();
    FillFleetTable();
    FillFigureTable();
    // A new answer is read from its top.
    fleetTable_->scrollToTop();
    figureTable_->scrollToTop();
    fleetTable_->horizontalScrollBar()->setValue(0);
    figureTable_->horizontalScrollBar()->setValue(0);
    QString text = OutcomeText();
    if (outOfDate_)
        text += "<br><span style='color:rgb(190,0,0)'>" + QString(kFleetOutOfDate) + "</span>";
    summary_->setText(text);
}

// What the search found and how sure that is, in the words both faces use; a warning in red.
QString BestFleetPage::OutcomeText() const {
    if (!outcome_) return kBestFleetHint;
    if (!outcome_->error.empty()) return QString::fromStdString(outcome_->error);
    const FleetOutcomeWords words = FleetOutcomeText(outcome_->result, searched_.rows, sheet_.Locale());
    QString lead = "<b>" + QString::fromStdString(words.lead) + "</b>";
    if (words.noFleet) lead = "<span style='color:rgb(190,0,0)'>" + lead + "</span>";
    return lead + QString::fromStdString(words.rest);
}

// One line per varied row: the count found and the count on the grid.
void BestFleetPage::FillFleetTable() {
    fleetTable_->clear();
    fleetTable_->setColumnCount(3);
    fleetTable_->setHorizontalHeaderLabels({"Row", "Best fleet", "On the grid"});
    const bool shown = FleetShown();
    fleetTable_->setRowCount(shown ? static_cast<int>(searched_.rows.size()) : 0);
    if (!shown) return;
    for (int i = 0; i < fleetTable_->rowCount(); ++i) {
        const int row = searched_.rows[static_cast<std::size_t>(i)].row;
        fleetTable_->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(std::string(RowCaption(rules_.catalogue, Side::Attacker, row)))));
        fleetTable_->setItem(i, 1, Figure(outcome_->result.best.counts[static_cast<std::size_t>(i)], sheet_.Locale()));
        fleetTable_->setItem(i, 2, Figure(outcome_->grid.counts[static_cast<std::size_t>(i)], sheet_.Locale()));
    }
}

// The whole battle, then each tick of the answer.
void BestFleetPage::FillPeriods() {
    const QSignalBlocker block(periodBox_);
    periodBox_->clear();
    periodBox_->addItem("Whole battle");
    const int ticks = FleetShown() ? static_cast<int>(outcome_->result.best.ticks.size()) : 0;
    for (int t = 1; t <= ticks; ++t) periodBox_->addItem("Tick " + QString::number(t));
    periodBox_->setEnabled(ticks > 0);
}

// Every figure of the chosen period, the best fleet's beside the grid's.
void BestFleetPage::FillFigureTable() {
    figureTable_->clear();
    const bool shown = FleetShown();
    figureTable_->setRowCount(shown ? kSweepFigureCount : 0);
    figureTable_->setColumnCount(shown ? 2 : 0);
    if (!shown) return;
    figureTable_->setHorizontalHeaderLabels({"Best fleet", "On the grid"});
    QStringList titles;
    for (const SweepFigureInfo& figure : kSweepFigures) titles << figure.title;
    figureTable_->setVerticalHeaderLabels(titles);
    const int tick = periodBox_->currentIndex();
    const FleetBattle* battles[2] = {&outcome_->result.best, &outcome_->grid};
    for (int b = 0; b < 2; ++b) {
        const SweepFigures& figures = tick <= 0 ? battles[b]->summed : battles[b]->ticks[static_cast<std::size_t>(tick - 1)];
        for (int f = 0; f < kSweepFigureCount; ++f)
            figureTable_->setItem(f, b, Figure(kSweepFigures[f].value(figures), sheet_.Locale()));
    }
}

void BestFleetPage::UseFleet() {
    // A count still being typed goes in first, as its own step: the fleet may then be out of date.
    document_.FinishOpenEdit();
    if (!FleetShown() || Running() || outOfDate_) return;
    std::vector<std::pair<int, std::int64_t>> fleet;
    for (std::size_t i = 0; i < searched_.rows.size(); ++i)
        fleet.emplace_back(searched_.rows[i].row, outcome_->result.best.counts[i]);
    HoldBounds(fleet);
    document_.UseFleet(fleet);
    emit FleetUsed();
}

}  // namespace kestrin
