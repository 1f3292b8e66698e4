// The battle planner window in the main window: a sweep runs off the window's thread and
// fills the chart, bad ranges cannot be started, the grid's changes mark the chart out of
// date, "Use this value" writes into the sheet, the exports write their files.
#include <QAction>
#include <QApplication>
#include <QCategoryAxis>
#include <QRegularExpression>
#include <QComboBox>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "sheet/document_test_seam.h"
#include "engine/temp_folder.h"
#include "sheet/battle_file.h"
#include "sheet/result_rows.h"
#include "ui/main/main_window.h"
#include "planner/sweep_findings.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
#include "planner/raid_on_grid.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

using namespace sheet;

// A main window with a raid on the grid and its planner shown, set to sweep the attacker's
// AstroPods (row 49) from 0 to 2000 in 41 points over 2 ticks.
struct PlannerUnderTest {
    testing::UiTestEnvironment env;
    testing::RecordingMessages messages;
    TForm1 window{{env.Path(), &messages}};
    TPlannerForm& planner = *window.PlannerForm();
    bool exposed = false;

    PlannerUnderTest() {
        testing::PutRaidOnGrid(window);
        planner.ShowPlanner();
        exposed = QTest::qWaitForWindowExposed(&planner);
        planner.SideBox()->setCurrentIndex(0);  // Attacker
        planner.RowBox()->setCurrentIndex(planner.RowBox()->findData(49));
        planner.FromEdit()->setText("0");
        planner.ToEdit()->setText("2000");
        planner.PointsBox()->setValue(41);
        planner.TicksBox()->setValue(2);
    }

    // Runs the sweep and, unless `findings` is false, waits for every value to be tried too:
    // the findings then replot the chart.
    bool RunToEnd(bool findings = true) {
        planner.RunButton()->click();
        return QTest::qWaitFor([&] { return !planner.Running() && !(findings && planner.FindingsRunning()); }, 60000);
    }
};

// Plots exactly `figures`.
void QFigureList(PlannerUnderTest& t, std::initializer_list<int> figures) {
    for (int i = 0; i < kSweepFigureCount; ++i)
        t.planner.FigureList()->item(i)->setCheckState(std::ranges::find(figures, i) != figures.end() ? Qt::Checked : Qt::Unchecked);
}

}  // namespace

