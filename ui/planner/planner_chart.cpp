#include "ui/planner/planner_chart.h"

#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kestrin {

namespace {

const char* const kEmptyTitle = "Run a sweep to see its chart";

double X(std::int64_t value) { return static_cast<double>(value); }

void HideFromLegend(QChart* chart, QAbstractSeries* series) {
    for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
}

}  // namespace

PlannerChartView::PlannerChartView(NumberLocale locale, QWidget* parent)
    : QChartView(new QChart, parent), locale_(std::move(locale)) {
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->legend()->setShowToolTips(true);  // a name shortened to fit shows in full on hover
    chart()->setTitle(kEmptyTitle);
}

void PlannerChartView::Plot(PlannerPlot plot) {
    plot_ = std::move(plot);
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    xAxis_ = valueAxis_ = roidAxis_ = nullptr;
    hoverMarks_[0] = hoverMarks_[1] = nullptr;
    ShowTitle();
    if (plot_.values.empty()) return;
    xAxis_ = new QValueAxis;
    xAxis_->setTitleText(plot_.xTitle);
    xAxis_->setLabelFormat("%.0f");
    xAxis_->setRange(X(plot_.values.front()), X(plot_.values.back()));
    xAxis_->applyNiceNumbers();
    c->addAxis(xAxis_, Qt::AlignBottom);
    valueAxis_ = AddAxis(Qt::AlignLeft, "Fleet value, resources", false);
    roidAxis_ = AddAxis(Qt::AlignRight, "Asteroids", true);
    AddFigureLines();
    AddHighlight(plot_.highlights.bestPerRoid, "Lowest attacker loss per init. roid", QColor(0, 140, 60));
    AddHighlight(plot_.highlights.mostRoids, "Most roids captured", QColor(200, 90, 0));
}

