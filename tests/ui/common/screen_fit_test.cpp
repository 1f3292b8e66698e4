// Every window fits small and scaled screens: each lies whole on the screen at no less than
// its layout's minimum, the planner leaves the grid's attacker columns in view and never grows
// when a point is chosen, the rows it changes scroll into view, Best Fleet's figures show
// whole, and the exported chart keeps its pixel size. The offscreen platform takes its screen
// when the program starts, so each screen is a run of this program of its own.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ui/debug/debug_form.h"
#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/main/main_window.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_chart.h"
#include "ui/planner/planner_form.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/ship_info/ship_details_form.h"
#include "planner/raid_on_grid.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

using namespace sheet;

constexpr const char* kChildRun = "KESTRIN_SCREEN_CHECKS";

// The frame of `window` lies on its screen, at no less than what its layout needs.
bool Fits(const QWidget* window) {
    const QSize smallest = window->minimumSizeHint().expandedTo(window->minimumSize());
    const bool whole = window->screen()->availableGeometry().contains(window->frameGeometry());
    const bool uncut = window->width() >= smallest.width() && window->height() >= smallest.height();
    if (!whole || !uncut)
        qWarning() << window->windowTitle() << window->frameGeometry() << "needs" << smallest << "on"
                   << window->screen()->availableGeometry();
    return whole && uncut;
}

QAction* Command(TForm1& window, const QString& text) {
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text || action->objectName() == text) return action;
    return nullptr;
}

// The grid's attacker columns (the captions onward), in screen coordinates.
QRect AttackerColumns(TForm1& window) {
    BattleGrid* grid = window.Grid();
    const QRect caption = grid->CellRect(kAttCaption, kHeadingRow);
    const QPoint topLeft = grid->viewport()->mapToGlobal(caption.topLeft());
    return {topLeft, grid->viewport()->mapToGlobal(QPoint(grid->viewport()->width() - 1, grid->viewport()->height() - 1))};
}

// A raid on the grid, as the program lays it out.
struct RaidOnScreen {
    testing::UiTestEnvironment env;
    testing::RecordingMessages messages;
    TForm1 window{{env.Path(), &messages}};
    TPlannerForm& planner = *window.PlannerForm();

    RaidOnScreen() {
        testing::PutRaidOnGrid(window);
        window.show();
    }
};

}  // namespace

// Runs ScreenFitChecks on each screen that must be served.
class ScreenFitTest : public QObject {
    Q_OBJECT
private slots:
    void everyWindowFitsTheScreen_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QByteArray>("scale");
        QTest::newRow("1024x768") << 1024 << 768 << QByteArray("1");
        QTest::newRow("1280x800") << 1280 << 800 << QByteArray("1");
        QTest::newRow("1920x1080 at scale 2") << 1920 << 1080 << QByteArray("2");
    }

    void everyWindowFitsTheScreen() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QByteArray, scale);
        QTemporaryDir folder;
        const QString config = folder.filePath("screen.json");
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QJsonObject screen{{"name", "screen"}, {"x", 0}, {"y", 0}, {"width", width}, {"height", height}};
        file.write(QJsonDocument(QJsonObject{{"screens", QJsonArray{screen}}}).toJson());
        file.close();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
        environment.insert("QT_SCALE_FACTOR", scale);
        environment.insert(kChildRun, "1");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"ScreenFitChecks"});
        QVERIFY(child.waitForFinished(240000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
        QVERIFY2(output.contains(", 0 failed, 0 skipped"), output.constData());
    }
};