class PlannerFormTest : public QObject {
    Q_OBJECT
private slots:
    void aSweepFillsTheChartWithItsPointsAndHighlights() {
        PlannerUnderTest t;
        QVERIFY(t.exposed);
        // The test screen has no room beside the main window: the planner overlaps it
        // instead of leaving the screen.
        QVERIFY(t.window.screen()->availableGeometry().contains(t.planner.frameGeometry()));
        QCOMPARE(t.planner.RowBox()->currentText(), QString("AstroPod"));
        QVERIFY(t.planner.RunButton()->isEnabled());
        t.planner.RunButton()->click();
        QVERIFY(t.planner.Running() || !t.planner.Result().points.empty());
        // The bar stays while every value is tried for the findings, which replot the chart.
        QVERIFY(QTest::qWaitFor([&] { return t.planner.Progress()->isHidden(); }, 60000));
        QCOMPARE(t.planner.Result().points.size(), std::size_t{41});
        QVERIFY(!t.planner.Result().partial);
        QLineSeries* roids = t.planner.Chart()->FigureLine(kInitRoidsFigure);
        QVERIFY(roids != nullptr);
        QCOMPARE(roids->count(), 41);
        QCOMPARE(roids->at(40).x(), 2000.0);
        QVERIFY(t.planner.Findings()[static_cast<int>(FindingKind::MostInitRoids)].has_value());
        // The mouse near x = 1010 reads the point of 1,000 AstroPods.
        PlannerChartView* view = t.planner.Chart();
        // Until the chart has laid out its new plot, the position maps to another value.
        const auto readsNear1010 = [&] {
            const QPointF near = view->chart()->mapToPosition(QPointF(1010, roids->at(20).y()), roids);
            const QPointF at = view->mapFromScene(view->chart()->mapToScene(near));
            QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &move);
            return t.planner.Readout()->text().startsWith("<b>Attacker AstroPod = 1,000</b>");
        };
        QVERIFY(QTest::qWaitFor(readsNear1010));
        // The whole battle, summing the two ticks, is the default; the last tick a choice.
        const SweepPoint& last = t.planner.Result().points.back();
        QVERIFY(t.planner.Chart()->chart()->title().endsWith("whole battle of 2 ticks"));
        QCOMPARE(t.planner.Chart()->FigureLine(kInitRoidsFigure)->at(40).y(),
                 static_cast<double>(last.ticks[0].results.TIR + last.ticks[1].results.TIR));
        t.planner.ModeBox()->setCurrentIndex(1);
        QCOMPARE(t.planner.Chart()->FigureLine(kInitRoidsFigure)->at(40).y(), static_cast<double>(last.ticks[1].results.TIR));
    }

    // At the default size on a 1280x900 screen the findings are whole, each a link that
    // chooses its point; the small per-asteroid figure has an axis of its own beside the fleet
    // changes, and every axis label has its thousands separators.
    void findingsAreWholeAndChooseTheirPoints() {
        PlannerUnderTest t;
        QFigureList(t, {kDefenderChangeFigure, kAttackerPerRoidFigure, kInitRoidsFigure});
        QVERIFY(t.RunToEnd());
        // The size it gets beside the main window on a 1280x900 screen.
        t.planner.resize(601, 640);
        QLabel* findings = t.planner.FindingsLabel();
        QVERIFY(findings->isVisible());
        // Once the layout has followed the size.
        QVERIFY(QTest::qWaitFor([&] { return findings->heightForWidth(findings->width()) <= findings->height(); }));
        QVERIFY(findings->text().contains("Most init. roids captured"));
        QVERIFY(t.planner.Chart()->FindingMarker(FindingKind::MostInitRoids) != nullptr);
        const auto most = t.planner.Findings()[static_cast<int>(FindingKind::MostInitRoids)];
        QVERIFY(most.has_value());
        QMetaObject::invokeMethod(findings, "linkActivated", Q_ARG(QString, "0"));
        QCOMPARE(t.planner.UseValueButton()->text(),
                 "Use this value (" + QString::fromStdString(FormatNumber(most->value, t.window.Sheet().Locale())) + ")");
        QCOMPARE(t.planner.Chart()->ValueAxes().size(), 3);
        for (QAbstractAxis* axis : t.planner.Chart()->ValueAxes())
            for (const QString& label : static_cast<QCategoryAxis*>(axis)->categoriesLabels())
                QVERIFY2(!QRegularExpression("[0-9]{4}").match(label).hasMatch(), qPrintable(label));
    }

    // After the chart's 41 points every value from 0 to 2,000 is tried: the findings are
    // those of every value's battle and say so; a finding's value, between the points or
    // not, is chosen by its link and used.
    void findingsAreTakenOverEveryValue() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        QVERIFY(t.planner.FindingsExact());
        QVERIFY(t.planner.FindingsLabel()->text().contains("every value from 0 to 2,000 tried"));
        QVERIFY(t.planner.Progress()->isHidden());
        SweepRequest every{SheetInputs(t.window.Sheet().Cells()), {Side::Attacker, 49}, {}, 2};
        for (std::int64_t value = 0; value <= 2000; ++value) every.values.push_back(value);
        const SweepResult brute = RunSweep(t.window.Rules(), every, {});
        for (int mode : {1, 0}) {
            t.planner.ModeBox()->setCurrentIndex(mode);
            QCOMPARE(t.planner.Findings(), FindSweepFindings(brute.points, static_cast<PlotMode>(mode)));
        }
        const auto most = t.planner.Findings()[static_cast<int>(FindingKind::MostInitRoids)];
        QVERIFY(most.has_value());
        QMetaObject::invokeMethod(t.planner.FindingsLabel(), "linkActivated", Q_ARG(QString, "0"));
        QVERIFY(t.planner.Readout()->text().startsWith(
            "<b>Attacker AstroPod = " + QString::fromStdString(FormatNumber(most->value, t.window.Sheet().Locale()))));
        t.planner.UseValueButton()->click();
        QCOMPARE(t.window.Sheet().Cells().Count(kAttShips, 49), most->value);
    }

    // Trying every value of a long range leaves the chart usable; Cancel stops it and the
    // findings say they are over the points; closing the window stops it too.
    void tryingEveryValueCanBeCancelledOrClosed() {
        PlannerUnderTest t;
        t.planner.ToEdit()->setText("99999");
        t.planner.PointsBox()->setValue(3);
        t.planner.TicksBox()->setValue(100);
        QVERIFY(t.RunToEnd(false));
        QVERIFY(t.planner.FindingsRunning());
        QVERIFY(t.planner.CancelButton()->isVisible());
        QVERIFY(t.planner.FindingsLabel()->text().contains("points so far: trying every value from 0 to 99,999"));
        t.planner.ChoosePoint(1);
        QVERIFY(t.planner.UseValueButton()->isEnabled());
        t.planner.CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.FindingsRunning(); }, 20000));
        QVERIFY(!t.planner.FindingsExact());
        QVERIFY(t.planner.FindingsLabel()->text().contains("over the 3 points only"));
        QVERIFY(t.planner.CancelButton()->isHidden());
        QVERIFY(t.RunToEnd(false));
        QVERIFY(t.planner.FindingsRunning());
        t.planner.close();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.FindingsRunning(); }, 20000));
        QVERIFY(t.planner.Chart()->Shown().values.empty());
    }

    // Where no asteroid is captured the change per asteroid has no point (the line breaks)
    // and the readout says so; the readout shows what the Plot choice plots.
    void lossPerRoidIsUndefinedWithoutAsteroidsAndTheReadoutFollowsThePlot() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        const std::vector<SweepPoint>& points = t.planner.Result().points;
        QCOMPARE(points.front().value, 0);
        std::vector<double> captured;
        for (const SweepPoint& p : points)
            if (WholeBattleFigures(p.ticks).results.TIR >= 1) captured.push_back(static_cast<double>(p.value));
        QVERIFY(captured.size() < points.size());
        std::vector<double> drawn;
        for (QLineSeries* piece : t.planner.Chart()->FigureLines(kAttackerPerRoidFigure))
            for (const QPointF& at : piece->points()) drawn.push_back(at.x());
        QCOMPARE(drawn, captured);
        const auto readout = [&] { return t.planner.Readout()->text(); };
        t.planner.ChoosePoint(0);
        QVERIFY(readout().contains("Attacker change per init. roid (no asteroid captured)"));
        t.planner.ChoosePoint(40);
        const auto roids = [&](const SweepFigures& f) {
            return "Init. roids captured " + QString::fromStdString(FormatNumber(f.results.TIR, t.window.Sheet().Locale()));
        };
        QVERIFY(readout().contains("(whole battle)"));
        QVERIFY(readout().contains(roids(WholeBattleFigures(points[40].ticks))));
        t.planner.ModeBox()->setCurrentIndex(1);
        QVERIFY(readout().contains("(at the last tick)"));
        QVERIFY(readout().contains(roids(points[40].ticks.back())));
        QVERIFY(points[40].ticks.back().results.TIR != WholeBattleFigures(points[40].ticks).results.TIR);
    }

    // Left, Right, Home and End choose a point; Enter uses it.
    void theKeyboardChoosesAndUsesAPoint() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        PlannerChartView* chart = t.planner.Chart();
        QCOMPARE(chart->focusPolicy(), Qt::StrongFocus);
        QTest::keyClick(chart, Qt::Key_Right);
        QTest::keyClick(chart, Qt::Key_Right);
        QVERIFY(t.planner.UseValueButton()->text().endsWith("(50)"));
        QTest::keyClick(chart, Qt::Key_End);
        QTest::keyClick(chart, Qt::Key_Left);
        QTest::keyClick(chart, Qt::Key_Return);
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 49), std::string("1950"));
        QTest::keyClick(chart, Qt::Key_Home);
        QVERIFY(t.planner.UseValueButton()->text().endsWith("(0)"));
    }

    // An all-zero sweep (no attacker) draws a sensible axis and makes Qt print no warning.
    void anAllZeroSweepHasASensibleAxis() {
        PlannerUnderTest t;
        DocumentTestSeam::Sheet(t.window.Document()).SetCell(kAttShips, 12, "");
        t.planner.RowBox()->setCurrentIndex(t.planner.RowBox()->findData(kScoreRow));
        t.planner.FromEdit()->setText("0");
        t.planner.ToEdit()->setText("10");
        t.planner.PointsBox()->setValue(11);
        DocumentTestSeam::Sheet(t.window.Document()).SetCell(kAttShips, 49, "");
        QTest::failOnWarning(QRegularExpression("range|nan"));
        QVERIFY(t.RunToEnd());
        for (QAbstractAxis* axis : t.planner.Chart()->ValueAxes()) {
            auto* category = static_cast<QCategoryAxis*>(axis);
            QCOMPARE(category->categoriesLabels(), QStringList({"0", "1"}));
            QVERIFY(category->min() < 0 && category->min() > -0.1 && category->max() > 1 && category->max() < 1.1);
        }
    }

    void closingThePlannerCancelsItsSweepAndLetsGoOfItsResults() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        t.planner.PointsBox()->setValue(2001);
        t.planner.TicksBox()->setValue(100);
        t.planner.RunButton()->click();
        QVERIFY(t.planner.Running());
        t.planner.close();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running() && !t.planner.FindingsRunning(); }, 20000));
        QVERIFY(t.planner.Result().points.empty());
        QVERIFY(t.planner.Chart()->Shown().values.empty());
    }

    void badRangesCannotBeStarted() {
        PlannerUnderTest t;
        t.planner.ToEdit()->setText("-5");
        QVERIFY(!t.planner.RunButton()->isEnabled());
        QVERIFY(!t.planner.ProblemLabel()->text().isEmpty());
        t.planner.ToEdit()->setText("3000000000");  // beyond a 32-bit count
        QVERIFY(!t.planner.RunButton()->isEnabled());
        t.planner.RunSweep();
        QVERIFY(!t.planner.Running());
        t.planner.ToEdit()->setText("1,5k");  // no count, as in the grid
        QVERIFY(!t.planner.RunButton()->isEnabled());
        t.planner.ToEdit()->setText("2.5k");  // read as the grid reads it
        QVERIFY(t.planner.RunButton()->isEnabled());
        QVERIFY(t.planner.ProblemLabel()->isHidden());
        QVERIFY(t.RunToEnd());
        QCOMPARE(t.planner.Result().points.back().value, 2500);
    }

    void changingTheBattleMarksTheChartOutOfDateAndUseThisValueWritesTheSheet() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        QVERIFY(!t.planner.OutOfDate());
        QVERIFY(!t.planner.UseValueButton()->isEnabled());
        t.planner.ChoosePoint(10);
        QVERIFY(t.planner.UseValueButton()->isEnabled());
        t.planner.UseValueButton()->click();
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 49), std::string("500"));
        // The recalculated panel shows the point's first tick.
        const ResultFigures& point = t.planner.Result().points[10].ticks[0].results;
        QCOMPARE(t.window.Sheet().Results().ALoss, FormatNumber(point.ALoss, t.window.Sheet().Locale()));
        QCOMPARE(t.window.Sheet().Results().TIR, FormatNumber(point.TIR, t.window.Sheet().Locale()));
        // The planner says so.
        QVERIFY(t.planner.TickNote()->text().startsWith("The main window shows tick 1 "));
        // The swept cell itself is no change of the battle the sweep ran on.
        QVERIFY(!t.planner.OutOfDate());
        t.window.Document().EndEdit(kDefShips, 1, "10");
        QVERIFY(t.planner.OutOfDate());
        QVERIFY(t.planner.Chart()->chart()->title().contains("out of date"));
        // It follows the main window's tick.
        for (QAction* action : t.window.findChildren<QAction*>())
            if (action->shortcut() == QKeySequence("Alt+Right")) action->trigger();
        QVERIFY(t.planner.TickNote()->text().startsWith("The main window shows tick 2 "));
    }

    // Tick steps are no change of the battle: the chart stays current and its findings
    // choose their points. A change marks it out of date, on a line of its own, and its
    // findings are then plain text that chooses nothing.
    void onlyAChangeOfTheBattleMarksTheChartOutOfDate() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        QVERIFY(t.planner.FindingsLabel()->text().contains("<a href"));
        t.window.Document().StepForward();
        t.window.Document().StepForward();
        t.window.Document().StepBack();
        QVERIFY(!t.planner.OutOfDate());
        QVERIFY(!t.planner.Chart()->chart()->title().contains("out of date"));
        QVERIFY(t.planner.FindingsLabel()->text().contains("<a href"));

        t.window.Document().EndEdit(kDefShips, 1, "10");
        QVERIFY(t.planner.OutOfDate());
        QVERIFY(t.planner.Chart()->chart()->title().endsWith("<br>(out of date: the battle has changed)"));
        QVERIFY(!t.planner.FindingsLabel()->text().contains("<a href"));
        emit t.planner.FindingsLabel()->linkActivated("0");
        QVERIFY(!t.planner.UseValueButton()->isEnabled());
        QCOMPARE(t.planner.Readout()->text(), QString(kReadoutHint));
        t.window.Document().Undo();
        QVERIFY(!t.planner.OutOfDate());
        QVERIFY(t.planner.FindingsLabel()->text().contains("<a href"));
    }

    void cancelStopsTheSweepWithTheFinishedPoints() {
        PlannerUnderTest t;
        t.planner.PointsBox()->setValue(2001);
        t.planner.TicksBox()->setValue(100);
        t.planner.RunButton()->click();
        QVERIFY(t.planner.CancelButton()->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return t.planner.Progress()->value() > 0; }, 20000));
        t.planner.CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running(); }, 20000));
        QVERIFY(t.planner.Result().partial);
        QVERIFY(t.planner.Result().points.size() < 2001);
        QVERIFY(t.planner.StatusLabel()->text().startsWith("Cancelled"));
    }

    // One piece of work at a time has the cores: each page is refused with a word while the
    // other's runs, and runs once it is done.
    void theSweepAndTheSearchTakeTurnsOnTheCores() {
        PlannerUnderTest t;
        BestFleetPage* page = t.planner.FleetPage();
        page->TickRows(true);
        t.planner.PointsBox()->setValue(2001);
        t.planner.TicksBox()->setValue(100);
        t.planner.RunButton()->click();
        QVERIFY(t.planner.Running());
        page->FindButton()->click();
        QVERIFY(!page->Running());
        QCOMPARE(page->Summary()->text(), QString("The sweep is running: wait for it or cancel it."));
        t.planner.CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running(); }, 20000));
        page->TicksBox()->setValue(100);
        page->EvaluationsBox()->setValue(1000000);
        page->FindButton()->click();
        QVERIFY(page->Running());
        t.planner.RunButton()->click();
        QVERIFY(!t.planner.Running());
        QCOMPARE(t.planner.StatusLabel()->text(), QString("The search is running: wait for it or cancel it."));
        page->CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 20000));
        t.planner.PointsBox()->setValue(41);
        t.planner.TicksBox()->setValue(2);
        QVERIFY(t.RunToEnd());
        QVERIFY(!t.planner.Result().partial);
    }

    // The advisor on its page: the pods up to 200 and row 12 up to 40, every fleet tried; the
    // fleet it finds goes into the grid as one step that Undo takes back.
    void useThisFleetChangesTheGridInOneUndoStep() {
        PlannerUnderTest t;
        BestFleetPage* page = t.planner.FleetPage();
        t.planner.Pages()->setCurrentWidget(page);
        QTableWidget* rows = page->RowTable();
        page->TickShipsButton()->click();
        for (int i = 0; i < rows->rowCount(); ++i) {
            const int row = rows->item(i, 0)->data(Qt::UserRole).toInt();
            if (row == 49) rows->item(i, 2)->setText("200");
            if (row == 12) rows->item(i, 2)->setText("40");
        }
        page->TicksBox()->setValue(2);
        QVERIFY(page->FindButton()->isEnabled());
        page->FindButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 60000));
        QVERIFY(page->Outcome().has_value());
        const FleetSearchResult& found = page->Outcome()->result;
        QVERIFY(found.exhaustive);
        QCOMPARE(found.evaluations, std::int64_t{41 * 201});
        QCOMPARE(page->FleetTable()->rowCount(), 2);
        QCOMPARE(page->FigureTable()->rowCount(), kSweepFigureCount);
        QCOMPARE(page->FigureTable()->item(kInitRoidsFigure, 0)->text().toStdString(),
                 FormatNumber(found.best.summed.results.TIR, t.window.Sheet().Locale()));
        // The ticks on demand: the grid's fleet in the second tick.
        page->PeriodBox()->setCurrentIndex(2);
        QCOMPARE(page->FigureTable()->item(kInitRoidsFigure, 1)->text().toStdString(),
                 FormatNumber(page->Outcome()->grid.ticks[1].results.TIR, t.window.Sheet().Locale()));
        page->UseFleetButton()->click();
        QCOMPARE(t.window.Sheet().Cells().Count(kAttShips, 12), found.best.counts[0]);
        QCOMPARE(t.window.Sheet().Cells().Count(kAttShips, 49), found.best.counts[1]);
        QVERIFY(found.best.counts[0] != 150 || found.best.counts[1] != 900);
        const auto onGrid = [&](int row) {
            for (int i = 0; i < rows->rowCount(); ++i)
                if (rows->item(i, 0)->data(Qt::UserRole).toInt() == row) return rows->item(i, 1)->text().toInt();
            return -1;
        };
        QCOMPARE(onGrid(49), found.best.counts[1]);
        QCOMPARE(t.window.UndoAction()->text().remove('&'), QString("Undo Use This Fleet"));
        const auto most = [&](int row) {
            for (int i = 0; i < rows->rowCount(); ++i)
                if (rows->item(i, 0)->data(Qt::UserRole).toInt() == row) return rows->item(i, 2)->text();
            return QString();
        };
        QCOMPARE(most(49), QString("200"));  // the bound typed survives the grid's new count
        // Ctrl+Z in the planner's window undoes the battle's step.
        QApplication::setActiveWindow(&t.planner);
        QVERIFY(QTest::qWaitForWindowActive(&t.planner));
        QTest::keyClick(page->FleetTable(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 12), std::string("150"));
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 49), std::string("900"));
        QCOMPARE(onGrid(49), 900);
        QVERIFY(page->UseFleetButton()->isEnabled());
        // A fleet found for another battle cannot be used until the search runs again.
        t.window.Document().EndEdit(kDefShips, 1, "10");
        QVERIFY(page->OutOfDate());
        QVERIFY(!page->UseFleetButton()->isEnabled());
        page->UseFleet();
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 49), std::string("900"));
        QVERIFY(page->Summary()->text().contains("Out of date"));
    }

    // Cancel stops a long search; the best fleet so far is kept and said to be so.
    void cancelKeepsTheBestFleetSoFar() {
        PlannerUnderTest t;
        BestFleetPage* page = t.planner.FleetPage();
        page->TickShipsButton()->click();
        page->TicksBox()->setValue(100);
        page->EvaluationsBox()->setValue(1000000);
        page->FindButton()->click();
        QVERIFY(page->Running());
        QVERIFY(QTest::qWaitFor([&] { return page->Progress()->value() > 0; }, 20000));
        page->CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 20000));
        QVERIFY(page->Outcome().has_value() && page->Outcome()->result.cancelled);
        QVERIFY(page->Summary()->text().startsWith("<b>Best fleet so far</b>"));
        QVERIFY(page->UseFleetButton()->isEnabled());
    }

    // No row starts ticked; one click ticks every row with ships, another none; the player's
    // ticks outlive a change of the grid.
    void bestFleetTicksOnlyWhatThePlayerChooses() {
        PlannerUnderTest t;
        BestFleetPage* page = t.planner.FleetPage();
        QTableWidget* rows = page->RowTable();
        const auto ticked = [&] {
            QList<int> checked;
            for (int i = 0; i < rows->rowCount(); ++i)
                if (rows->item(i, 0)->checkState() == Qt::Checked) checked << rows->item(i, 0)->data(Qt::UserRole).toInt();
            return checked;
        };
        QVERIFY(ticked().isEmpty());
        QVERIFY(!page->FindButton()->isEnabled());
        page->TickShipsButton()->click();
        QCOMPARE(ticked(), QList<int>({12, 49}));
        page->TickNoneButton()->click();
        QVERIFY(ticked().isEmpty());
        for (int i = 0; i < rows->rowCount(); ++i)
            if (rows->item(i, 0)->data(Qt::UserRole).toInt() == 49) rows->item(i, 0)->setCheckState(Qt::Checked);
        DocumentTestSeam::Sheet(t.window.Document()).SetCell(kAttShips, 49, "700");
        t.window.ReCalc();
        QCOMPARE(ticked(), QList<int>({49}));
        QVERIFY(page->FindButton()->isEnabled());
    }

    // Beyond 100,000 fleets the answer is said to be the best found, not proven; limits no
    // fleet keeps show no fleet to use, and say that every fleet was tried.
    void bestFleetSaysHowSureItIs() {
        PlannerUnderTest t;
        BestFleetPage* page = t.planner.FleetPage();
        page->TickShipsButton()->click();  // up to 150 and 900: 151 x 901 fleets
        page->TicksBox()->setValue(1);
        page->EvaluationsBox()->setValue(300);
        page->FindButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 60000));
        QVERIFY2(page->Summary()->text().contains("300 evaluations of 136,051 fleets: the best found, not proven the best"),
                 qPrintable(page->Summary()->text()));
        QVERIFY(page->UseFleetButton()->isEnabled());

        QTableWidget* rows = page->RowTable();
        for (int i = 0; i < rows->rowCount(); ++i)
            if (rows->item(i, 0)->checkState() == Qt::Checked) rows->item(i, 2)->setText("10");
        page->GoalBox()->setCurrentIndex(static_cast<int>(FleetGoal::LossPerRoid));
        page->MinRoidsBox()->setValue(1000000);
        page->FindButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 60000));
        QVERIFY2(page->Summary()->text().contains("No fleet keeps the limits</b></span>: all 121 fleets were tried"),
                 qPrintable(page->Summary()->text()));
        QCOMPARE(page->FleetTable()->rowCount(), 0);
        QCOMPARE(page->FigureTable()->rowCount(), 0);
        QVERIFY(!page->UseFleetButton()->isEnabled());
        page->UseFleet();
        QCOMPARE(t.window.Sheet().Cell(kAttShips, 49), std::string("900"));
    }

    void exportsWriteTheCsvAndTheChartImage() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        const std::filesystem::path csv = t.env.Path() / "sweep.csv";
        const std::filesystem::path png = t.env.Path() / "chart.png";
        QCOMPARE(t.planner.ExportCsv(csv), QString());
        QCOMPARE(t.planner.SaveChartPng(png), QString());
        const std::string text = testing::ReadBytes(csv);
        // The points' lines, then a blank line, a header and the findings found.
        const int findings = static_cast<int>(std::ranges::count_if(t.planner.Findings(), [](const auto& f) { return f.has_value(); }));
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 1 + 41 * 2 + 2 + findings);
        QVERIFY(text.find("\nmostInitRoids,") != std::string::npos);
        QImage image(QString::fromStdString(png.string()));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(1600, 1000));
    }
};

KESTRIN_UI_TEST(PlannerFormTest);

}  // namespace kestrin

#include "planner_form_test.moc"
