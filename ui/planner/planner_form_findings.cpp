// The planner window's findings: trying every value of the swept range after the chart's
// points, stating the findings and choosing their points.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>
#include <utility>

#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
#include "ui/planner/planner_works.h"

namespace kestrin {

// Every whole value of the swept range, when there are few enough, on the workers of a
// runner of its own; the chart is usable meanwhile.
void TPlannerForm::StartFindingsPass() {
    const std::int64_t from = result_.points.front().value, to = result_.points.back().value;
    if (WholeValuesInRange(from, to) > kMaxExactFindingValues) return;
    // A cancelled pass still finishing its last points: this one starts when it has ended.
    if (FindingsRunning()) {
        passWanted_ = true;
        return;
    }
    passStale_ = false;
    SweepRequest request = swept_;
    for (std::int64_t value = from; value <= to; ++value) request.values.push_back(value);
    auto passing = std::make_shared<FindingsPass>();
    if (std::string error = findingsJob_->Start(FindingsWork(sheet_.Rules(), std::move(request), passing));
        !error.empty()) {
        passCancelled_ = true;
        status_->setText(QString::fromStdString(error));
        return;
    }
    passing_ = std::move(passing);
    progress_->setRange(0, static_cast<int>(to - from + 1));
    progress_->setValue(0);
    status_->setText(status_->text() + "; trying every value for the findings...");
}

void TPlannerForm::FindingsPassFinished() {
    if (passStale_) {
        passStale_ = false;
        passing_.reset();
        if (std::exchange(passWanted_, false) && !result_.points.empty()) StartFindingsPass();
        SetRunning(Running());
        return;
    }
    // A failed pass left an empty tally.
    const FindingsPass pass = std::move(*std::exchange(passing_, nullptr));
    const std::string& error = findingsJob_->Error();
    const QString swept = QString::number(result_.points.size()) + " points, " + QString::number(swept_.ticks) +
                          " ticks each";
    if (!error.empty() || pass.partial) {
        passCancelled_ = true;
        status_->setText(swept + "; " + (error.empty() ? QString("trying every value was cancelled")
                                                        : QString::fromStdString(error)));
    } else {
        tally_ = pass.tally;
        findingsExact_ = true;
        status_->setText(swept + "; every value tried for the findings");
    }
    SetRunning(Running());
    Replot();
}

// Cancel stops the sweep, or the pass over every value that follows it.
void TPlannerForm::CancelWork() {
    sweepJob_->Cancel();
    if (!passStale_) findingsJob_->Cancel();
}

// What the findings were taken over.
QString TPlannerForm::FindingsScope() const {
    const PlannerPlot& plot = chart_->Shown();
    const NumberLocale& locale = sheet_.Locale();
    if (FindingsRunning() && !passStale_) return QString::fromStdString(FindingsPendingText(plot.values, locale));
    // A cut sweep is stated over its points, whatever they cover.
    const bool exact = findingsExact_ && !result_.partial;
    QString scope = QString::fromStdString(FindingsScopeText(exact, plot.values, locale));
    if (passCancelled_) scope += " (trying every value was cancelled)";
    return scope;
}

// The findings in words, each a link choosing its point, then the lines' colours: what the
// chart's legend would say, never cut.
QString TPlannerForm::FindingsHtml(bool links) const {
    const PlannerPlot& plot = chart_->Shown();
    if (plot.values.empty()) return {};
    QString html = "<b>Findings</b>, " + FindingsScope().toHtmlEscaped();
    for (int k = 0; k < kFindingCount; ++k) {
        const auto kind = static_cast<FindingKind>(k);
        const QString text = QString::fromStdString(
                                 FindingText(kind, plot.findings[k], plot.xTitle.toStdString(), sheet_.Locale()))
                                 .toHtmlEscaped();
        html += "<p style='margin-top:6px'><span style='color:" + FindingColour(kind).name() + "'>" +
                FindingSymbol(kind) + "</span> " +
                (plot.findings[k] && links ? "<a href='" + QString::number(k) + "'>" + text + "</a>" : text) + "</p>";
    }
    html += "<p style='margin-top:10px'><b>Lines</b>";
    bool clipped = false;
    for (int figure : plot.shown) {
        html += "<br><span style='color:" + FigureColour(figure).name() + "'>&#9632;</span> " + kSweepFigures[figure].title;
        clipped = clipped || chart_->ClippedMarks(figure) != nullptr;
    }
    if (clipped) html += "<br>&#9633; beyond its axis, drawn at the edge: read it below the chart";
    return html + "</p>";
}

// A finding's point: one of the sweep's, or a value between them that trying every value
// found; either is read out and can be used.
void TPlannerForm::ChooseFinding(int kind) {
    // A finding of another battle's sweep has no point in this one.
    if (kind < 0 || kind >= kFindingCount || outOfDate_) return;
    const SweepPoint* point = tally_.Point(Mode(), static_cast<FindingKind>(kind));
    if (point == nullptr) return;
    const auto& points = result_.points;
    const auto at = std::ranges::lower_bound(points, point->value, {}, &SweepPoint::value);
    if (at != points.end() && at->value == point->value) return ChoosePoint(static_cast<int>(at - points.begin()));
    chosen_.reset();
    chosenPoint_ = *point;
    chart_->SetChosen(-1);
    chart_->MarkHovered(-1);
    read_ = *point;
    ShowReadout();
    useValue_->setText("Use this value (" + QString::fromStdString(FormatNumber(point->value, sheet_.Locale())) + ")");
    SetRunning(Running());
}

}  // namespace kestrin