// The checks themselves, on whatever screen the program was started with; only in a run of
// ScreenFitTest's.
class ScreenFitChecks : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (qEnvironmentVariableIsEmpty(kChildRun)) QSKIP("run by ScreenFitTest on the screens it sets");
        // As the program lays out every window.
        QApplication::setFont(QFont("Arial", 8));
    }

    void everyWindowLiesWholeOnTheScreen() {
        RaidOnScreen t;
        QVERIFY(QTest::qWaitForWindowExposed(&t.window));
        QVERIFY(Fits(&t.window));
        for (const char* command : {"Show &Calculation Log", "ShowParser", "Unit &Tables", "Setup", "ShowPlanner"}) {
            QAction* action = Command(t.window, command);
            QVERIFY2(action != nullptr, command);
            action->trigger();
        }
        t.window.ShipDetails()->ShowFor(53, Side::Defender);
        t.window.ShowDebug();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible() || window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip) continue;
            QVERIFY(QTest::qWaitForWindowExposed(window));
            QVERIFY2(Fits(window), qPrintable(window->windowTitle()));
        }
    }

    // The planner leaves the rows it varies in view, and choosing a point (the longest value
    // there is) never resizes it; "Use this value" scrolls the row into view.
    void thePlannerLeavesTheAttackerInViewAndNeverGrows() {
        RaidOnScreen t;
        Command(t.window, "ShowPlanner")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&t.planner));
        const QRect attacker = AttackerColumns(t.window);
        QVERIFY2(!t.planner.frameGeometry().intersects(attacker),
                 qPrintable(QString("planner %1,%2 %3x%4 over the attacker's columns from x %5")
                                .arg(t.planner.frameGeometry().x()).arg(t.planner.frameGeometry().y())
                                .arg(t.planner.frameGeometry().width()).arg(t.planner.frameGeometry().height())
                                .arg(attacker.x())));
        QVERIFY(Fits(&t.planner));
        constexpr int kPodRow = 49;  // below the grid's first screenful
        t.planner.RowBox()->setCurrentIndex(t.planner.RowBox()->findData(kPodRow));
        t.planner.FromEdit()->setText("2147483547");
        t.planner.ToEdit()->setText("2147483647");
        t.planner.PointsBox()->setValue(3);
        t.planner.TicksBox()->setValue(1);
        t.planner.RunButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running(); }, 60000));
        QVERIFY(!t.planner.Result().points.empty());
        // Even at its narrowest.
        t.planner.resize(t.planner.minimumSizeHint());
        QVERIFY(QTest::qWaitFor([&] { return t.planner.width() == t.planner.minimumSizeHint().width(); }));
        const QSize before = t.planner.size();
        t.planner.ChoosePoint(2);
        QVERIFY(t.planner.UseValueButton()->text().endsWith("(2,147,483,647)"));
        QApplication::processEvents();  // a window that grows does so once its layout is activated
        QCOMPARE(t.planner.size(), before);
        QVERIFY(Fits(&t.planner));
        QVERIFY(!t.window.Grid()->viewport()->rect().contains(t.window.Grid()->CellRect(kAttShips, kPodRow)));
        t.planner.UseValueButton()->click();
        QVERIFY(t.window.Grid()->viewport()->rect().contains(t.window.Grid()->CellRect(kAttShips, kPodRow)));
        QVERIFY(t.planner.TickNote()->text().contains("tick 1 "));
    }

    // The figures of the best fleet and the grid's, side by side, need no scrolling sideways.
    void bestFleetFiguresShowWhole() {
        RaidOnScreen t;
        Command(t.window, "ShowPlanner")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(&t.planner));
        BestFleetPage* page = t.planner.FleetPage();
        t.planner.Pages()->setCurrentWidget(page);
        page->TickRows(true);
        page->EvaluationsBox()->setValue(200);
        page->FindButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !page->Running(); }, 60000));
        QTableWidget* figures = page->FigureTable();
        QCOMPARE(figures->columnCount(), 2);
        QVERIFY(QTest::qWaitFor([&] { return figures->horizontalHeader()->length() > 0; }));
        QCOMPARE(figures->horizontalScrollBar()->maximum(), 0);
        QVERIFY(Fits(&t.planner));
    }

    void theExportedChartKeepsItsPixelSize() {
        RaidOnScreen t;
        t.planner.ShowPlanner();
        t.planner.RunButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !t.planner.Running(); }, 60000));
        const std::filesystem::path png = t.env.Path() / "chart.png";
        QCOMPARE(t.planner.SaveChartPng(png), QString());
        QCOMPARE(QImage(QString::fromStdString(png.string())).size(), QSize(1600, 1000));
    }
};

KESTRIN_UI_TEST(ScreenFitTest);
KESTRIN_UI_TEST(ScreenFitChecks);

}  // namespace kestrin

#include "screen_fit_test.moc"
