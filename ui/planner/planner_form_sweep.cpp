// The planner window's sweeps: running one, charting its figures, reading and using a
// point, exporting.
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include "engine/atomic_file.h"
#include "planner/sweep_csv.h"
#include "planner/sweep_highlights.h"
#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
#include "ui/planner/sweep_runner.h"
#include "ui/common/user_messages.h"

namespace kestrin {

void TPlannerForm::RunSweep() {
    // The sweep reads the battle on the grid, a count still being typed included.
    emit CommandStarting();
    SweepRequest request;
    if (Running() || !CheckControls(&request).empty()) return;
    swept_ = request;
    swept_.values.clear();
    chosen_.reset();
    useValue_->setText("Use this value");
    readout_->setText(kReadoutHint);
    status_->setText("Sweeping " + InputTitle() + "...");
    progress_->setRange(0, static_cast<int>(request.values.size()));
    progress_->setValue(0);
    if (std::string error = runner_->Start(std::move(request)); !error.empty()) {
        status_->setText(QString::fromStdString(error));
        return;
    }
    SetRunning(true);
}

void TPlannerForm::SweepFinished() {
    result_ = runner_->Result();
    const QString points = QString::number(result_.points.size());
    if (!result_.error.empty())
        status_->setText(QString::fromStdString(result_.error));
    else if (result_.partial)
        status_->setText("Cancelled: " + points + " points finished");
    else
        status_->setText(points + " points, " + QString::number(swept_.ticks) + " ticks each");
    outOfDate_ = false;
    SetRunning(false);
    Replot();
    // The battle may have changed while the sweep ran.
    BattleChanged();
}

void TPlannerForm::BattleChanged() {
    if (result_.points.empty()) return;
    outOfDate_ = !SameBattleApartFrom(swept_.cells, sheet_.Cells(), swept_.input);
    chart_->SetOutOfDate(outOfDate_);
}

// The figures of each point as the mode asks: its last tick, or the whole battle.
void TPlannerForm::Replot() {
    const bool whole = modeBox_->currentIndex() == 1;
    plotted_.clear();
    PlannerPlot plot;
    for (const SweepPoint& point : result_.points) {
        plot.values.push_back(point.value);
        plotted_.push_back(whole ? WholeBattleFigures(point.ticks) : point.ticks.back());
    }
    plot.figures = plotted_;
    for (int i = 0; i < figureList_->count(); ++i)
        if (figureList_->item(i)->checkState() == Qt::Checked) plot.shown.push_back(i);
    plot.highlights = FindHighlights(plotted_);
    const QString side = swept_.input.side == Side::Attacker ? "Attacker " : "Defender ";
    plot.xTitle = side + QString::fromStdString(sheet_.Cell(sheet::SideOffset(swept_.input.side), swept_.input.row));
    plot.title = plot.xTitle + (whole ? ": whole battle of " + QString::number(swept_.ticks) + " ticks"
                                      : ": tick " + QString::number(swept_.ticks));
    chart_->Plot(std::move(plot));
    chart_->SetOutOfDate(outOfDate_);
    if (chosen_) chart_->MarkHovered(*chosen_);
}

// The exact figures of point `index` under the chart, the plotted ones first.
void TPlannerForm::ShowPointFigures(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= plotted_.size()) return;
    chart_->MarkHovered(index);
    const NumberLocale& locale = sheet_.Locale();
    const auto number = [&](std::int64_t v) { return QString::fromStdString(FormatNumber(v, locale)); };
    QStringList parts;
    for (int i = 0; i < kSweepFigureCount; ++i) {
        const bool plotted = figureList_->item(i)->checkState() == Qt::Checked;
        const QString part = QString(kSweepFigures[i].title) + " " + number(kSweepFigures[i].value(plotted_[index]));
        parts << (plotted ? "<b>" + part + "</b>" : part);
    }
    readout_->setText("<b>" + chart_->Shown().xTitle + " = " + number(result_.points[index].value) + "</b>: " +
                      parts.join(" &middot; "));
}

void TPlannerForm::ChoosePoint(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= result_.points.size()) return;
    chosen_ = index;
    ShowPointFigures(index);
    useValue_->setText("Use this value (" +
                       QString::fromStdString(FormatNumber(result_.points[index].value, sheet_.Locale())) + ")");
    SetRunning(Running());
}

void TPlannerForm::UseChosenValue() {
    if (!chosen_ || Running()) return;
    emit CommandStarting();
    const std::int64_t value = result_.points[*chosen_].value;
    std::string error;
    {
        // One step to undo, closed before the window hears of it.
        const SheetChange change(sheet_);
        sheet_.SetCell(sheet::ShipsColumn(swept_.input.side), swept_.input.row, std::to_string(value));
        error = sheet_.Recalculate();
    }
    emit ValueUsed(QString::fromStdString(error));
}

QString TPlannerForm::ExportCsv(const std::filesystem::path& path) const {
    return QString::fromStdString(SaveFileAtomically(path, SweepCsv(result_)));
}

QString TPlannerForm::SaveChartPng(const std::filesystem::path& path) {
    const QString file = QString::fromStdString(path.string());
    return chart_->grab().save(file, "PNG") ? QString() : "Unable to write to " + file;
}

void TPlannerForm::ExportCsvClick() {
    const QString start = QString::fromStdString((folder_ / "sweep.csv").string());
    const QString file = QFileDialog::getSaveFileName(this, "Export CSV", start, "CSV files (*.csv)");
    if (file.isEmpty()) return;
    if (const QString error = ExportCsv(file.toStdString()); !error.isEmpty()) messages_.Error(this, error);
}

void TPlannerForm::SavePngClick() {
    const QString start = QString::fromStdString((folder_ / "sweep.png").string());
    const QString file = QFileDialog::getSaveFileName(this, "Save Chart as PNG", start, "PNG images (*.png)");
    if (file.isEmpty()) return;
    if (const QString error = SaveChartPng(file.toStdString()); !error.isEmpty()) messages_.Error(this, error);
}

}  // namespace kestrin
