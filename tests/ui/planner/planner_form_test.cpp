// The battle planner window in the main window: a sweep runs off the window's thread and
// fills the chart, bad ranges cannot be started, the grid's changes mark the chart out of
// date, "Use this value" writes into the sheet, the exports write their files.
#include <QApplication>
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
#include <QTest>

#include "engine/temp_folder.h"
#include "sheet/battle_file.h"
#include "ui/main/main_window.h"
#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
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
        BattleSheet& sheet = window.Sheet();
        sheet.SetCell(kDefShips, 1, "3000");
        sheet.SetCell(kDefShips, 13, "800");
        sheet.SetCell(kAttShips, 12, "150");
        sheet.SetCell(kAttShips, 49, "900");
        for (int k = 0; k < 4; ++k) sheet.SetCell(kDefShips, kFirstRoidRow + k, std::to_string(100 + 50 * k));
        window.ReCalc();
        planner.ShowPlanner();
        exposed = QTest::qWaitForWindowExposed(&planner);
        planner.SideBox()->setCurrentIndex(0);  // Attacker
        planner.RowBox()->setCurrentIndex(planner.RowBox()->findData(49));
        planner.FromEdit()->setText("0");
        planner.ToEdit()->setText("2000");
        planner.PointsBox()->setValue(41);
        planner.TicksBox()->setValue(2);
    }

    bool RunToEnd() {
        planner.RunButton()->click();
        return QTest::qWaitFor([this] { return !planner.Running(); }, 20000);
    }
};

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
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running(); }, 20000));
        QCOMPARE(t.planner.Result().points.size(), std::size_t{41});
        QVERIFY(!t.planner.Result().partial);
        QLineSeries* perRoid = t.planner.Chart()->FigureLine(kAttackerPerRoidFigure);
        QVERIFY(perRoid != nullptr);
        QCOMPARE(perRoid->count(), 41);
        QCOMPARE(perRoid->at(40).x(), 2000.0);
        QVERIFY(t.planner.Chart()->Shown().highlights.mostRoids.has_value());
        QVERIFY(t.planner.Progress()->isHidden());
        // The mouse near x = 1010 reads the point of 1,000 AstroPods.
        PlannerChartView* view = t.planner.Chart();
        // Until the chart has laid out its new plot, the position maps to another value.
        const auto readsNear1010 = [&] {
            const QPointF near = view->chart()->mapToPosition(QPointF(1010, perRoid->at(20).y()), perRoid);
            const QPointF at = view->mapFromScene(view->chart()->mapToScene(near));
            QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(view->viewport(), &move);
            return t.planner.Readout()->text().startsWith("<b>Attacker AstroPod = 1,000</b>");
        };
        QVERIFY(QTest::qWaitFor(readsNear1010));
        // The whole battle sums the two ticks.
        t.planner.ModeBox()->setCurrentIndex(1);
        const SweepPoint& last = t.planner.Result().points.back();
        QCOMPARE(t.planner.Chart()->FigureLine(kInitRoidsFigure)->at(40).y(),
                 static_cast<double>(last.ticks[0].results.TIR + last.ticks[1].results.TIR));
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
        t.planner.ToEdit()->setText("3000");
        QVERIFY(t.planner.RunButton()->isEnabled());
        QVERIFY(t.planner.ProblemLabel()->isHidden());
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
        // The swept cell itself is no change of the battle the sweep ran on.
        QVERIFY(!t.planner.OutOfDate());
        t.window.Sheet().SetCell(kDefShips, 1, "10");
        t.window.ReCalc();
        QVERIFY(t.planner.OutOfDate());
        QVERIFY(t.planner.Chart()->chart()->title().contains("out of date"));
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

    void exportsWriteTheCsvAndTheChartImage() {
        PlannerUnderTest t;
        QVERIFY(t.RunToEnd());
        const std::filesystem::path csv = t.env.Path() / "sweep.csv";
        const std::filesystem::path png = t.env.Path() / "chart.png";
        QCOMPARE(t.planner.ExportCsv(csv), QString());
        QCOMPARE(t.planner.SaveChartPng(png), QString());
        const std::string text = testing::ReadBytes(csv);
        QCOMPARE(std::count(text.begin(), text.end(), '\n'), 1 + 41 * 2);
        QImage image(QString::fromStdString(png.string()));
        QVERIFY(!image.isNull());
        QVERIFY(image.width() > 400);
    }
};

KESTRIN_UI_TEST(PlannerFormTest);

}  // namespace kestrin

#include "planner_form_test.moc"
