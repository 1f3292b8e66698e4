// The planner window's sweeps: running one, charting its figures, reading and using a
// point, exporting.
#include <QAbstractAxis>
#include <QBuffer>
#include <QChart>
#include <QLineSeries>
#include <QScatterSeries>
#include <QComboBox>
#include <QHBoxLayout>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include <utility>

#include "engine/atomic_file.h"
#include "planner/sweep_csv.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_inputs.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
#include "ui/planner/planner_works.h"
#include "ui/common/user_messages.h"

namespace kestrin {

void TPlannerForm::RunSweep() {
    // The sweep reads the battle on the grid, a count still being typed included.
    document_.FinishOpenEdit();
    SweepRequest request;
    if (Running() || !CheckControls(&request).empty()) return;
    SweepRequest swept = request;
    swept.values.clear();
    const int points = static_cast<int>(request.values.size());
    auto sweeping = std::make_shared<SweepResult>();
    const std::string error = sweepJob_->Start(SweepWork(sheet_.Rules(), std::move(request), sweeping));
    // Not started (the search has the cores, no thread): the last sweep stays as it was.
    if (!error.empty()) {
        status_->setText(QString::fromStdString(error));
        return;
    }
    sweeping_ = std::move(sweeping);
    // Every value of the last range is no longer wanted.
    if (FindingsRunning()) {
        findingsJob_->Cancel();
        passStale_ = true;
    }
    passWanted_ = false;
    swept_ = std::move(swept);
    sweptSetUp_ = document_.SetUpBattle();
    chosen_.reset();
    chosenPoint_.reset();
    read_.reset();
    useValue_->setText("Use this value");
    readout_->setText(kReadoutHint);
    status_->setText("Sweeping " + InputTitle() + "...");
    progress_->setRange(0, points);
    progress_->setValue(0);
    SetRunning(true);
}

void TPlannerForm::SweepFinished() {
    // A failed sweep left no points.
    result_ = std::move(*std::exchange(sweeping_, nullptr));
    if (forget_) {
        forget_ = false;
        ForgetResults();
        return;
    }
    const QString points = QString::number(result_.points.size());
    if (!sweepJob_->Error().empty())
        status_->setText(QString::fromStdString(sweepJob_->Error()));
    else if (result_.partial)
        status_->setText("Cancelled: " + points + " points finished");
    else
        status_->setText(points + " points, " + QString::number(swept_.ticks) + " ticks each");
    outOfDate_ = false;
    tally_ = FindingsTally();
    for (const SweepPoint& point : result_.points) tally_.Add(point);
    const bool complete = sweepJob_->Error().empty() && !result_.partial && !result_.points.empty();
    findingsExact_ = complete && result_.points.size() == WholeValuesInRange(result_.points.front().value,
                                                                             result_.points.back().value);
    passCancelled_ = false;
    if (complete && !findingsExact_) StartFindingsPass();
    SetRunning(false);
    Replot();
    // The battle may have changed while the sweep ran.
    BattleChanged();
}

void TPlannerForm::BattleChanged() {
    ShowTickNote();
    fleetPage_->BattleChanged();
    if (result_.points.empty()) return;
    // Tick steps are no change: the chart stays current across them, as the battle stays
    // unchanged for Save.
    outOfDate_ = document_.SetUpBattle() != sweptSetUp_ &&
                 !SameBattleApartFrom(swept_.battle, SheetInputs(sheet_.Cells()), swept_.input);
    chart_->SetOutOfDate(outOfDate_);
    findings_->setText(FindingsHtml(!outOfDate_));
    // A value of another battle's sweep is not offered: the chart must run again.
    SetRunning(Running());
}

// The figures of each point as the mode asks: the whole battle, or its last tick.
void TPlannerForm::Replot() {
    const bool whole = Mode() == PlotMode::WholeBattle;
    plotted_.clear();
    PlannerPlot plot;
    for (const SweepPoint& point : result_.points) {
        plot.values.push_back(point.value);
        plotted_.push_back(PlottedFigures(point, Mode()));
    }
    plot.figures = plotted_;
    for (int i = 0; i < figureList_->count(); ++i)
        if (figureList_->item(i)->checkState() == Qt::Checked) plot.shown.push_back(i);
    plot.findings = tally_.Findings(Mode());
    const QString side = swept_.input.side == Side::Attacker ? "Attacker " : "Defender ";
    plot.xTitle = side + QString::fromStdString(RowCaption(sheet_.Cells(), swept_.input.side, swept_.input.row));
    const QString ticks = QString::number(swept_.ticks) + (swept_.ticks == 1 ? " tick" : " ticks");
    plot.title = plot.xTitle + (whole ? ": whole battle of " + ticks
                                      : ": at the last tick (tick " + QString::number(swept_.ticks) + ")");
    chart_->Plot(std::move(plot));
    chart_->SetOutOfDate(outOfDate_);
    findings_->setText(FindingsHtml(!outOfDate_));
    if (chosen_) {
        chart_->MarkHovered(*chosen_);
        chart_->SetChosen(*chosen_);
    }
    // The readout follows the plot: its figures are read again as plotted now.
    ShowReadout();
}

PlotMode TPlannerForm::Mode() const {
    return modeBox_->currentIndex() == 0 ? PlotMode::WholeBattle : PlotMode::LastTick;
}

void TPlannerForm::closeEvent(QCloseEvent* event) {
    // A sweep nobody will look at stops, and its points are let go.
    if (Running()) {
        forget_ = true;
        sweepJob_->Cancel();
    }
    if (FindingsRunning()) {
        passStale_ = true;
        findingsJob_->Cancel();
    }
    passWanted_ = false;
    fleetPage_->Close();
    ForgetResults();
    QWidget::closeEvent(event);
}

void TPlannerForm::ForgetResults() {
    result_ = SweepResult{};
    plotted_ = {};
    swept_ = SweepRequest{};
    tally_ = FindingsTally();
    findingsExact_ = false;
    chosen_.reset();
    chosenPoint_.reset();
    read_.reset();
    outOfDate_ = false;
    chart_->Plot({});
    findings_->clear();
    readout_->setText(kReadoutHint);
    status_->clear();
    SetRunning(Running());
}

// The exact figures of point `index` under the chart, the plotted ones first, in bold.
void TPlannerForm::ShowPointFigures(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= result_.points.size()) return;
    chart_->MarkHovered(index);
    read_ = result_.points[index];
    ShowReadout();
}

