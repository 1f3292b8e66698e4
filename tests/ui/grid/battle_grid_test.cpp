// The battle grid driven for real on the offscreen platform: typing and spinning counts,
// the colours it paints, k/m shortening, the popup's "Ship Stats" item and the race lines.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <memory>

#include "sheet/document_test_seam.h"
#include "engine/battle_rules.h"
#include "engine/number_text.h"
#include "sheet/battle_document.h"
#include "ui/grid/battle_grid.h"
#include "ui/grid/spin_schedule.h"
#include "ui_test_registry.h"

namespace kestrin {
namespace {

const BattleRules& DefaultRules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

/// Colours far apart from each other, so that a pixel tells which one was painted.
Appearance DistinctAppearance() {
    Appearance a = DefaultAppearance();
    using C = AppearanceColour;
    a[C::ShipBgd] = {0, 0, 96};
    a[C::DefBgd] = {0, 96, 0};
    a[C::AttBgd] = {96, 0, 0};
    a[C::Gridlines] = {0, 0, 0};
    a[C::Racelines] = {200, 200, 200};
    a[C::DefShipsFont] = {255, 255, 255};
    a[C::DefHeldFont] = {255, 255, 0};
    a[C::DefStealFont] = {0, 255, 255};
    a[C::AttShipsFont] = {255, 128, 0};
    return a;
}

QColor Colour(const Appearance& a, AppearanceColour c) {
    const Rgb rgb = a[c];
    return {rgb.r, rgb.g, rgb.b};
}

bool Near(QColor a, QColor b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

/// Whether any pixel inside `rect` (less its grid lines) is close to `colour`: antialiased
/// text keeps full colour in the middle of its strokes.
bool PaintedIn(const QImage& image, const QRect& rect, QColor colour) {
    for (int y = rect.top(); y < rect.bottom(); ++y) {
        for (int x = rect.left(); x < rect.right(); ++x) {
            if (Near(image.pixelColor(x, y), colour, 24)) return true;
        }
    }
    return false;
}

/// A sheet, its colours and a grid over them, shown at the main window's size.
struct GridUnderTest {
    SimulationContext context;
    BattleDocument document{DefaultRules(), context};
    BattleSheet& sheet = DocumentTestSeam::Sheet(document);
    Appearance appearance = DistinctAppearance();
    BattleGrid grid{document, appearance};

    /// The main window's grid area by default; tall enough for every row when asked.
    explicit GridUnderTest(int height = 389) {
        grid.resize(671, height);
        grid.show();
    }
    QImage Render() { return grid.viewport()->grab().toImage(); }
    QPoint Centre(int col, int row) const { return grid.CellRect(col, row).center(); }
    void Click(int col, int row, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(grid.viewport(), button, {}, Centre(col, row));
    }
    /// A right press as the platform delivers it: the press, then the context menu event.
    void RightPress(int col, int row) {
        QTest::mousePress(grid.viewport(), Qt::RightButton, {}, Centre(col, row));
        QContextMenuEvent menu(QContextMenuEvent::Mouse, Centre(col, row), grid.viewport()->mapToGlobal(Centre(col, row)));
        QApplication::sendEvent(grid.viewport(), &menu);
    }
    /// Two quick left clicks as the platform delivers them: the second press comes as a
    /// double-click event.
    void DoubleClick(QPoint at) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                        QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            const bool down = type != QEvent::MouseButtonRelease;
            QMouseEvent event(type, QPointF(at), grid.viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                              down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(grid.viewport(), &event);
        }
    }
    /// A left-button drag as the platform delivers it: press, one move, release.
    void Drag(QPoint from, QPoint to) {
        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), grid.viewport()->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &move);
        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, to);
    }
    void Recalculate() {
        sheet.Recalculate();
        grid.SheetChanged();
    }
    int TextWidth(const QString& text) const { return QFontMetrics(grid.font()).horizontalAdvance(text); }
};

}  // namespace

