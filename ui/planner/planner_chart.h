#pragma once

#include <QChartView>

#include <cstdint>
#include <vector>

#include "planner/sweep_figures.h"
#include "planner/sweep_highlights.h"
#include "sheet/number_format.h"

class QLineSeries;
class QScatterSeries;
class QValueAxis;

namespace kestrin {

/// What the planner's chart shows: one line per chosen figure over the swept values.
struct PlannerPlot {
    QString title;                       ///< the chart's title
    QString xTitle;                      ///< the varied input, e.g. "Attacker Harpy"
    std::vector<std::int64_t> values;    ///< ascending
    std::vector<SweepFigures> figures;   ///< one per value, as plotted (a tick or the battle)
    std::vector<int> shown;              ///< indexes into kSweepFigures
    SweepHighlights highlights;
};

/// The planner's line chart: resource figures on the left axis, asteroid counts on the
/// right, the two highlighted points as dashed vertical lines in the legend. Moving the mouse
/// reports the nearest point, pressing chooses it; both are marked on the lines.
class PlannerChartView : public QChartView {
    Q_OBJECT

public:
    explicit PlannerChartView(NumberLocale locale, QWidget* parent = nullptr);

    /// Replaces the chart by `plot`.
    void Plot(PlannerPlot plot);
    /// The plot shown.
    const PlannerPlot& Shown() const { return plot_; }
    /// The line of figure `figure`, or null when it is not plotted.
    QLineSeries* FigureLine(int figure) const;
    /// Marks the chart as out of date (its title says so) or current.
    void SetOutOfDate(bool outOfDate);
    /// The index of the point nearest to the widget position `pos`, or -1 when there is none.
    int NearestPoint(QPointF pos) const;
    /// Marks point `index` as the hovered one (-1: none).
    void MarkHovered(int index);

signals:
    /// The mouse is over the chart, nearest to point `index`.
    void PointHovered(int index);
    /// The user pressed the chart nearest to point `index`.
    void PointChosen(int index);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void AddFigureLines();
    void AddHighlight(std::optional<std::size_t> index, const QString& what, QColor colour);
    QValueAxis* AddAxis(Qt::Alignment alignment, const QString& title, bool roids);
    void ShowTitle();

    NumberLocale locale_;
    PlannerPlot plot_;
    QValueAxis* xAxis_ = nullptr;
    QValueAxis* valueAxis_ = nullptr;
    QValueAxis* roidAxis_ = nullptr;
    QScatterSeries* hoverMarks_[2] = {nullptr, nullptr};
    bool outOfDate_ = false;
};

}  // namespace kestrin
