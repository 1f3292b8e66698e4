// How an edit ends in the main window: whatever command a player chooses with a count still
// in the grid's editor, the count goes in first, is calculated and is a step of its own to
// undo. Also the file a player works on: Save to it, and the question before a changed
// battle is set aside.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <functional>

#include "sheet/document_test_seam.h"
#include "sheet/sheet_layout.h"
#include "ui/debug/debug_form.h"
#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/main/main_window.h"
#include "ui/main/results_panel_widget.h"
#include "ui/planner/planner_form.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/ship_info/ship_matrix_form.h"
#include "active_main_window.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

using namespace sheet;

const int kHarpyRow = UnitRow(0);

/// The main window shown and active, the attacker's Harpies set and calculated.
struct EditingWindow : testing::ActiveMainWindow {
    EditingWindow() {
        DocumentTestSeam::Sheet(window.Document()).SetCell(kAttShips, kHarpyRow, "100");
        window.ReCalc();
    }
    /// Types into the defender's Harpies and leaves the text in the editor.
    void TypeWithoutEnter(const QString& text) {
        Click(kDefShips, kHarpyRow);
        QTest::keyClicks(&Grid(), text);
    }
    /// The menu item with this text (without its '&') in the menu bar's menus and their submenus.
    QAction* Item(const QString& text) {
        for (QAction* top : window.menuBar()->actions())
            if (QAction* found = Find(top->menu(), text)) return found;
        return Find(window.PopupMenu(), text);
    }
    static QAction* Find(QMenu* menu, const QString& text) {
        if (menu == nullptr) return nullptr;
        for (QAction* action : menu->actions()) {
            if (QString(action->text()).remove('&') == text) return action;
            if (QAction* found = Find(action->menu(), text)) return found;
        }
        return nullptr;
    }
};

QPushButton* ButtonNamed(QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

/// A command chosen with "125k" still in the editor, and what must hold afterwards.
struct CommandCase {
    const char* name;
    std::function<void(EditingWindow&)> choose;
    std::function<void(EditingWindow&)> check;
};

// The count went in and was calculated: the defender's Harpies fought the attacker's.
void TypedCountCalculated(EditingWindow& w) {
    QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("125000"));
    QVERIFY(!w.Cell(kAttLost, kHarpyRow).empty());
}

// The command after the count was a step of its own: undoing it leaves the typed count.
void TypedCountAStepBeforeTheCommand(EditingWindow& w) {
    w.window.Document().Undo();
    TypedCountCalculated(w);
}

}  // namespace

class EditEndTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandTakesTheTypedCountFirst() {
        const std::vector<CommandCase> cases = {
            {"Re - Calculate", [](auto& w) { w.Item("Re - Calculate")->trigger(); }, TypedCountCalculated},
            {"Re-Calc All", [](auto& w) { w.Item("Re-Calc All")->trigger(); }, TypedCountCalculated},
            {"Compress Grid", [](auto& w) { w.Item("Compress Grid")->trigger(); }, TypedCountCalculated},
            {"Clear Attacker", [](auto& w) { w.Item("Attacker")->trigger(); }, TypedCountAStepBeforeTheCommand},
            {"Spin with Mouse", [](auto& w) { w.Item("Spin with Mouse")->trigger(); }, TypedCountCalculated},
            {"Undo",
             [](auto& w) {
                 QMenu* grid = w.window.menuBar()->actions().at(1)->menu();
                 emit grid->aboutToShow();  // an open edit is a change to undo
                 w.window.UndoAction()->trigger();
             },
             [](auto& w) {
                 QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string());  // the typing was the step undone
                 w.window.RedoAction()->trigger();
                 TypedCountCalculated(w);
             }},
            {"Tick button", [](auto& w) { QTest::mouseClick(w.window.Panel()->TickButton(), Qt::LeftButton); },
             [](auto& w) { QCOMPARE(w.window.Sheet().TickHistory().at(1).at(kHarpyRow), std::string("125000")); }},
            {"Update Log button",
             [](auto& w) {
                 w.window.LogWindow()->UpdateLogButton()->click();
             },
             TypedCountCalculated},
            {"scan parser OK",
             [](auto& w) {
                 TParserDialog& parser = *w.window.ParserDialog();
                 parser.ShowParser();
                 parser.TextArea()->setPlainText("Harpy 5");
                 parser.KindOption(ReportKind::Scan)->setChecked(true);
                 parser.ScanSideOption(Side::Attacker)->setChecked(true);
                 parser.OkButton()->click();
             },
             [](auto& w) {
                 TypedCountAStepBeforeTheCommand(w);
                 // Typing goes on in the grid.
                 QTRY_VERIFY(w.Grid().hasFocus());
             }},
            {"a click on the results panel",
             [](auto& w) { QTest::mouseClick(w.window.Panel(), Qt::LeftButton, {}, QPoint(3, 3)); },
             TypedCountCalculated},
            {"the focus leaving the window",
             [](auto& w) {
                 QWidget& other = *w.window.UnitTables();
                 other.show();
                 QApplication::setActiveWindow(&other);
                 QVERIFY(QTest::qWaitForWindowActive(&other));
             },
             TypedCountCalculated},
            {"scan parser Clear Attacker",
             [](auto& w) { ButtonNamed(*w.window.ParserDialog(), "Clear Attacker")->click(); },
             TypedCountAStepBeforeTheCommand},
            {"planner Run",
             [](auto& w) {
                 TPlannerForm& planner = *w.window.PlannerForm();
                 planner.ShowPlanner();
                 planner.FromEdit()->setText("0");
                 planner.ToEdit()->setText("10");
                 planner.RunButton()->click();
                 QVERIFY(QTest::qWaitFor([&] { return !planner.Running(); }, 20000));
             },
             [](auto& w) {
                 TypedCountCalculated(w);
                 QVERIFY(!w.window.PlannerForm()->Result().points.empty());
                 QVERIFY(!w.window.PlannerForm()->OutOfDate());  // it swept the battle with the count
             }},
            {"debug window run",
             [](auto& w) {
                 w.window.DebugForm()->RunHoleDetectorBtn()->click();
             },
             TypedCountAStepBeforeTheCommand},
            {"closing, then Cancel",
             [](auto& w) {
                 w.messages.answer = SaveChoice::Cancel;
                 QVERIFY(!w.window.close());
             },
             [](auto& w) {
                 QCOMPARE(w.messages.questions, QStringList{"Save changes to the new battle?"});
                 TypedCountCalculated(w);
             }},
        };
        for (const CommandCase& c : cases) {
            EditingWindow w;
            w.TypeWithoutEnter("125k");
            QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string());  // nothing goes in while typing
            c.choose(w);
            if (QTest::currentTestFailed()) QFAIL(c.name);
            QVERIFY2(w.Grid().EditorText().isNull(), c.name);
            c.check(w);
            if (QTest::currentTestFailed()) QFAIL(c.name);
        }
    }

    // The typed count goes in first, as a step of its own; it changes the battle the chart
    // was swept on, so the chart's value is not used until the sweep runs again.
    void useThisValueTakesTheTypedCountFirst() {
        EditingWindow w;
        TPlannerForm& planner = *w.window.PlannerForm();
        planner.ShowPlanner();  // the attacker's Harpies
        planner.FromEdit()->setText("0");
        planner.ToEdit()->setText("10");
        planner.RunButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !planner.Running(); }, 20000));
        planner.ChoosePoint(3);
        w.TypeWithoutEnter("125k");
        planner.UseChosenValue();
        QVERIFY(w.Grid().EditorText().isNull());
        TypedCountCalculated(w);
        QCOMPARE(w.Cell(kAttShips, kHarpyRow), std::string("100"));
        QVERIFY(planner.OutOfDate());
        QVERIFY(!planner.UseValueButton()->isEnabled());
        planner.RunButton()->click();
        QVERIFY(QTest::qWaitFor([&] { return !planner.Running(); }, 20000));
        planner.ChoosePoint(3);
        planner.UseValueButton()->click();
        QCOMPARE(w.Cell(kAttShips, kHarpyRow), std::string("3"));
        QCOMPARE(w.window.UndoAction()->text().remove('&'), QString("Undo Use This Value"));
        TypedCountAStepBeforeTheCommand(w);
    }

    void undoAndRedoNameTheirStep() {
        EditingWindow w;
        QAction* undo = w.window.UndoAction();
        QAction* redo = w.window.RedoAction();
        QCOMPARE(undo->text().remove('&'), QString("Undo"));
        w.TypeWithoutEnter("5");
        QMenu* grid = w.window.menuBar()->actions().at(1)->menu();
        emit grid->aboutToShow();
        QCOMPARE(undo->text().remove('&'), QString("Undo Typing"));
        QTest::keyClick(&w.Grid(), Qt::Key_Return);
        QCOMPARE(undo->text().remove('&'), QString("Undo Typing"));
        QTest::mouseClick(w.window.Panel()->TickButton(), Qt::LeftButton);
        QCOMPARE(undo->text().remove('&'), QString("Undo Tick Step"));
        undo->trigger();
        QCOMPARE(redo->text().remove('&'), QString("Redo Tick Step"));
        TParserDialog& parser = *w.window.ParserDialog();
        parser.TextArea()->setPlainText("Harpy 5");
        parser.KindOption(ReportKind::Scan)->setChecked(true);
        parser.OkButton()->click();
        QCOMPARE(undo->text().remove('&'), QString("Undo Scan Report"));
        QCOMPARE(redo->text().remove('&'), QString("Redo"));
    }

    void saveGoesToTheFileLastOpenedOrSaved() {
        EditingWindow w;
        QAction* save = w.Item("Save");
        QVERIFY(save != nullptr);
        QCOMPARE(save->shortcut(), QKeySequence(QKeySequence::Save));
        const auto path = w.env.Path() / "raid.kbf";
        QVERIFY(w.window.SaveBattleFile(path));
        QCOMPARE(save->text(), QString("&Save raid.kbf"));
        QVERIFY(!w.window.BattleChangedSinceSaved());
        w.TypeWithoutEnter("42");
        save->trigger();
        QFile file(QString::fromStdString(path.string()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readLine().trimmed(), QByteArray("42"));  // the first line: the defender's Harpies
        QVERIFY(!w.window.BattleChangedSinceSaved());
        QCOMPARE(w.window.windowTitle(), QString("Kestrin     v 9.5"));
    }

    void aChangedBattleAsksBeforeItIsSetAside() {
        EditingWindow w;
        const auto raid = w.env.Path() / "raid.kbf";
        const auto other = w.env.Path() / "other.kbf";
        QVERIFY(w.window.SaveBattleFile(other));
        QVERIFY(w.window.SaveBattleFile(raid));
        const QList<QUrl> drop{QUrl::fromLocalFile(QString::fromStdString(other.string()))};

        // Unchanged: no question.
        QVERIFY(w.window.OpenDroppedUrls(drop));
        QVERIFY(w.messages.questions.isEmpty());
        QCOMPARE(w.window.CurrentFile(), other);

        // Cancel keeps the battle; Discard lets it go; Save writes it first.
        w.TypeWithoutEnter("7");
        w.messages.answer = SaveChoice::Cancel;
        QVERIFY(w.window.OpenDroppedUrls({QUrl::fromLocalFile(QString::fromStdString(raid.string()))}));
        QCOMPARE(w.messages.questions, QStringList{"Save changes to other.kbf?"});
        QCOMPARE(w.window.CurrentFile(), other);
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("7"));

        w.messages.answer = SaveChoice::Save;
        QVERIFY(w.window.OpenDroppedUrls({QUrl::fromLocalFile(QString::fromStdString(raid.string()))}));
        QCOMPARE(w.window.CurrentFile(), raid);
        QVERIFY(w.window.OpenBattleFile(other));
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("7"));  // saved before raid.kbf opened

        w.TypeWithoutEnter("8");
        w.messages.answer = SaveChoice::Discard;
        QVERIFY(w.window.close());
        QVERIFY(w.window.OpenBattleFile(other));
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("7"));
        // Discard answered the closing; opening over the same changed battle asks again.
        QCOMPARE(w.messages.questions.size(), 4);
    }
};

KESTRIN_UI_TEST(EditEndTest);

}  // namespace kestrin

#include "edit_end_test.moc"
