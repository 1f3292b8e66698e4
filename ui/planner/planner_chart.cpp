#include "ui/planner/planner_chart.h"

#include <QCategoryAxis>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>

#include <algorithm>
#include <cmath>

#include "ui/planner/axis_scale.h"

namespace kestrin {

namespace {

const char* const kEmptyTitle = "Run a sweep to see its chart";
// A figure this many times smaller than the largest on its axis would be a flat line there.
constexpr double kFlattening = 20;

double X(std::int64_t value) { return static_cast<double>(value); }

std::pair<double, double> FigureRange(const PlannerPlot& plot, const std::vector<int>& figures) {
    double low = 0, high = 0;
    bool any = false;
    for (int figure : figures) {
        for (const SweepFigures& f : plot.figures) {
            const double v = X(kSweepFigures[figure].value(f));
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    }
    return {low, high};
}

// The shown figures by axis: the resource figures of like size, the smaller resource figures,
// the asteroid counts; empty groups left out.
std::vector<std::vector<int>> AxisGroups(const PlannerPlot& plot) {
    const auto size = [&](int figure) {
        const auto [low, high] = FigureRange(plot, {figure});
        return std::max(std::abs(low), std::abs(high));
    };
    double largest = 0;
    for (int figure : plot.shown)
        if (!kSweepFigures[figure].roids) largest = std::max(largest, size(figure));
    std::vector<std::vector<int>> groups(3);
    for (int figure : plot.shown) {
        const bool small = size(figure) * kFlattening < largest;
        groups[kSweepFigures[figure].roids ? 2 : small ? 1 : 0].push_back(figure);
    }
    std::erase_if(groups, [](const std::vector<int>& group) { return group.empty(); });
    return groups;
}

QCategoryAxis* ScaleAxis(const AxisScale& scale, const NumberLocale& locale) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // A little room beyond the end ticks: a finding's marker at an end is drawn whole.
    const double margin = (scale.max - scale.min) * 0.03;
    axis->setRange(scale.min - margin, scale.max + margin);
    axis->setStartValue(scale.min - scale.step);
    for (double tick : ScaleTicks(scale)) axis->append(AxisLabel(tick, locale), tick);
    return axis;
}

}  // namespace

QColor FigureColour(int figure) {
    static const QColor kColours[kSweepFigureCount] = {
        QColor(31, 119, 180), QColor(214, 39, 40),  QColor(140, 86, 75),  QColor(127, 127, 127),
        QColor(23, 190, 207), QColor(188, 189, 34), QColor(148, 103, 189), QColor(255, 127, 14),
        QColor(44, 160, 44),  QColor(90, 90, 160),  QColor(0, 100, 120),  QColor(160, 60, 120),
        QColor(60, 60, 60),   QColor(200, 100, 150)};
    return kColours[figure];
}

QColor FindingColour(FindingKind kind) {
    switch (kind) {
        case FindingKind::MostInitRoids: return QColor(230, 120, 0);
        case FindingKind::LowestLossPerRoid: return QColor(0, 130, 50);
        case FindingKind::DefenderWiped: return QColor(120, 40, 160);
    }
    return Qt::black;
}

QString FindingSymbol(FindingKind kind) {
    switch (kind) {
        case FindingKind::MostInitRoids: return QString::fromUtf8("\u2605");
        case FindingKind::LowestLossPerRoid: return QString::fromUtf8("\u25b2");
        case FindingKind::DefenderWiped: return QString::fromUtf8("\u25c6");
    }
    return {};
}

int FindingFigure(FindingKind kind) {
    switch (kind) {
        case FindingKind::MostInitRoids: return kInitRoidsFigure;
        case FindingKind::LowestLossPerRoid: return kAttackerPerRoidFigure;
        case FindingKind::DefenderWiped: return kDefenderChangeFigure;
    }
    return 0;
}

PlannerChartView::PlannerChartView(NumberLocale locale, QWidget* parent)
    : QChartView(new QChart, parent), locale_(std::move(locale)) {
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The window lists the lines and findings beside the chart, where no name is cut.
    chart()->legend()->hide();
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
    xAxis_ = nullptr;
    valueAxes_.clear();
    hoverMarks_.clear();
    chosen_ = -1;
    ShowTitle();
    if (plot_.values.empty()) return;
    xAxis_ = ScaleAxis(NiceScale(X(plot_.values.front()), X(plot_.values.back())), locale_);
    xAxis_->setTitleText(plot_.xTitle);
    c->addAxis(xAxis_, Qt::AlignBottom);
    const std::vector<std::vector<int>> groups = AxisGroups(plot_);
    for (const std::vector<int>& group : groups) {
        const bool roids = kSweepFigures[group.front()].roids;
        const QString title = group.size() == 1 ? QString(kSweepFigures[group.front()].title)
                              : roids           ? QString("Asteroids")
                                                : QString("Fleet value, resources");
        valueAxes_.emplace_back(group, AddAxis(roids ? Qt::AlignRight : Qt::AlignLeft, title, group));
    }
    AddFigureLines();
    AddFindingMarkers();
}

QAbstractAxis* PlannerChartView::AddAxis(Qt::Alignment alignment, const QString& title, const std::vector<int>& figures) {
    const auto [low, high] = FigureRange(plot_, figures);
    // Zero is always on the axis: a figure reads against nothing lost or captured.
    QCategoryAxis* axis = ScaleAxis(NiceScale(std::min(low, 0.0), std::max(high, 0.0)), locale_);
    axis->setTitleText(title);
    if (figures.size() == 1) axis->setTitleBrush(FigureColour(figures.front()));
    chart()->addAxis(axis, alignment);
    return axis;
}

QAbstractAxis* PlannerChartView::AxisOf(int figure) const {
    for (const auto& [figures, axis] : valueAxes_)
        if (std::ranges::find(figures, figure) != figures.end()) return axis;
    return nullptr;
}

QList<QAbstractAxis*> PlannerChartView::ValueAxes() const {
    QList<QAbstractAxis*> axes;
    for (const auto& entry : valueAxes_) axes.push_back(entry.second);
    return axes;
}

void PlannerChartView::AddFigureLines() {
    for (int figure : plot_.shown) {
        auto* line = new QLineSeries;
        line->setName(kSweepFigures[figure].title);
        line->setObjectName(kSweepFigures[figure].key);
        line->setPen(QPen(FigureColour(figure), 2));
        for (std::size_t i = 0; i < plot_.values.size(); ++i)
            line->append(X(plot_.values[i]), X(kSweepFigures[figure].value(plot_.figures[i])));
        chart()->addSeries(line);
        line->attachAxis(xAxis_);
        line->attachAxis(AxisOf(figure));
    }
    // The hovered or chosen point on each line, one set per axis.
    for (const auto& entry : valueAxes_) {
        auto* marks = new QScatterSeries;
        marks->setMarkerSize(9);
        marks->setColor(Qt::black);
        chart()->addSeries(marks);
        marks->attachAxis(xAxis_);
        marks->attachAxis(entry.second);
        hoverMarks_.push_back(marks);
    }
}

// Each finding as a large marker of its own shape on its figure's line, or on the bottom edge
// when that figure is not plotted.
void PlannerChartView::AddFindingMarkers() {
    if (valueAxes_.empty()) return;
    static const QScatterSeries::MarkerShape kShapes[kFindingCount] = {
        QScatterSeries::MarkerShapeStar, QScatterSeries::MarkerShapeTriangle,
        QScatterSeries::MarkerShapeRotatedRectangle};
    for (int k = 0; k < kFindingCount; ++k) {
        const std::optional<SweepFinding>& finding = plot_.findings[k];
        if (!finding) continue;
        const auto kind = static_cast<FindingKind>(k);
        const int figure = FindingFigure(kind);
        QAbstractAxis* axis = AxisOf(figure);
        auto* marker = new QScatterSeries;
        marker->setObjectName(QString("finding%1").arg(k));
        marker->setMarkerShape(kShapes[k]);
        marker->setMarkerSize(18);
        marker->setColor(FindingColour(kind));
        marker->setBorderColor(Qt::black);
        const double y = axis != nullptr ? X(kSweepFigures[figure].value(plot_.figures[finding->point]))
                                         : static_cast<QCategoryAxis*>(valueAxes_.front().second)->min();
        marker->append(X(finding->value), y);
        chart()->addSeries(marker);
        marker->attachAxis(xAxis_);
        marker->attachAxis(axis != nullptr ? axis : valueAxes_.front().second);
    }
}

QLineSeries* PlannerChartView::FigureLine(int figure) const {
    for (QAbstractSeries* series : chart()->series())
        if (series->objectName() == kSweepFigures[figure].key) return static_cast<QLineSeries*>(series);
    return nullptr;
}

QScatterSeries* PlannerChartView::FindingMarker(FindingKind kind) const {
    for (QAbstractSeries* series : chart()->series())
        if (series->objectName() == QString("finding%1").arg(static_cast<int>(kind)))
            return static_cast<QScatterSeries*>(series);
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
    for (std::size_t a = 0; a < hoverMarks_.size(); ++a) {
        hoverMarks_[a]->clear();
        if (index < 0) continue;
        for (int figure : valueAxes_[a].first)
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

void PlannerChartView::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(plot_.values.size()) - 1;
    if (last < 0) return QChartView::keyPressEvent(event);
    int next = -1;
    switch (event->key()) {
        case Qt::Key_Left: next = chosen_ < 0 ? 0 : std::max(0, chosen_ - 1); break;
        case Qt::Key_Right: next = chosen_ < 0 ? 0 : std::min(last, chosen_ + 1); break;
        case Qt::Key_Home: next = 0; break;
        case Qt::Key_End: next = last; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: emit UseRequested(); return;
        default: return QChartView::keyPressEvent(event);
    }
    emit PointChosen(next);
}

// The focus shows as a frame in the system's highlight colour.
void PlannerChartView::paintEvent(QPaintEvent* event) {
    QChartView::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
    painter.drawRect(viewport()->rect().adjusted(1, 1, -2, -2));
}

void PlannerChartView::focusInEvent(QFocusEvent* event) {
    QChartView::focusInEvent(event);
    viewport()->update();
}

void PlannerChartView::focusOutEvent(QFocusEvent* event) {
    QChartView::focusOutEvent(event);
    viewport()->update();
}

}  // namespace kestrin