class BattleGridTest : public QObject {
    Q_OBJECT

private slots:
    void typedCountGoesInOnceWhenTheEditEndsAndEnterRecalculates() {
        GridUnderTest t;
        QSignalSpy recalculated(&t.grid, &BattleGrid::Recalculated);
        t.Click(1, 1);
        QTest::keyClicks(&t.grid, "25");
        // The editor holds the text; the cell changes when the edit ends.
        QCOMPARE(t.grid.EditorText(), QString("25"));
        QCOMPARE(t.sheet.Cell(1, 1), std::string());
        const qsizetype before = recalculated.count();
        QTest::keyClick(&t.grid, Qt::Key_Return);
        QCOMPARE(t.sheet.Cell(5, 1), std::string("25"));
        QCOMPARE(recalculated.count(), before + 1);

        // Selecting another cell ends the edit.
        t.Click(1, 2);
        QTest::keyClicks(&t.grid, "7");
        t.Click(1, 3);
        QCOMPARE(t.sheet.Cell(5, 2), std::string("7"));

        // Escape drops the text.
        t.Click(1, 1);
        QTest::keyClicks(&t.grid, "999");
        QTest::keyClick(&t.grid, Qt::Key_Escape);
        QCOMPARE(t.sheet.Cell(1, 1), std::string("25"));

        // Each typed count was one step to undo, its recalculation included.
        t.sheet.Undo();
        QCOMPARE(t.sheet.Cell(1, 2), std::string());
        QCOMPARE(t.sheet.Cell(5, 2), std::string());
        QCOMPARE(t.sheet.Cell(5, 1), std::string("25"));
    }

    void movementKeysEndTheEditEvenWhereTheCellCannotMove() {
        GridUnderTest t(1400);  // every row in view
        t.Click(1, 1);
        QTest::keyClicks(&t.grid, "50");
        QTest::keyClick(&t.grid, Qt::Key_Up);  // the first row: nowhere to go
        QCOMPARE(t.grid.CurrentRow(), 1);
        QCOMPARE(t.sheet.Cell(5, 1), std::string("50"));

        t.sheet.SetCell(1, 60, "100");
        t.Recalculate();
        t.sheet.CompressGrid();  // the uninitiated asteroids are the last row shown
        t.grid.SheetChanged();
        t.Click(1, 60);
        QTest::keyClicks(&t.grid, "200");
        QTest::keyClick(&t.grid, Qt::Key_Down);
        QCOMPARE(t.grid.CurrentRow(), 60);
        QCOMPARE(t.sheet.Cell(5, 60), std::string("200"));

        t.Click(7, 1);
        QTest::keyClicks(&t.grid, "4");
        QTest::keyClick(&t.grid, Qt::Key_Tab);
        QCOMPARE(t.sheet.Cell(7, 55), std::string("4"));  // "Total Units": calculated
    }

    void textThatIsNoCountIsToldBesideTheCellAndTheCountStays() {
        GridUnderTest t;
        const std::pair<const char*, const char*> accepted[] = {
            {"1.5m", "1500000"}, {"2.5k", "2500"}, {"1 000", "1000"}, {"+5", "5"}};
        for (const auto& [typed, left] : accepted) {
            t.Click(1, 1);
            QTest::keyClicks(&t.grid, typed);
            QTest::keyClick(&t.grid, Qt::Key_Return);
            QCOMPARE(t.sheet.Cell(5, 1), std::string(left));
            QVERIFY2(!t.grid.Notice()->isVisible(), typed);
        }
        t.Click(1, 1);
        QTest::keyClicks(&t.grid, "1,5m");
        QTest::keyClick(&t.grid, Qt::Key_Return);
        QCOMPARE(t.sheet.Cell(1, 1), std::string("5"));  // the count stays
        QVERIFY(t.grid.Notice()->isVisible());
        QCOMPARE(t.grid.Notice()->text(), QString("'1,5m' is not a count: the cell keeps 5"));
        const QPoint cellRight = t.grid.viewport()->mapToGlobal(t.grid.CellRect(1, 1).topRight());
        QVERIFY(t.grid.Notice()->geometry().left() >= cellRight.x());  // beside the cell

        t.Click(1, 2);
        QTest::keyClicks(&t.grid, "3000000000");
        QTest::keyClick(&t.grid, Qt::Key_Return);
        QVERIFY(t.grid.Notice()->text().contains("(-2,147,483,648 to 2,147,483,647)"));
    }

