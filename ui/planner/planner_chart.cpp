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
#include <utility>

#include "planner/fleet_outcome_text.h"
#include "planner/sweep_axes.h"

namespace kestrin {

namespace {

const char* const kEmptyTitle = "Run a sweep to see its chart";
double X(std::int64_t value) { return static_cast<double>(value); }

QCategoryAxis* ScaleAxis(const AxisScale& scale, const NumberLocale& locale) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // A little room beyond the end ticks: a finding's marker at an end is drawn whole.
    const double margin = (scale.max - scale.min) * 0.03;
    axis->setRange(scale.min - margin, scale.max + margin);
    axis->setStartValue(scale.min - scale.step);
    for (double tick : ScaleTicks(scale)) axis->append(QString::fromStdString(AxisLabel(tick, locale)), tick);
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
    const std::vector<std::vector<int>> groups = AxisGroups(plot_.figures, plot_.shown);
    for (const std::vector<int>& group : groups) {
        const bool roids = kSweepFigures[group.front()].roids;
        const QString title = group.size() == 1 ? QString(kSweepFigures[group.front()].title)
                              : roids           ? QString("Asteroids")
                                                : QString("Fleet value, resources");
        AddAxis(roids ? Qt::AlignRight : Qt::AlignLeft, title, group);
    }
    AddFigureLines();
    AddFindingMarkers();
}

void PlannerChartView::AddAxis(Qt::Alignment alignment, const QString& title, const std::vector<int>& figures) {
    const AxisScale scale = FiguresAxis(plot_.figures, figures, plot_.findings);
    QCategoryAxis* axis = ScaleAxis(scale, locale_);
    axis->setTitleText(title);
    if (figures.size() == 1) axis->setTitleBrush(FigureColour(figures.front()));
    chart()->addAxis(axis, alignment);
    valueAxes_.push_back({figures, axis, scale});
}

const PlannerChartView::ValueAxis* PlannerChartView::AxisOf(int figure) const {
    for (const ValueAxis& entry : valueAxes_)
        if (std::ranges::find(entry.figures, figure) != entry.figures.end()) return &entry;
    return nullptr;
}

QList<QAbstractAxis*> PlannerChartView::ValueAxes() const {
    QList<QAbstractAxis*> axes;
    for (const ValueAxis& entry : valueAxes_) axes.push_back(entry.axis);
    return axes;
}

void PlannerChartView::AddFigureLines() {
    for (int figure : plot_.shown) AddFigureLine(figure);
    // The hovered or chosen point on each line, one set per axis.
    for (const ValueAxis& entry : valueAxes_) {
        auto* marks = new QScatterSeries;
        marks->setMarkerSize(9);
        marks->setColor(Qt::black);
        chart()->addSeries(marks);
        marks->attachAxis(xAxis_);
        marks->attachAxis(entry.axis);
        hoverMarks_.push_back(marks);
    }
}

// One figure's line, in pieces between the points where it has no value; a point beyond the
// axis sits on its edge and gets a hollow square. The points are gathered before the series
// join the chart, which would otherwise redraw for each of them.
void PlannerChartView::AddFigureLine(int figure) {
    const ValueAxis& axis = *AxisOf(figure);
    QList<QList<QPointF>> pieces;
    QList<QPointF> clipped;
    bool broken = true;
    for (std::size_t i = 0; i < plot_.values.size(); ++i) {
        const SweepFigures& f = plot_.figures[i];
        if (!FigureDefined(figure, f)) {
            broken = true;
            continue;
        }
        if (std::exchange(broken, false)) pieces.emplace_back();
        const double y = X(kSweepFigures[figure].value(f));
        const QPointF at(X(plot_.values[i]), std::clamp(y, axis.scale.min, axis.scale.max));
        pieces.back().append(at);
        if (at.y() != y) clipped.append(at);
    }
    const auto add = [&](QXYSeries* series) {
        chart()->addSeries(series);
        series->attachAxis(xAxis_);
        series->attachAxis(axis.axis);
    };
    for (const QList<QPointF>& points : pieces) {
        auto* piece = new QLineSeries;
        piece->setName(kSweepFigures[figure].title);
        piece->setObjectName(kSweepFigures[figure].key);
        piece->setPen(QPen(FigureColour(figure), 2));
        piece->append(points);
        // A piece of one point draws no line: its point shows.
        piece->setPointsVisible(points.size() == 1);
        add(piece);
    }
    if (clipped.isEmpty()) return;
    auto* marks = new QScatterSeries;
    marks->setObjectName(QString(kSweepFigures[figure].key) + "Clipped");
    marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    marks->setMarkerSize(9);
    marks->setColor(Qt::white);
    marks->setBorderColor(FigureColour(figure));
    marks->append(clipped);
    add(marks);
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
        const ValueAxis* axis = AxisOf(figure);
        auto* marker = new QScatterSeries;
        marker->setObjectName(QString("finding%1").arg(k));
        marker->setMarkerShape(kShapes[k]);
        marker->setMarkerSize(18);
        marker->setColor(FindingColour(kind));
        marker->setBorderColor(Qt::black);
        // The finding's own figure: its value may lie between the points.
        const double y = axis != nullptr ? std::clamp(X(finding->figure), axis->scale.min, axis->scale.max)
                                         : static_cast<QCategoryAxis*>(valueAxes_.front().axis)->min();
        marker->append(X(finding->value), y);
        chart()->addSeries(marker);
        marker->attachAxis(xAxis_);
        marker->attachAxis(axis != nullptr ? axis->axis : valueAxes_.front().axis);
    }
}

QLineSeries* PlannerChartView::FigureLine(int figure) const {
    const QList<QLineSeries*> pieces = FigureLines(figure);
    return pieces.isEmpty() ? nullptr : pieces.front();
}

QList<QLineSeries*> PlannerChartView::FigureLines(int figure) const {
    QList<QLineSeries*> pieces;
    for (QAbstractSeries* series : chart()->series())
        if (series->objectName() == kSweepFigures[figure].key) pieces.push_back(static_cast<QLineSeries*>(series));
    return pieces;
}

QScatterSeries* PlannerChartView::ClippedMarks(int figure) const {
    for (QAbstractSeries* series : chart()->series())
        if (series->objectName() == QString(kSweepFigures[figure].key) + "Clipped")
            return static_cast<QScatterSeries*>(series);
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
    // On a line of its own: beside a long title it would be cut at the chart's edge.
    chart()->setTitle(outOfDate_ ? plot_.title.toHtmlEscaped() + "<br>(" + kSweepOutOfDate + ")" : plot_.title);
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
        const ValueAxis& axis = valueAxes_[a];
        for (int figure : axis.figures) {
            const SweepFigures& f = plot_.figures[index];
            if (!FigureDefined(figure, f)) continue;
            const double y = X(kSweepFigures[figure].value(f));
            hoverMarks_[a]->append(X(plot_.values[index]), std::clamp(y, axis.scale.min, axis.scale.max));
        }
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
