#pragma once

#include <QChartView>

#include <cstdint>
#include <vector>

#include "planner/sweep_figures.h"
#include "planner/sweep_findings.h"
#include "sheet/number_format.h"
#include "planner/axis_scale.h"
#include "planner/sweep_axes.h"

class QAbstractAxis;
class QLineSeries;
class QScatterSeries;

namespace kestrin {

/// What the planner's chart shows: one line per chosen figure over the swept values.
struct PlannerPlot {
    QString title;                       ///< the chart's title
    QString xTitle;                      ///< the varied input, e.g. "Attacker Harpy"
    std::vector<std::int64_t> values;    ///< ascending
    std::vector<SweepFigures> figures;   ///< one per value, as plotted (a tick or the battle)
    std::vector<int> shown;              ///< indexes into kSweepFigures
    SweepFindings findings;              ///< their values may lie between the points
};

/// The colour of figure `figure`'s line: fixed, whatever else is plotted.
QColor FigureColour(int figure);
/// The colour of a finding's marker and its symbol in the text ("★", "▲", "◆").
QColor FindingColour(FindingKind kind);
QString FindingSymbol(FindingKind kind);

/// The planner's line chart. Resource figures share the left axis unless one is twenty times
/// smaller than the largest (then those have a second axis); asteroid counts are on the
/// right. Each axis shows the range that matters (ShownRange): a figure beyond it is drawn at
/// its edge with a hollow square. A figure without a value (the change per asteroid where
/// none is captured) has no point: its line breaks there. The findings are markers at their
/// values and figures. The legend is the window's, beside
/// the chart, so that no name is ever cut. Moving the mouse reports the nearest point,
/// pressing chooses it; with the focus, Left, Right, Home and End choose a point and Enter
/// asks to use it.
class PlannerChartView : public QChartView {
    Q_OBJECT

public:
    explicit PlannerChartView(NumberLocale locale, QWidget* parent = nullptr);

    /// Replaces the chart by `plot`.
    void Plot(PlannerPlot plot);
    /// The plot shown.
    const PlannerPlot& Shown() const { return plot_; }
    /// The first piece of figure `figure`'s line, or null when it is not plotted.
    QLineSeries* FigureLine(int figure) const;
    /// Every piece of figure `figure`'s line, left to right: it breaks where the figure has no
    /// value.
    QList<QLineSeries*> FigureLines(int figure) const;
    /// The marks of figure `figure`'s points that lie beyond its axis, or null when none does.
    QScatterSeries* ClippedMarks(int figure) const;
    /// The marker of a finding, or null when it is not shown.
    QScatterSeries* FindingMarker(FindingKind kind) const;
    /// The value axes, left to right (the resource axes, then the asteroid axis).
    QList<QAbstractAxis*> ValueAxes() const;
    /// Marks the chart as out of date (its title says so) or current.
    void SetOutOfDate(bool outOfDate);
    /// The index of the point nearest to the widget position `pos`, or -1 when there is none.
    int NearestPoint(QPointF pos) const;
    /// Marks point `index` as the hovered one (-1: none).
    void MarkHovered(int index);
    /// Point `index` is the chosen one: the keys move from it.
    void SetChosen(int index) { chosen_ = index; }

signals:
    /// The mouse is over the chart, nearest to point `index`.
    void PointHovered(int index);
    /// The user pressed the chart nearest to point `index`, or moved to it with a key.
    void PointChosen(int index);
    /// Enter on the chart: use the chosen point.
    void UseRequested();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void AddFigureLines();
    void AddFindingMarkers();
    void AddFigureLine(int figure);
    // A value axis: its figures and the scale it shows.
    struct ValueAxis {
        std::vector<int> figures;
        QAbstractAxis* axis = nullptr;
        AxisScale scale;
    };
    void AddAxis(Qt::Alignment alignment, const QString& title, const std::vector<int>& figures);
    const ValueAxis* AxisOf(int figure) const;
    void ShowTitle();

    NumberLocale locale_;
    PlannerPlot plot_;
    QAbstractAxis* xAxis_ = nullptr;
    std::vector<ValueAxis> valueAxes_;
    std::vector<QScatterSeries*> hoverMarks_;  ///< one per value axis
    int chosen_ = -1;
    bool outOfDate_ = false;
};

}  // namespace kestrin
