// What each window shows stays readable: whole figures in the results panel, the scan
// parser's hint and long lines, the debug window's matrices, the ship details table and a
// grid cell of any length.
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTest>

#include "sheet/document_test_seam.h"
#include "engine/battle_rules.h"
#include "sheet/battle_document.h"
#include "ui/grid/battle_grid.h"
#include "ui/grid/cell_style.h"
#include "ui/debug/debug_form.h"
#include "ui/ship_info/fixed_cell_table.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/main/results_panel_widget.h"
#include "ui/ship_info/ship_details_form.h"
#include "ui/debug/text_grid.h"
#include "ui/debug/vertical_text_header.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

const BattleRules& DefaultRules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

// Counts the paint events of a widget.
// Counts the paint and timer events an object receives.
class EventCounter : public QObject {
public:
    int paints = 0;
    int timers = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        if (event->type() == QEvent::Timer) ++timers;
        return false;
    }
};

int LongestNameWidth(const QFontMetrics& metrics) {
    int width = 0;
    for (ShipIndex i = 0; i < kShipCount; ++i)
        width = std::max(width, metrics.horizontalAdvance(QString::fromStdString(DefaultRules().catalogue.Name(i))));
    return width;
}

}  // namespace

class ReadableWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void panelBoxesShowWholeFiguresWithTheFullFigureInTheirTooltips() {
        QWidget window;
        window.setFont(QFont("Arial", 8));
        ResultsPanelWidget panel(&window);
        window.resize(671, ResultsPanelWidget::kHeight);
        ResultsPanel texts;
        texts.DLoss = "-13,586,766,819,950";
        texts.ALoss = "-9,223,372,036,854,775,808";
        texts.MSalvage = "3,396m";
        texts.MSalvageFull = "3,396,691,704,987";
        texts.UR = "-12";
        panel.Show(texts);
        for (const char* name : {"DLoss", "ALoss", "MSalvage", "UR", "TickIndicator"}) {
            const QLabel* box = panel.Element(name);
            QVERIFY2(QFontMetrics(box->font()).horizontalAdvance(box->text()) <= box->contentsRect().width(), name);
            QVERIFY2(box->x() >= 0 && box->geometry().right() < panel.width(), name);
        }
        QCOMPARE(panel.Element("DLoss")->toolTip(), "-13,586,766,819,950");
        QCOMPARE(panel.Element("MSalvage")->toolTip(), "3,396,691,704,987");
        QCOMPARE(panel.Element("UR")->geometry(), QRect(260, 20, 41, 17));  // a short figure keeps its box
        QCOMPARE(panel.Element("UR")->font().pointSizeF(), 8.0);
        panel.Show(ResultsPanel{});  // and a long one gives it back
        QCOMPARE(panel.Element("ALoss")->geometry(), QRect(396, 40, 77, 17));
    }

    void scanParserHintGivesWayAndALongLineLeavesTheProgramIdle() {
        SimulationContext context;
        BattleDocument document(DefaultRules(), context);
        TParserDialog dialog(document);
        dialog.ShowParser();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        ScanTextArea& area = *dialog.TextArea();
        QCOMPARE(area.textCursor().selectedText(), " Paste your Scans in here...");
        area.moveCursor(QTextCursor::End);  // even with the hint no longer selected
        QApplication::clipboard()->setText("Harpy 5");
        area.paste();
        QCOMPARE(area.toPlainText(), "Harpy 5");

        EventCounter counter;
        area.viewport()->installEventFilter(&counter);
        QVERIFY(QTest::qWaitFor([&] { return counter.paints > 0; }));  // the caret blinks over a short text
        area.setPlainText(QString(3 * ScanTextArea::kLongLine, QLatin1Char('7')));
        QVERIFY(area.BlinkStopped());
        // The caret's blink timer goes on firing at the text control; over a long line none
        // of its ticks repaints. Counted from the first tick, after the new text's own paint.
        EventCounter blinks;
        QObject* control = nullptr;
        for (QObject* child : area.children())
            if (child->inherits("QWidgetTextControl")) control = child;
        QVERIFY(control != nullptr);
        control->installEventFilter(&blinks);
        QVERIFY(QTest::qWaitFor([&] { return blinks.timers >= 1; }));
        counter.paints = 0;
        QVERIFY(QTest::qWaitFor([&] { return blinks.timers >= 3; }));
        QCOMPARE(counter.paints, 0);
    }

    void debugMatricesKeepReadableNamesInViewAndTraceColumnsWiden() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        for (TextGrid* matrix : {window.DebugForm()->StringGrid1(), window.DebugForm()->StringGrid2()}) {
            QVERIFY(qobject_cast<VerticalTextHeader*>(matrix->horizontalHeader()) != nullptr);
            QVERIFY(!matrix->horizontalHeader()->isHidden() && !matrix->verticalHeader()->isHidden());
            const int longest = LongestNameWidth(matrix->horizontalHeader()->fontMetrics());
            QVERIFY(matrix->horizontalHeader()->sizeHint().height() >= longest);
            QVERIFY(matrix->verticalHeader()->sizeHint().width() >= LongestNameWidth(matrix->verticalHeader()->fontMetrics()));
            QCOMPARE(matrix->verticalHeaderItem(36)->text(), "Corsair");  // heading cell (0, 37)
            QCOMPARE(matrix->Cell(0, 37), "Corsair");
        }
        TextGrid* targeting = window.DebugForm()->StringGrid1();
        QCOMPARE(targeting->item(5, 3)->toolTip(), targeting->Cell(4, 6));
        TextGrid* cycles = window.DebugForm()->CycleGrid();
        QVERIFY(!cycles->horizontalHeader()->isHidden());
        QCOMPARE(cycles->horizontalHeader()->sectionResizeMode(2), QHeaderView::Interactive);
        QCOMPARE(cycles->horizontalHeaderItem(2)->toolTip(), "Resulting Shots");
    }

    void shipDetailsFillTheWindowAndShowLongNamesWhole() {
        ShipCatalogue catalogue = DefaultShipCatalogue();
        catalogue.ships[0][ShipField::Name] = "Centrallis Peacekeeper";
        TShipDetailsForm details(catalogue);
        details.ShowFor(0, Side::Defender);
        QVERIFY(QTest::qWaitForWindowExposed(&details));
        const FixedCellTable& table = *details.Table();
        const int nameWidth = QFontMetrics(details.font()).horizontalAdvance("Centrallis Peacekeeper");
        QVERIFY(table.CellRect(1, 0).width() > nameWidth);
        QVERIFY(table.CellRect(1, 0).right() >= table.viewport()->width() - 1);
        QVERIFY(table.CellRect(1, kShipFieldCount - 1).bottom() >= table.viewport()->height() - 1);
        const QImage image = table.viewport()->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) QVERIFY(qGray(image.pixel(x, y)) < 230);
    }

    void aCellOfAMillionCharactersIsDrawnFromABoundedPart() {
        SimulationContext context;
        BattleDocument document(DefaultRules(), context);
        BattleSheet& sheet = DocumentTestSeam::Sheet(document);
        const Appearance appearance = DefaultAppearance();
        BattleGrid grid(document, appearance);
        grid.resize(671, 1400);
        const std::string huge(1'000'000, 'x');
        sheet.SetCell(sheet::kAttShips, sheet::kFirstRoidRow, huge);  // no recalculation rewrites it
        sheet.Recalculate();
        const QString shown = grid.ShownText(sheet::kAttShips, sheet::kFirstRoidRow);
        QCOMPARE(static_cast<std::size_t>(shown.size()), kLongestShownText);
        QVERIFY(QString::fromStdString(huge).startsWith(shown));
        sheet.SetCell(sheet::kAttShips, sheet::kFirstRoidRow, std::string(999, 'x') + "\xC3\xA9");  // a cut é
        QCOMPARE(grid.ShownText(sheet::kAttShips, sheet::kFirstRoidRow).size(), 999);
    }
};

KESTRIN_UI_TEST(ReadableWindowsTest);

}  // namespace kestrin

#include "readable_windows_test.moc"