// An axis for the shown figures of one kind, over their range; null when none is shown.
QValueAxis* PlannerChartView::AddAxis(Qt::Alignment alignment, const QString& title, bool roids) {
    bool any = false;
    std::int64_t low = 0, high = 0;
    for (int figure : plot_.shown) {
        if (kSweepFigures[figure].roids != roids) continue;
        for (const SweepFigures& f : plot_.figures) {
            const std::int64_t v = kSweepFigures[figure].value(f);
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    }
    if (!any) return nullptr;
    const double pad = std::max(1.0, (X(high) - X(low)) * 0.05);
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat("%.0f");
    // Padded, but not across zero: counts that never go negative keep zero at the edge.
    axis->setRange(low >= 0 ? std::max(0.0, X(low) - pad) : X(low) - pad,
                   high <= 0 ? std::min(0.0, X(high) + pad) : X(high) + pad);
    axis->applyNiceNumbers();  // round figures at the ticks
    // The figures are whole numbers: a narrow range keeps a whole step between the ticks.
    if (axis->max() - axis->min() < axis->tickCount() - 1) {
        const double span = axis->tickCount() - 1;
        if (high <= 0) axis->setRange(std::ceil(axis->max()) - span, std::ceil(axis->max()));
        else axis->setRange(std::floor(axis->min()), std::floor(axis->min()) + span);
    }
    chart()->addAxis(axis, alignment);
    return axis;
}

void PlannerChartView::AddFigureLines() {
    for (int figure : plot_.shown) {
        auto* line = new QLineSeries;
        line->setName(kSweepFigures[figure].title);
        line->setObjectName(kSweepFigures[figure].key);
        for (std::size_t i = 0; i < plot_.values.size(); ++i)
            line->append(X(plot_.values[i]), X(kSweepFigures[figure].value(plot_.figures[i])));
        chart()->addSeries(line);
        line->attachAxis(xAxis_);
        line->attachAxis(kSweepFigures[figure].roids ? roidAxis_ : valueAxis_);
    }
    // The hovered or chosen point on each line, one set per axis.
    for (int a = 0; a < 2; ++a) {
        QValueAxis* axis = a == 0 ? valueAxis_ : roidAxis_;
        if (axis == nullptr) continue;
        hoverMarks_[a] = new QScatterSeries;
        hoverMarks_[a]->setMarkerSize(9);
        hoverMarks_[a]->setColor(Qt::black);
        chart()->addSeries(hoverMarks_[a]);
        hoverMarks_[a]->attachAxis(xAxis_);
        hoverMarks_[a]->attachAxis(axis);
        HideFromLegend(chart(), hoverMarks_[a]);
    }
}

// A dashed vertical line across the chart at the highlighted value, named in the legend.
void PlannerChartView::AddHighlight(std::optional<std::size_t> index, const QString& what, QColor colour) {
    QValueAxis* axis = valueAxis_ != nullptr ? valueAxis_ : roidAxis_;
    if (!index || axis == nullptr) return;
    const std::int64_t value = plot_.values[*index];
    auto* line = new QLineSeries;
    line->setName(what + ": " + QString::fromStdString(FormatNumber(value, locale_)));
    line->append(X(value), axis->min());
    line->append(X(value), axis->max());
    QPen pen(colour);
    pen.setStyle(Qt::DashLine);
    pen.setWidth(2);
    line->setPen(pen);
    chart()->addSeries(line);
    line->attachAxis(xAxis_);
    line->attachAxis(axis);
}

QLineSeries* PlannerChartView::FigureLine(int figure) const {
    for (QAbstractSeries* series : chart()->series())
        if (series->objectName() == kSweepFigures[figure].key) return static_cast<QLineSeries*>(series);
    return nullptr;
}

void PlannerChartView::SetOutOfDate(bool outOfDate) {
    outOfDate_ = outOfDate;
    ShowTitle();
}

void PlannerChartView::ShowTitle() {
    if (plot_.values.empty()) {
        chart()->setTitle(kEmptyTitle);
        return;
    }
    chart()->setTitle(outOfDate_ ? plot_.title + "  (out of date: the battle has changed)" : plot_.title);
    chart()->setTitleBrush(outOfDate_ ? QColor(190, 0, 0) : QColor(Qt::black));
}

int PlannerChartView::NearestPoint(QPointF pos) const {
    const QList<QAbstractSeries*> series = chart()->series();
    if (plot_.values.empty() || series.isEmpty()) return -1;
    const QPointF inChart = chart()->mapFromScene(mapToScene(pos.toPoint()));
    if (!chart()->plotArea().contains(inChart)) return -1;
    const double x = chart()->mapToValue(inChart, series.first()).x();
    const auto& values = plot_.values;
    auto at = std::lower_bound(values.begin(), values.end(), x, [](std::int64_t v, double x) { return X(v) < x; });
    if (at == values.end()) --at;
    if (at != values.begin() && x - X(*(at - 1)) < X(*at) - x) --at;
    return static_cast<int>(at - values.begin());
}

void PlannerChartView::MarkHovered(int index) {
    for (int a = 0; a < 2; ++a) {
        if (hoverMarks_[a] == nullptr) continue;
        hoverMarks_[a]->clear();
        if (index < 0) continue;
        for (int figure : plot_.shown)
            if (kSweepFigures[figure].roids == (a == 1))
                hoverMarks_[a]->append(X(plot_.values[index]), X(kSweepFigures[figure].value(plot_.figures[index])));
    }
}

void PlannerChartView::mouseMoveEvent(QMouseEvent* event) {
    QChartView::mouseMoveEvent(event);
    if (const int index = NearestPoint(event->position()); index >= 0) emit PointHovered(index);
}

void PlannerChartView::mousePressEvent(QMouseEvent* event) {
    QChartView::mousePressEvent(event);
    if (const int index = NearestPoint(event->position()); index >= 0) emit PointChosen(index);
}

}  // namespace kestrin