// The figures of the point read, as the plot shows them: the whole battle or its last tick.
void TPlannerForm::ShowReadout() {
    if (!read_) {
        readout_->setText(kReadoutHint);
        return;
    }
    const SweepFigures figures = PlottedFigures(*read_, Mode());
    const NumberLocale& locale = sheet_.Locale();
    const auto number = [&](std::int64_t v) { return QString::fromStdString(FormatNumber(v, locale)); };
    QStringList plotted, others;
    for (int i = 0; i < kSweepFigureCount; ++i) {
        const QString figure = FigureDefined(i, figures) ? number(kSweepFigures[i].value(figures))
                                                         : QString("(no asteroid captured)");
        const QString part = QString(kSweepFigures[i].title) + " " + figure;
        if (figureList_->item(i)->checkState() == Qt::Checked) plotted << "<b>" + part + "</b>";
        else others << part;
    }
    const QString plot = Mode() == PlotMode::WholeBattle ? "whole battle" : "at the last tick";
    readout_->setText("<b>" + chart_->Shown().xTitle + " = " + number(read_->value) + "</b> (" + plot + "): " +
                      (plotted + others).join(" &middot; "));
}

void TPlannerForm::ChoosePoint(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= result_.points.size()) return;
    chosen_ = index;
    chosenPoint_ = result_.points[index];
    chart_->SetChosen(index);
    ShowPointFigures(index);
    useValue_->setText("Use this value (" +
                       QString::fromStdString(FormatNumber(result_.points[index].value, sheet_.Locale())) + ")");
    SetRunning(Running());
}

