// The planner's chart on its own: the range an axis shows.
#include <QCategoryAxis>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTest>

#include "ui/planner/planner_chart.h"
#include "ui_test_registry.h"

namespace kestrin {

class PlannerChartTest : public QObject {
    Q_OBJECT
private slots:
    // One spike (-175k at 30 pods) against -3,063..-3,100 elsewhere: the axis shows the range
    // that matters, not zero and not the spike, which sits on the edge with its own mark.
    void aSpikeDoesNotFlattenTheRestOfTheLine() {
        PlannerPlot plot;
        for (int value = 0; value <= 100; ++value) {
            SweepFigures f;
            f.results.TIR = 40;
            f.results.ALossPerRoid = value == 30 ? -175000 : -3063 - (value * 37) / 100;
            plot.values.push_back(value);
            plot.figures.push_back(f);
        }
        plot.shown = {kAttackerPerRoidFigure};
        PlannerChartView view{NumberLocale{}};
        view.Plot(plot);
        auto* axis = static_cast<QCategoryAxis*>(view.ValueAxes().front());
        QVERIFY2(axis->min() >= -3200 && axis->max() <= -3000, qPrintable(QString("%1..%2").arg(axis->min()).arg(axis->max())));
        QScatterSeries* clipped = view.ClippedMarks(kAttackerPerRoidFigure);
        QVERIFY(clipped != nullptr);
        QCOMPARE(clipped->count(), 1);
        QCOMPARE(clipped->at(0).x(), 30.0);
        QVERIFY(clipped->at(0).y() >= axis->min());
        QCOMPARE(view.FigureLine(kAttackerPerRoidFigure)->at(50).y(), -3081.0);
    }
};

KESTRIN_UI_TEST(PlannerChartTest);

}  // namespace kestrin

#include "planner_chart_test.moc"
