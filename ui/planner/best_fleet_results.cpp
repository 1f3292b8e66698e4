// The "Best Fleet" page's results: the fleet beside the grid's, every figure per tick and for
// the whole battle, and "Use this fleet".
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/planner/best_fleet_page.h"

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
    summary_ = new QLabel("Tick the rows to vary, choose a goal and press \"Find Best Fleet\".");
    summary_->setWordWrap(true);
    fleetTable_ = ResultTable();
    fleetTable_->setMaximumHeight(150);
    fleetTable_->verticalHeader()->hide();
    figureTable_ = ResultTable();
    useFleet_ = new QPushButton("Use this fleet");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(useFleet_);
    buttons->addStretch(1);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(summary_);
    column->addWidget(fleetTable_);
    column->addWidget(figureTable_, 1);
    column->addLayout(buttons);
    connect(useFleet_, &QPushButton::clicked, this, &BestFleetPage::UseFleet);
    useFleet_->setEnabled(false);
    return side;
}

void BestFleetPage::SearchFinished() {
    outcome_ = runner_->TakeOutcome();
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

void BestFleetPage::ShowOutcome() {
    FillFleetTable();
    FillFigureTable();
    if (!outcome_) {
        summary_->setText("Tick the rows to vary, choose a goal and press \"Find Best Fleet\".");
        return;
    }
    if (!outcome_->error.empty()) {
        summary_->setText(QString::fromStdString(outcome_->error));
        return;
    }
    const FleetSearchResult& r = outcome_->result;
    const QString tried = QString::fromStdString(FormatNumber(r.evaluations, sheet_.Locale()));
    QString text = r.cancelled    ? "<b>Best fleet so far</b> (cancelled after " + tried + " fleets)"
                   : r.exhaustive ? "<b>Best fleet</b> of all " + tried + " fleets"
                                  : "<b>Best fleet found</b> in " + tried + " fleets";
    if (!r.meetsLimits) text += " &mdash; <span style='color:rgb(190,0,0)'>no fleet tried keeps the limits</span>";
    if (outOfDate_)
        text += "<br><span style='color:rgb(190,0,0)'>Out of date: the battle changed since. Find the best fleet "
                "again to use one.</span>";
    summary_->setText(text);
}

// One line per varied row: the count found and the count on the grid.
void BestFleetPage::FillFleetTable() {
    fleetTable_->clear();
    fleetTable_->setColumnCount(3);
    fleetTable_->setHorizontalHeaderLabels({"Row", "Best fleet", "On the grid"});
    const bool shown = outcome_ && outcome_->error.empty();
    fleetTable_->setRowCount(shown ? static_cast<int>(searched_.rows.size()) : 0);
    if (!shown) return;
    for (int i = 0; i < fleetTable_->rowCount(); ++i) {
        const int row = searched_.rows[static_cast<std::size_t>(i)].row;
        fleetTable_->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(searched_.cells.At(sheet::kAttCaption, row))));
        fleetTable_->setItem(i, 1, Figure(outcome_->result.best.counts[static_cast<std::size_t>(i)], sheet_.Locale()));
        fleetTable_->setItem(i, 2, Figure(outcome_->grid.counts[static_cast<std::size_t>(i)], sheet_.Locale()));
    }
}

// Every figure: the whole battle first, then each tick, the best fleet beside the grid's.
void BestFleetPage::FillFigureTable() {
    figureTable_->clear();
    const bool shown = outcome_ && outcome_->error.empty();
    const FleetBattle* battles[2] = {shown ? &outcome_->result.best : nullptr, shown ? &outcome_->grid : nullptr};
    const int ticks = shown ? static_cast<int>(battles[0]->ticks.size()) : 0;
    figureTable_->setRowCount(shown ? kSweepFigureCount : 0);
    figureTable_->setColumnCount(shown ? 2 * (ticks + 1) : 0);
    if (!shown) return;
    QStringList headers;
    for (int t = 0; t <= ticks; ++t) {
        const QString when = t == 0 ? "Whole battle" : "Tick " + QString::number(t);
        headers << when + "\nbest" << when + "\ngrid";
    }
    figureTable_->setHorizontalHeaderLabels(headers);
    QStringList titles;
    for (const SweepFigureInfo& figure : kSweepFigures) titles << figure.title;
    figureTable_->setVerticalHeaderLabels(titles);
    for (int f = 0; f < kSweepFigureCount; ++f) {
        for (int t = 0; t <= ticks; ++t) {
            for (int b = 0; b < 2; ++b) {
                const SweepFigures& figures = t == 0 ? battles[b]->summed : battles[b]->ticks[static_cast<std::size_t>(t - 1)];
                figureTable_->setItem(f, 2 * t + b, Figure(kSweepFigures[f].value(figures), sheet_.Locale()));
            }
        }
    }
}

void BestFleetPage::UseFleet() {
    // A count still being typed goes in first, as its own step: the fleet may then be out of date.
    document_.FinishOpenEdit();
    if (!outcome_ || !outcome_->error.empty() || Running() || outOfDate_) return;
    document_.Run(Step::UseThisFleet, [this](BattleSheet& sheet) {
        for (std::size_t i = 0; i < searched_.rows.size(); ++i)
            sheet.SetCell(sheet::kAttShips, searched_.rows[i].row, std::to_string(outcome_->result.best.counts[i]));
        sheet.Recalculate();
    });
}

}  // namespace kestrin
