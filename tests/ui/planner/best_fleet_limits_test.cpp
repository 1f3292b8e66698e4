// Best Fleet with bounds at the largest count a cell holds: Cancel stops the search, and
// closing the main window (File > Exit) ends it, so that the program can end.
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "planner/raid_on_grid.h"
#include "ui/main/main_window.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_form.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

// A main window with a raid on the grid and a search started over its two attacker rows, row 12
// from 0 to 2,147,483,647 and the AstroPods to the 900 on the grid, with the most evaluations a
// search takes.
struct SearchAtTheLimits {
    testing::UiTestEnvironment env;
    testing::RecordingMessages messages;
    TForm1 window{{env.Path(), &messages}};
    BestFleetPage* page = nullptr;

    SearchAtTheLimits() {
        testing::PutRaidOnGrid(window);
        window.PlannerForm()->ShowPlanner();
        page = window.PlannerForm()->FleetPage();
        page->TickShipsButton()->click();
        QTableWidget* rows = page->RowTable();
        for (int i = 0; i < rows->rowCount(); ++i)
            if (rows->item(i, 0)->data(Qt::UserRole).toInt() == 12) rows->item(i, 2)->setText("2147483647");
        page->TicksBox()->setValue(100);
        page->EvaluationsBox()->setValue(1000000);
        page->FindButton()->click();
    }
};

}  // namespace

class BestFleetLimitsTest : public QObject {
    Q_OBJECT
private slots:
    void cancelStopsASearchAtTheLargestBounds() {
        SearchAtTheLimits t;
        QVERIFY(t.page->Running());
        t.page->CancelButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.page->Running(); }, 60000));
        QVERIFY(t.page->Outcome().has_value() && t.page->Outcome()->result.cancelled);
    }

    // Exit closes the main window: the search is cancelled at once, and ends.
    void closingTheMainWindowEndsTheSearch() {
        SearchAtTheLimits t;
        QVERIFY(t.page->Running());
        QVERIFY(t.window.close());
        QVERIFY(QTest::qWaitFor([&] { return !t.page->Running(); }, 60000));
    }
};

KESTRIN_UI_TEST(BestFleetLimitsTest);

}  // namespace kestrin

#include "best_fleet_limits_test.moc"
