// The main window as a player uses it every day: undo and redo, the keys of the grid and the
// tick buttons, the forgiving cell editor and copy and paste.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

#include "sheet/number_format.h"
#include "sheet/sheet_layout.h"
#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/main/results_panel_widget.h"
#include "active_main_window.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

using namespace sheet;

using ActiveWindow = testing::ActiveMainWindow;

}  // namespace

class DailyUseTest : public QObject {
    Q_OBJECT

private slots:
    void undoBringsBackABattleAWrongCombatReportReplaced() {
        ActiveWindow w;
        QVERIFY(!w.window.UndoAction()->isEnabled());
        w.Type(kDefShips, UnitRow(0), "500");
        w.Type(kAttShips, UnitRow(1), "400");
        w.window.Panel()->TickButton()->click();
        const std::string tick2Harpies = w.Cell(kDefShips, UnitRow(0));
        TParserDialog& parser = *w.window.ParserDialog();
        parser.TextArea()->setPlainText("Harpy 100\n");
        parser.KindOption(ReportKind::Combat)->setChecked(true);
        parser.OkButton()->click();
        QCOMPARE(w.window.Sheet().CurrentTick(), 1);

        QApplication::setActiveWindow(&w.window);
        w.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.window.Sheet().CurrentTick(), 2);
        QCOMPARE(w.window.Sheet().TickHistory().size(), 2u);
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), tick2Harpies);
        QCOMPARE(w.window.Panel()->Element("TickIndicator")->text(), "Tick 2");
        QVERIFY(w.window.RedoAction()->isEnabled());
        w.Key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(w.window.Sheet().CurrentTick(), 1);
        w.Key(Qt::Key_Z, Qt::ControlModifier);
        w.Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);  // Redo's other key
        QCOMPARE(w.window.Sheet().CurrentTick(), 1);
        const QMenu* grid = w.window.menuBar()->actions()[1]->menu();
        QCOMPARE(grid->actions()[0], w.window.UndoAction());
        QCOMPARE(grid->actions()[1], w.window.RedoAction());
    }

    // The battle's undo keys work in the other windows whatever has the focus there (the log's
    // text, a button), while a text field with an undo of its own keeps them for its text.
    void undoAndRedoWorkFromEveryWindowButTextFieldsKeepTheirOwn() {
        ActiveWindow w;
        w.Type(kDefShips, UnitRow(0), "500");
        w.Type(kDefShips, UnitRow(1), "600");
        const auto keyIn = [](QWidget* window, QWidget* focus, Qt::KeyboardModifiers modifiers) {
            window->show();
            QApplication::setActiveWindow(window);
            (void)QTest::qWaitForWindowActive(window);
            focus->setFocus();
            QTest::keyClick(focus, Qt::Key_Z, modifiers);
        };
        TForm2& log = *w.window.LogWindow();
        auto* logText = log.findChild<QTextEdit*>("CalcLog");
        QVERIFY(logText != nullptr);
        keyIn(&log, logText, Qt::ControlModifier);
        QCOMPARE(w.Cell(kDefShips, UnitRow(1)), "");
        keyIn(&log, logText, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.Cell(kDefShips, UnitRow(1)), "600");

        TParserDialog& parser = *w.window.ParserDialog();
        keyIn(&parser, parser.CancelButton(), Qt::ControlModifier);
        QCOMPARE(w.Cell(kDefShips, UnitRow(1)), "");
        // The scan text keeps its own undo: what was typed goes, the battle stays.
        parser.TextArea()->setFocus();
        parser.TextArea()->clear();
        QTest::keyClicks(parser.TextArea(), "Harpy 5");
        QTest::keyClick(parser.TextArea(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(parser.TextArea()->toPlainText() != "Harpy 5");
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), "500");
        parser.hide();
        log.hide();
    }

    void deleteEmptiesTheCellAndTheTickKeysStepWithTheirNamesInTheTooltips() {
        ActiveWindow w;
        w.Type(kDefShips, UnitRow(0), "50");
        w.Key(Qt::Key_Delete);
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), "");
        QCOMPARE(w.Cell(kDefLeft, UnitRow(0)), "");  // recalculated
        w.Key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), "50");
        w.Key(Qt::Key_Backspace);
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), "");

        w.Key(Qt::Key_Right, Qt::AltModifier);
        QCOMPARE(w.window.Sheet().CurrentTick(), 2);
        w.Key(Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(w.window.Sheet().CurrentTick(), 1);
        QCOMPARE(w.window.Panel()->TickButton()->toolTip(), "Next tick (Alt+Right)");
        QCOMPARE(w.window.Panel()->TickBackButton()->toolTip(), "Previous tick (Alt+Left)");
    }

    void theCurrentCellNeverHidesAndTypingWithoutShownRowsDoesNothing() {
        ActiveWindow w;
        w.Type(kDefShips, UnitRow(3), "5");
        w.Click(kDefShips, UnitRow(6));
        w.window.CompressGrid();  // row 4 and the totals stay
        QCOMPARE(w.Grid().CurrentRow(), UnitRow(3));
        w.Key(Qt::Key_Delete);
        w.window.CompressGrid();  // nothing left to show
        QTest::keyClicks(&w.Grid(), "9");
        for (int row = 1; row < kRows; ++row) QCOMPARE(w.Cell(kDefShips, row), "");
    }

    void theEditorTakesWhatTheGridShowsAndCopyPasteCarriesFullFigures() {
        ActiveWindow w;
        w.Type(kDefShips, UnitRow(0), "9,000");
        QCOMPARE(w.Cell(kDefShips, UnitRow(0)), "9000");
        w.Type(kDefShips, UnitRow(1), " 125k");
        QCOMPARE(w.Cell(kDefShips, UnitRow(1)), "125000");
        w.Type(kAttShips, kScoreRow, "70m");
        QCOMPARE(w.Cell(kAttShips, kScoreRow), "70000000");
        w.Type(kAttShips, UnitRow(2), "1,5k");
        QCOMPARE(w.Cell(kAttShips, UnitRow(2)), "");  // stored as typed, no number: emptied

        w.Click(kDefShips, kMetalCostRow);
        w.Key(Qt::Key_C, Qt::ControlModifier);
        const QString metal = QApplication::clipboard()->text();
        QCOMPARE(metal.toStdString(), FormatNumber(w.window.Sheet().Cells().Int64(kDefShips, kMetalCostRow), {}));
        QApplication::clipboard()->setText("1,000\t\n2k");
        w.Click(kDefShips, UnitRow(4));
        w.Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.Cell(kDefShips, UnitRow(4)), "1000");
        QCOMPARE(w.Cell(kDefShips, UnitRow(5)), "2000");
        QCOMPARE(w.Cell(kDefLeft, UnitRow(5)), "2000");
        w.Key(Qt::Key_Z, Qt::ControlModifier);  // the whole paste is one step
        QCOMPARE(w.Cell(kDefShips, UnitRow(4)), "");
        QCOMPARE(w.Cell(kDefShips, UnitRow(5)), "");
        QCOMPARE(w.Cell(kAttShips, kScoreRow), "70000000");
    }
};

KESTRIN_UI_TEST(DailyUseTest);

}  // namespace kestrin

#include "daily_use_test.moc"