void TPlannerForm::UseChosenValue() {
    // A count still being typed goes in first, as its own step: the chart may then be out of date.
    document_.FinishOpenEdit();
    if (!chosenPoint_ || Running() || outOfDate_) return;
    const SweepInput input = swept_.input;
    document_.UseValue(input.side, input.row, chosenPoint_->value);
    emit RowsChanged(input.side, {input.row});
}

QString TPlannerForm::ExportCsv(const std::filesystem::path& path) const {
    return QString::fromStdString(SaveFileAtomically(path, SweepCsv(result_) + FindingsCsv(Findings())));
}

namespace {

// The exported image's size in pixels, whatever the screen's scale, and its text's height:
// about twice the window's, so that the image still reads at half its size.
constexpr QSize kPngSize(1600, 1000);
constexpr int kPngTextPixels = 22;

// Text `pixels` high, lines and markers twice as thick as in the window.
void EnlargeForExport(QChart* chart, int pixels) {
    const auto enlarged = [pixels](QFont font) {
        font.setPixelSize(pixels);
        return font;
    };
    chart->setTitleFont(enlarged(chart->titleFont()));
    for (QAbstractAxis* axis : chart->axes()) {
        axis->setLabelsFont(enlarged(axis->labelsFont()));
        axis->setTitleFont(enlarged(axis->titleFont()));
    }
    for (QAbstractSeries* series : chart->series()) {
        if (auto* marks = qobject_cast<QScatterSeries*>(series)) {
            marks->setMarkerSize(2 * marks->markerSize());
        } else if (auto* line = qobject_cast<QLineSeries*>(series)) {
            QPen pen = line->pen();
            pen.setWidthF(2 * pen.widthF());
            line->setPen(pen);
        }
    }
}

}  // namespace

// Drawn apart from the window at export size, so that the legend and findings are whole
// whatever the window's size.
QString TPlannerForm::SaveChartPng(const std::filesystem::path& path) {
    QWidget page;
    page.setAutoFillBackground(true);
    page.setPalette(QPalette(Qt::white));
    QFont font = page.font();
    font.setPixelSize(kPngTextPixels);
    page.setFont(font);
    auto* layout = new QHBoxLayout(&page);
    auto* view = new PlannerChartView(sheet_.Locale());
    view->Plot(chart_->Shown());
    view->SetOutOfDate(outOfDate_);
    EnlargeForExport(view->chart(), kPngTextPixels);
    auto* side = new QLabel(FindingsHtml(false));
    side->setWordWrap(true);
    side->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    side->setFixedWidth(kPngSize.width() * 3 / 10);
    layout->addWidget(view, 1);
    layout->addWidget(side);
    page.resize(kPngSize);
    // An image of its own pixel ratio: a screen scaled by 2 would double a grab's pixels.
    QImage image(kPngSize, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Qt::white);
    page.render(&image);
    const QString file = QString::fromStdString(path.string());
    QByteArray png;
    QBuffer buffer(&png);
    if (!image.save(&buffer, "PNG")) return "Unable to write to " + file;
    return QString::fromStdString(SaveFileAtomically(path, png.toStdString()));
}

void TPlannerForm::ExportCsvClick() {
    const QString file = QFileDialog::getSaveFileName(this, "Export CSV", folder_.Proposed("sweep.csv"), "CSV files (*.csv)");
    if (file.isEmpty()) return;
    folder_.Used(file.toStdString());
    if (const QString error = ExportCsv(file.toStdString()); !error.isEmpty()) messages_.Error(this, error);
}

void TPlannerForm::SavePngClick() {
    const QString file =
        QFileDialog::getSaveFileName(this, "Save Chart as PNG", folder_.Proposed("sweep.png"), "PNG images (*.png)");
    if (file.isEmpty()) return;
    folder_.Used(file.toStdString());
    if (const QString error = SaveChartPng(file.toStdString()); !error.isEmpty()) messages_.Error(this, error);
}

}  // namespace kestrin