    void deleteEmptiesEveryInputCellOfTheRangeAsOneStep() {
        GridUnderTest t(1400);
        for (int row = 1; row <= 3; ++row) {
            t.sheet.SetCell(1, row, "5");
            t.sheet.SetCell(7, row, "6");
        }
        t.Recalculate();
        t.grid.SelectRange(0, 1, 7, 2);
        QTest::keyClick(&t.grid, Qt::Key_Delete);
        for (const int col : {1, 7}) {
            QCOMPARE(t.sheet.Cell(col, 1), std::string());
            QCOMPARE(t.sheet.Cell(col, 2), std::string());
            QCOMPARE(t.sheet.Cell(col, 3), std::string(col == 1 ? "5" : "6"));  // outside the range
        }
        QCOMPARE(t.sheet.Cell(0, 1), std::string("Harpy"));
        t.sheet.Undo();
        QCOMPARE(t.sheet.Cell(1, 1), std::string("5"));
        QCOMPARE(t.sheet.Cell(7, 2), std::string("6"));
    }

    // Ctrl+V with several lines in an open editor fills rows as a paste into the cell does,
    // in place of what was typed; one line goes into the editor as text.
    void aPasteOfSeveralLinesIntoAnOpenEditorFillsRows() {
        GridUnderTest t;
        t.Click(1, 1);
        QTest::keyClicks(&t.grid, "12");
        QVERIFY(t.grid.Editing());
        QGuiApplication::clipboard()->setText("1,500\n9000\n");
        QTest::keyClick(t.grid.viewport()->findChild<QLineEdit*>(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(!t.grid.Editing());
        QCOMPARE(t.sheet.Cell(1, 1), std::string("1500"));
        QCOMPARE(t.sheet.Cell(1, 2), std::string("9000"));
        QCOMPARE(QString::fromUtf8(t.document.UndoName()), QString("Paste"));

        t.Click(1, 3);
        QTest::keyClicks(&t.grid, "1");
        QGuiApplication::clipboard()->setText("25");
        QTest::keyClick(t.grid.viewport()->findChild<QLineEdit*>(), Qt::Key_V, Qt::ControlModifier);
        QVERIFY(t.grid.Editing());
        QCOMPARE(t.grid.EditorText(), QString("125"));
    }

    void aPasteThatWouldDropAValueGoesNowhereAndSaysWhy() {
        GridUnderTest t;
        t.Click(1, 1);
        t.grid.PasteText("5\n1,5m");
        QCOMPARE(t.sheet.Cell(1, 1), std::string());
        QCOMPARE(t.grid.Notice()->text(), QString("Nothing was pasted: '1,5m' is not a count"));
        t.Click(3, 1);
        t.grid.PasteText("5");
        QVERIFY(t.grid.Notice()->text().contains("Ships column"));
        QVERIFY(!t.sheet.CanUndo());
    }

    void editingOnlyInTheShipsColumnsOfEditMode() {
        GridUnderTest t;
        QCOMPARE(t.grid.Mode(), BattleGrid::InputMode::Edit);
        QCOMPARE(t.grid.viewport()->cursor().shape(), Qt::IBeamCursor);
        t.Click(2, 1);
        QTest::keyClicks(&t.grid, "5");
        QCOMPARE(t.sheet.Cell(2, 1), std::string());

        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        QCOMPARE(t.grid.viewport()->cursor().shape(), Qt::ArrowCursor);
        QTest::keyClick(&t.grid, Qt::Key_Left);
        QCOMPARE(t.grid.CurrentColumn(), 1);
        QTest::keyClicks(&t.grid, "5");
        QCOMPARE(t.sheet.Cell(1, 1), std::string());
    }

    void selectionInReportViewKeepsTheReport() {
        GridUnderTest t;
        CombatReport report;
        report.DefenderHeld[0] = 12;  // column 4, row 1
        t.sheet.ShowCombatReport(report);
        QSignalSpy recalculated(&t.grid, &BattleGrid::Recalculated);
        t.Click(1, 2);
        QTest::keyClick(&t.grid, Qt::Key_Down);
        QCOMPARE(recalculated.count(), 0);
        QVERIFY(t.sheet.ReportView());
        QCOMPARE(t.sheet.Cell(4, 1), std::string("12"));
    }

    void spinStepSchedule_data() {
        QTest::addColumn<int>("tick");
        QTest::addColumn<int>("step");
        const int table[][2] = {{1, 0},   {6, 0},    {7, 1},     {20, 1},    {21, 3},    {40, 3},
                                {41, 10}, {60, 10},  {61, 30},   {80, 30},   {81, 100},  {100, 100},
                                {101, 500}, {120, 500}, {121, 1000}, {1000000, 1000}};
        for (const auto& row : table) QTest::addRow("tick %d", row[0]) << row[0] << row[1];
    }
    void spinStepSchedule() {
        QFETCH(int, tick);
        QFETCH(int, step);
        QCOMPARE(SpinStepForTick(tick), step);
    }

    void holdingAnEmptyCellCountsUpWithTheSchedule() {
        GridUnderTest t;
        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        QSignalSpy released(&t.grid, &BattleGrid::MouseReleased);
        const QRect cell = t.grid.CellRect(1, 1);
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), cell.top() + 2));
        QCOMPARE(t.sheet.Cell(1, 1), std::string("1"));
        QCOMPARE(t.sheet.Cell(5, 1), std::string("1"));
        QVERIFY(t.grid.GridTimer()->isActive());
        QCOMPARE(t.grid.GridTimer()->interval(), 20);
        for (int tick = 1; tick <= 6; ++tick) t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(1, 1), std::string("1"));
        for (int tick = 7; tick <= 20; ++tick) t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(1, 1), std::string("15"));
        t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(1, 1), std::string("18"));
        QCOMPARE(t.sheet.Cell(5, 1), std::string("18"));
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, cell.center());
        QVERIFY(!t.grid.GridTimer()->isActive());
        QCOMPARE(released.count(), 1);

        // A new press starts the hold delay again and counts down on the lower half.
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), cell.bottom()));
        QCOMPARE(t.sheet.Cell(1, 1), std::string("17"));
        for (int tick = 1; tick <= 7; ++tick) t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(1, 1), std::string("16"));
        // The popup menu takes the mouse, and the release with it: the spin ends there.
        t.RightPress(0, 1);
        QVERIFY(!t.grid.GridTimer()->isActive());
    }

    void holdingTheLowerHalfOfAnEmptyCellKeepsItEmpty() {
        GridUnderTest t;
        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        const QRect cell = t.grid.CellRect(7, 2);
        // Two pixels above the middle already count as the lower half.
        const int lower = (cell.top() + cell.top() + cell.height() - 4) / 2 + 1;
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), lower));
        QCOMPARE(t.sheet.Cell(7, 2), std::string());
        for (int tick = 1; tick <= 40; ++tick) t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(7, 2), std::string());
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, cell.center());

        // The same press one pixel higher counts up.
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), lower - 1));
        QCOMPARE(t.sheet.Cell(7, 2), std::string("1"));
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, cell.center());
    }

    void spinningStopsAtTheTopOfTheCellsRange() {
        GridUnderTest t(1300);
        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        t.sheet.SetCell(1, 60, "2147483000");
        t.sheet.SetCell(7, 65, "5000000000");
        const QRect roids = t.grid.CellRect(1, 60);
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(roids.center().x(), roids.top() + 1));
        for (int tick = 1; tick <= 130; ++tick) t.grid.GridTimerTimer();
        QCOMPARE(t.sheet.Cell(1, 60), std::string("2147483647"));
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, roids.center());

        // The planet score is 64-bit: a press adds to it rather than starting over at 1.
        const QRect score = t.grid.CellRect(7, 65);
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(score.center().x(), score.top() + 1));
        QCOMPARE(t.sheet.Cell(7, 65), std::string("5000000001"));
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, score.center());
    }

    void cellsArePaintedInTheAppearanceColours() {
        GridUnderTest t(1300);
        t.sheet.SetCell(1, 1, "8888");
        t.sheet.SetCell(7, 1, "8");
        t.Recalculate();
        QCOMPARE(t.grid.ShownText(1, 1), QString("8,888"));
        const QImage image = t.Render();
        const Appearance& a = t.appearance;
        using C = AppearanceColour;

        const QRect defender = t.grid.CellRect(1, 1);
        QCOMPARE(image.pixelColor(defender.topLeft() + QPoint(1, 1)), Colour(a, C::ShipBgd));
        QVERIFY(PaintedIn(image, defender, Colour(a, C::DefShipsFont)));
        QCOMPARE(image.pixelColor(defender.right(), defender.center().y()), Colour(a, C::Gridlines));
        QCOMPARE(image.pixelColor(defender.center().x(), defender.bottom()), Colour(a, C::Gridlines));

        const QRect attackerTotal = t.grid.CellRect(7, 56);
        QCOMPARE(image.pixelColor(attackerTotal.topLeft() + QPoint(1, 1)), Colour(a, C::AttBgd));
        QVERIFY(PaintedIn(image, attackerTotal, Colour(a, C::AttShipsFont)));
        QCOMPARE(image.pixelColor(t.grid.CellRect(2, 0).topLeft() + QPoint(1, 1)), Colour(a, C::DefBgd));
        QCOMPARE(image.pixelColor(t.grid.CellRect(0, 20).topLeft() + QPoint(1, 1)), Colour(a, C::DefBgd));

        // The side borders are race lines.
        const QRect left = t.grid.CellRect(5, 10);
        QCOMPARE(image.pixelColor(left.right(), left.center().y()), Colour(a, C::Racelines));

        // The setup window's changes show at the next repaint.
        t.appearance[C::ShipBgd] = {0, 64, 64};
        t.grid.update();
        QCOMPARE(t.Render().pixelColor(defender.topLeft() + QPoint(1, 1)), QColor(0, 64, 64));
    }

    void reportViewColumnsShowTheReportsFigures() {
        GridUnderTest t;
        CombatReport report;
        report.DefenderHeld[0] = 8888;  // column 4, row 1
        t.sheet.ShowCombatReport(report);
        t.grid.SheetChanged();
        QCOMPARE(t.grid.ShownText(4, 1), QString("(8,888)"));
        QCOMPARE(t.grid.ShownText(4, 2), QString());
        QCOMPARE(t.grid.ShownText(3, 1), QString());
        const QImage image = t.Render();
        const QRect stole = t.grid.CellRect(4, 1);
        QVERIFY(PaintedIn(image, stole, Colour(t.appearance, AppearanceColour::DefHeldFont)));
        QVERIFY(!PaintedIn(image, stole, Colour(t.appearance, AppearanceColour::DefStealFont)));
        // The report's figures stand between race lines.
        const QRect ships = t.grid.CellRect(1, 10);
        QCOMPARE(image.pixelColor(ships.right(), ships.center().y()), Colour(t.appearance, AppearanceColour::Racelines));
    }

    void columnsWidenToTheTotalsAndNeverShrink() {
        GridUnderTest t;
        QCOMPARE(t.grid.ColumnWidth(0), 120);
        QCOMPARE(t.grid.ColumnWidth(1), 40);
        t.sheet.SetCell(1, 1, "123456789");
        t.Recalculate();
        QCOMPARE(t.grid.ColumnWidth(1), t.TextWidth("123,456,789") + 4);
        QCOMPARE(t.grid.ColumnWidth(7), 40);
        QCOMPARE(t.grid.CellRect(2, 0).left(), 120 + t.grid.ColumnWidth(1));
        t.sheet.ClearDef();
        t.grid.SheetChanged();
        QCOMPARE(t.grid.ColumnWidth(1), t.TextWidth("123,456,789") + 4);
    }

    void clearAllGivesTheColumnsTheirFirstWidths() {
        GridUnderTest t;
        t.sheet.SetCell(1, 1, "123456789");
        t.Recalculate();
        t.grid.SetColumnWidth(0, 200);
        t.grid.SetColumnWidth(9, 90);
        t.sheet.ClearGrid();
        t.grid.SheetChanged();
        QCOMPARE(t.grid.ColumnWidth(0), 120);
        QCOMPARE(t.grid.ColumnWidth(1), 40);
        QCOMPARE(t.grid.ColumnWidth(9), 40);
        QCOMPARE(t.grid.CellRect(6, 0).left(), 120 + 5 * 40);
    }

    void resourceTotalsShortenWhenTooWide() {
        GridUnderTest t;
        t.sheet.SetCell(1, 1, "100");     // 100 Harpies: 125,000 metal
        t.sheet.SetCell(7, 12, "1000");   // 1,000 Dragons: 70,000,000 metal
        t.Recalculate();
        QVERIFY(t.TextWidth("125,000") + 4 > t.grid.ColumnWidth(1));
        QVERIFY(t.TextWidth("70,000k") + 4 > t.grid.ColumnWidth(7));
        QCOMPARE(t.grid.ShownText(1, 56), QString("125k"));
        QCOMPARE(t.grid.ShownText(7, 56), QString("70m"));
        // "Total Units" is never shortened; its column widens instead.
        QCOMPARE(t.grid.ShownText(7, 55), QString("1,000"));
        // A shortened figure shows in full on hover.
        QCOMPARE(t.grid.CellToolTip(7, 55), QString());
        QHelpEvent hover(QEvent::ToolTip, t.Centre(7, 56), t.grid.viewport()->mapToGlobal(t.Centre(7, 56)));
        QApplication::sendEvent(t.grid.viewport(), &hover);
        QCOMPARE(QToolTip::text(), QString("70,000,000"));

        t.grid.SetColumnWidth(1, 200);
        QCOMPARE(t.grid.ShownText(1, 56), QString("125,000"));
        t.grid.SetColumnWidth(7, t.TextWidth("70,000k") + 4);
        QCOMPARE(t.grid.ShownText(7, 56), QString("70,000k"));
    }

    void rightClickNamesTheShipStatsItem() {
        GridUnderTest t;
        QMenu popup;
        QAction* stats = popup.addAction("Ship Stats");
        popup.addSeparator();
        popup.addAction("Re-Calc All");
        t.grid.SetPopupMenu(&popup, stats);
        QSignalSpy chosen(&t.grid, &BattleGrid::ShipStatsChosen);
        QSignalSpy recalculated(&t.grid, &BattleGrid::Recalculated);
        const auto& catalogue = DefaultRules().catalogue;

        t.RightPress(8, 3);
        QCOMPARE(stats->text(), QString::fromStdString(catalogue.Name(2)) + " Stats");
        QVERIFY(stats->isVisible());
        QVERIFY(popup.isVisible());
        popup.close();
        stats->trigger();
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.last().at(0).toInt(), 2);
        QCOMPARE(chosen.last().at(1).value<Side>(), Side::Attacker);

        t.RightPress(0, 54);
        popup.close();
        stats->trigger();
        QCOMPARE(chosen.last().at(0).toInt(), 53);
        QCOMPARE(chosen.last().at(1).value<Side>(), Side::Defender);

        t.RightPress(1, 57);
        popup.close();
        QVERIFY(!stats->isVisible());
        // A right press neither selects nor recalculates.
        QCOMPARE(t.grid.CurrentRow(), 1);
        QCOMPARE(recalculated.count(), 0);
    }

    void hiddenRowsTakeNoSpaceAndBlocksKeepTheirRaceLine() {
        GridUnderTest t;
        t.sheet.SetCell(1, 40, "5");
        t.sheet.SetCell(7, 44, "5");
        t.sheet.Recalculate();
        t.sheet.CompressGrid();
        t.grid.SheetChanged();
        QVERIFY(t.grid.CellRect(2, 45).isEmpty());
        QCOMPARE(t.grid.CellRect(2, 40).top(), 26);
        QCOMPARE(t.grid.CellRect(2, 44).top(), 26 + 18);
        QCOMPARE(t.grid.CellRect(2, 55).top(), 26 + 2 * 18);

        const QImage image = t.Render();
        const QRect zik = t.grid.CellRect(2, 44);
        const QRect above = t.grid.CellRect(2, 40);
        QCOMPARE(image.pixelColor(zik.center().x(), zik.bottom()), Colour(t.appearance, AppearanceColour::Racelines));
        QCOMPARE(image.pixelColor(above.center().x(), above.bottom()), Colour(t.appearance, AppearanceColour::Gridlines));
        // Moving down skips the hidden rows; Tab goes on at the start of the next shown row.
        t.Click(11, 40);
        QTest::keyClick(&t.grid, Qt::Key_Tab);
        QCOMPARE(t.grid.CurrentColumn(), 0);
        QCOMPARE(t.grid.CurrentRow(), 44);
        QTest::keyClick(&t.grid, Qt::Key_Down);
        QCOMPARE(t.grid.CurrentRow(), 55);

        // Below the last shown row only the black control background remains.
        const QRect score = t.grid.CellRect(2, 59);
        QCOMPARE(image.pixelColor(score.center().x(), score.bottom() + 5), QColor(Qt::black));
    }

    void headingRowStaysWhileTheBodyScrolls() {
        GridUnderTest t;
        t.grid.resize(300, 200);
        QVERIFY(t.grid.verticalScrollBar()->maximum() > 0);
        QVERIFY(t.grid.horizontalScrollBar()->maximum() > 0);
        t.grid.verticalScrollBar()->setValue(100);
        QCOMPARE(t.grid.CellRect(2, 0).top(), 0);
        QCOMPARE(t.grid.CellRect(2, 1).top(), 26 - 100);
        const QImage image = t.Render();
        QCOMPARE(image.pixelColor(t.grid.CellRect(2, 0).topLeft() + QPoint(1, 1)),
                 Colour(t.appearance, AppearanceColour::DefBgd));
        // Moving down past the bottom scrolls the selected cell into view.
        t.Click(1, 8);
        for (int i = 0; i < 20; ++i) QTest::keyClick(&t.grid, Qt::Key_Down);
        QCOMPARE(t.grid.CurrentRow(), 28);
        const QRect current = t.grid.CellRect(1, 28);
        QVERIFY(current.top() >= 26 && current.bottom() < t.grid.viewport()->height());
    }

    void draggingAHeadingEdgeResizesTheColumn() {
        GridUnderTest t;
        const QRect heading = t.grid.CellRect(3, 0);
        const QPoint edge(heading.right(), heading.center().y());
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, edge);
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + QPoint(30, 0)), t.grid.viewport()->mapToGlobal(QPointF(edge + QPoint(30, 0))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t.grid.viewport(), &move);
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
        QCOMPARE(t.grid.ColumnWidth(3), 70);
    }

    void everyQuickPressSpinsAndADoubleClickOpensTheEditor() {
        GridUnderTest t;
        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        const QRect cell = t.grid.CellRect(7, 4);
        for (int pair = 0; pair < 5; ++pair) t.DoubleClick(QPoint(cell.center().x(), cell.top() + 2));
        QCOMPARE(t.sheet.Cell(7, 4), std::string("10"));
        QVERIFY(!t.grid.GridTimer()->isActive());

        t.grid.SetInputMode(BattleGrid::InputMode::Edit);
        t.DoubleClick(t.Centre(1, 6));
        QVERIFY(t.grid.findChild<QLineEdit*>()->isVisible());
    }

    void draggingARowsLowerEdgeInACaptionColumnResizesTheRow() {
        GridUnderTest t;
        const QRect caption = t.grid.CellRect(6, 3);
        t.Drag(QPoint(caption.center().x(), caption.bottom()), QPoint(caption.center().x(), caption.bottom() + 12));
        QCOMPARE(t.grid.RowHeight(3), 30);
        QCOMPARE(t.grid.CellRect(1, 4).top(), caption.top() + 30);
        QCOMPARE(t.grid.SelectedRange(), (CellRange{0, 1, 0, 1}));
        // A dragged row keeps its height while hidden.
        t.sheet.CompressGrid();
        t.grid.SheetChanged();
        t.sheet.ExpandGrid();
        t.grid.SheetChanged();
        QCOMPARE(t.grid.RowHeight(3), 30);
    }

    void rangesAreSelectedByDragShiftClickAndShiftArrowsAndShown() {
        GridUnderTest t;
        t.Drag(t.Centre(1, 2), t.Centre(3, 5));
        QCOMPARE(t.grid.SelectedRange(), (CellRange{1, 2, 3, 5}));
        const QColor background = Colour(t.appearance, AppearanceColour::ShipBgd);
        QImage image = t.Render();
        QVERIFY(image.pixelColor(t.grid.CellRect(2, 3).topLeft() + QPoint(3, 3)) != background);
        QCOMPARE(image.pixelColor(t.grid.CellRect(4, 3).topLeft() + QPoint(3, 3)), background);

        // Shift+click widens from the anchor, in any direction; so do Shift and the arrows.
        QTest::mouseClick(t.grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, t.Centre(0, 1));
        QCOMPARE(t.grid.SelectedRange(), (CellRange{0, 1, 1, 2}));
        QTest::keyClick(&t.grid, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&t.grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(t.grid.SelectedRange(), (CellRange{0, 2, 1, 3}));
        // A plain move selects one cell again, which shows no highlight.
        QTest::keyClick(&t.grid, Qt::Key_Right);
        QCOMPARE(t.grid.SelectedRange(), (CellRange{1, 3, 1, 3}));
        image = t.Render();
        QCOMPARE(image.pixelColor(t.grid.CellRect(2, 3).topLeft() + QPoint(3, 3)), background);
    }

    void aRangeDraggedPastTheEdgeKeepsGrowingWhileThePointerRests() {
        GridUnderTest t;
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, t.Centre(1, 2));
        const QPoint below(t.Centre(1, 2).x(), t.grid.viewport()->height() + 20);
        QMouseEvent move(QEvent::MouseMove, QPointF(below), t.grid.viewport()->mapToGlobal(QPointF(below)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t.grid.viewport(), &move);
        const int reached = t.grid.SelectedRange().lastRow;
        QVERIFY(QTest::qWaitFor([&] { return t.grid.SelectedRange().lastRow >= reached + 3; }, 2000));
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, below);
        QVERIFY(!t.grid.DragScrollTimer()->isActive());
    }

    // Its speed against the timer's 20 ms is BM_SpinTickWithRepaintFullBattle in bench/ui.
    void spinTicksWithFullRepaintsStepTheHeldCountAndRecalculateEachTime() {
        GridUnderTest t;
        for (int row = 1; row <= 54; ++row) {
            t.sheet.SetCell(1, row, "1000");
            t.sheet.SetCell(7, row, "1000");
        }
        t.grid.SetInputMode(BattleGrid::InputMode::Spin);
        const QRect cell = t.grid.CellRect(1, 1);
        QTest::mousePress(t.grid.viewport(), Qt::LeftButton, {}, QPoint(cell.center().x(), cell.top() + 1));
        QSignalSpy recalculations(&t.grid, &BattleGrid::Recalculated);
        constexpr int kTicks = 50;
        for (int tick = 0; tick < kTicks; ++tick) {
            t.grid.GridTimerTimer();
            t.grid.viewport()->repaint();
        }
        QTest::mouseRelease(t.grid.viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(recalculations.count(), kTicks);
        QVERIFY(LenientInt32(t.sheet.Cell(1, 1)) > 1000 + kTicks);
    }
};

KESTRIN_UI_TEST(BattleGridTest);

}  // namespace kestrin

#include "battle_grid_test.moc"
