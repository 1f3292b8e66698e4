// Best Fleet's bounds and its "On grid" figures follow the battle, the page shown or not: a
// search after an edit made on the Sweep page runs on the grid's new counts and answers no worse
// than the grid's own fleet; "Use this fleet" leaves the bounds as they were and shows the
// fleet used as the grid's.
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "sheet/result_rows.h"
#include "ui/main/main_window.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_form.h"
#include "planner/raid_on_grid.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

using namespace sheet;

// The raid on the grid, its planner open on the Sweep page.
struct BestFleetUnderTest {
    testing::UiTestEnvironment env;
    testing::RecordingMessages messages;
    TForm1 window{{env.Path(), &messages}};
    TPlannerForm& planner = *window.PlannerForm();
    BestFleetPage& page = *planner.FleetPage();
    QTableWidget& rows = *page.RowTable();
    bool exposed = false;

    BestFleetUnderTest() {
        testing::PutRaidOnGrid(window);
        planner.ShowPlanner();
        exposed = QTest::qWaitForWindowExposed(&planner);
        planner.Pages()->setCurrentIndex(0);
    }

    // The row table's line of sheet row `row`.
    int Line(int row) const {
        for (int i = 0; i < rows.rowCount(); ++i)
            if (rows.item(i, 0)->data(Qt::UserRole).toInt() == row) return i;
        return -1;
    }
    QString OnGrid(int row) const { return rows.item(Line(row), 1)->text(); }
    QString Most(int row) const { return rows.item(Line(row), 2)->text(); }
    void Tick(int row) { rows.item(Line(row), 0)->setCheckState(Qt::Checked); }

    bool Find() {
        page.FindButton()->click();
        return QTest::qWaitFor([&] { return !page.Running(); }, 60000) && page.Outcome().has_value();
    }
};

}  // namespace

class BestFleetBoundsTest : public QObject {
    Q_OBJECT
private slots:
    // The grid's pods raised while the Sweep page is shown: Best Fleet, shown afterwards, bounds
    // the pods by the new count, and its answer is at least as good as the grid's fleet.
    void anEditMadeWhileThePageWasHiddenBoundsTheSearch() {
        BestFleetUnderTest t;
        QVERIFY(t.exposed);
        QVERIFY(!t.page.isVisible());
        t.window.Document().EndEdit(kAttShips, 49, "2000");
        t.planner.Pages()->setCurrentWidget(&t.page);
        QCOMPARE(t.OnGrid(49), QString("2000"));
        QCOMPARE(t.Most(49), QString("2000"));
        t.Tick(49);
        QVERIFY(t.Find());
        const FleetSearchOutcome& found = *t.page.Outcome();
        QVERIFY(found.result.exhaustive);
        QCOMPARE(found.result.space, std::int64_t{2001});
        QCOMPARE(found.grid.counts, std::vector<std::int32_t>{2000});
        QVERIFY(!BetterOutcome({}, found.grid.outcome, found.result.best.outcome));
    }

    // After "Use this fleet" each bound is what it was, the grid's column and the figures beside
    // the answer are the fleet used; a bound the player typed is kept through edits of the grid,
    // one not typed follows the grid again once the grid moves on, an emptied one at once.
    void useThisFleetKeepsTheBoundsAndShowsTheFleetUsedOnTheGrid() {
        BestFleetUnderTest t;
        t.window.Document().EndEdit(kAttShips, 12, "40");
        t.window.Document().EndEdit(kAttShips, 49, "200");
        t.planner.Pages()->setCurrentWidget(&t.page);
        t.page.TickShipsButton()->click();
        t.page.TicksBox()->setValue(2);
        QVERIFY(t.Find());
        const FleetSearchResult found = t.page.Outcome()->result;
        QVERIFY(found.exhaustive);
        QCOMPARE(found.evaluations, std::int64_t{41 * 201});
        QVERIFY(found.best.counts != (std::vector<std::int32_t>{40, 200}));
        t.page.UseFleetButton()->click();
        QCOMPARE(t.Most(12), QString("40"));
        QCOMPARE(t.Most(49), QString("200"));
        QCOMPARE(t.OnGrid(12), QString::number(found.best.counts[0]));
        QCOMPARE(t.OnGrid(49), QString::number(found.best.counts[1]));
        QCOMPARE(t.page.Outcome()->grid.counts, found.best.counts);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(t.page.FleetTable()->item(i, 2)->text(), t.page.FleetTable()->item(i, 1)->text());
        QCOMPARE(t.page.FigureTable()->item(kInitRoidsFigure, 1)->text(), t.page.FigureTable()->item(kInitRoidsFigure, 0)->text());
        // The same search again tries the same space.
        QVERIFY(t.Find());
        QCOMPARE(t.page.Outcome()->result.evaluations, std::int64_t{41 * 201});

        t.rows.item(t.Line(12), 2)->setText("30");
        t.window.Document().EndEdit(kAttShips, 12, "35");
        QCOMPARE(t.Most(12), QString("30"));
        QCOMPARE(t.Most(49), QString("200"));
        t.window.Document().EndEdit(kAttShips, 49, "500");
        QCOMPARE(t.Most(49), QString("500"));
        t.rows.item(t.Line(12), 2)->setText("");
        QCOMPARE(t.Most(12), QString("35"));
        t.window.Document().EndEdit(kAttShips, 12, "45");
        QCOMPARE(t.Most(12), QString("45"));
    }
};

KESTRIN_UI_TEST(BestFleetBoundsTest);

}  // namespace kestrin

#include "best_fleet_bounds_test.moc"
