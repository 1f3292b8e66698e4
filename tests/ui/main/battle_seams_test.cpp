// The battle between windows: the file a battle belongs to across tick steps, what the player
// is told whatever ends an edit, the grid as a view that leaves an open edit alone, and a count
// typed while the debug window runs its battles.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QRadioButton>
#include <QTabWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <filesystem>

#include "sheet/document_test_seam.h"
#include "modal_watchdog.h"
#include "sheet/sheet_layout.h"
#include "ui/debug/debug_form.h"
#include "ui/grid/battle_grid.h"
#include "ui/main/main_window.h"
#include "ui/main/results_panel_widget.h"
#include "active_main_window.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

using namespace sheet;

const int kHarpyRow = UnitRow(0);

QByteArray FileBytes(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct SeamsWindow : testing::ActiveMainWindow {
    /// A battle file holding `harpies` defending Harpies against 40.
    std::filesystem::path Battle(const char* name, const char* harpies) {
        Sheet().SetCell(kDefShips, kHarpyRow, harpies);
        Sheet().SetCell(kAttShips, kHarpyRow, "40");
        const auto path = env.Path() / name;
        if (!window.SaveBattleFile(path)) QTest::qFail("the battle file was saved", __FILE__, __LINE__);
        return path;
    }
    BattleSheet& Sheet() { return DocumentTestSeam::Sheet(window.Document()); }
    void Ticks(int steps) {
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::mouseClick(steps > 0 ? window.Panel()->TickButton() : window.Panel()->TickBackButton(), Qt::LeftButton);
    }
    QAction* SaveItem() {
        for (QAction* action : window.menuBar()->actions().at(0)->menu()->actions())
            if (action->objectName() == "FileSave") return action;
        return nullptr;
    }
};

}  // namespace

class BattleSeamsTest : public QObject {
    Q_OBJECT

private slots:
    // Open a battle, step two ticks, open another, step back two: the first battle's fleets
    // are on the sheet, and Save asks for a file instead of writing them into the second.
    void saveNeverWritesAnotherBattleIntoTheFile() {
        SeamsWindow w;
        const auto first = w.Battle("first.kbf", "100");
        const auto second = w.Battle("second.kbf", "200");
        QVERIFY(w.window.OpenBattleFile(first));
        w.Ticks(2);
        QVERIFY(w.window.MaySetBattleAside());  // tick steps are no change: nothing asked
        QVERIFY(w.window.OpenBattleFile(second));
        QCOMPARE(w.SaveItem()->text(), QString("&Save second.kbf"));
        w.Ticks(-2);
        QCOMPARE(w.SaveItem()->text(), QString("&Save"));
        const QByteArray before = FileBytes(second);
        QVERIFY(!w.window.FileSave());  // the file dialog, closed unanswered
        QCOMPARE(testing::ModalWatchdog::Current().Take().size(), std::size_t{1});
        QCOMPARE(FileBytes(second), before);
        QVERIFY(w.messages.questions.isEmpty());
    }

    // Tick steps alone ask nothing on close; saving at a later tick into the file that holds
    // the set-up asks which to save: Cancel saves nothing, the set-up is saved without a step
    // back, the tick's fleets when chosen, and each save says where it wrote.
    void savingAtALaterTickAsksWhichToSave() {
        SeamsWindow w;
        const auto raid = w.Battle("raid.kbf", "100");
        QVERIFY(w.window.OpenBattleFile(raid));
        w.Type(kAttShips, kHarpyRow + 1, "5");  // the set-up edited, then stepped on from
        w.Ticks(2);
        const QByteArray opened = FileBytes(raid);
        QVERIFY(!w.window.FileSave());
        const QString question =
            "raid.kbf: the sheet shows tick 3 of the battle set up at tick 1. Save the set-up of tick 1 or the "
            "fleets of tick 3?";
        QCOMPARE(w.messages.questions, QStringList{question});
        QCOMPARE(FileBytes(raid), opened);
        QVERIFY(w.window.BattleChangedSinceSaved());  // Cancel: nothing saved, and it shows

        w.messages.whatToSave = SaveWhat::SetUp;
        QVERIFY(w.window.FileSave());
        QCOMPARE(w.Sheet().CurrentTick(), 3);
        const QByteArray setUp = FileBytes(raid);
        QVERIFY(setUp != opened);
        QVERIFY(setUp.contains("\r\n5\r\n"));  // the edited set-up's 5 Harpies
        QVERIFY(!w.window.BattleChangedSinceSaved());
        const auto* notice = w.window.findChild<QLabel*>("ReadNotice");
        QVERIFY(notice != nullptr && notice->isVisible());
        QCOMPARE(notice->text(), "Saved to " + QString::fromStdString(raid.string()));

        w.messages.whatToSave = SaveWhat::CurrentTick;
        QVERIFY(w.window.FileSave());
        QVERIFY(FileBytes(raid) != setUp);
        QVERIFY(w.window.close());
        QCOMPARE(w.messages.questions.size(), 3);
    }

    // Text that is no count is told the same whatever ends the edit; text that changes
    // nothing says so instead of pointing at Ctrl+Z.
    void everyEndOfAnEditTellsWhatBecameOfTheText() {
        const std::vector<std::pair<const char*, std::function<void(SeamsWindow&)>>> ends = {
            {"Enter", [](SeamsWindow& w) { w.Key(Qt::Key_Return); }},
            {"Tab", [](SeamsWindow& w) { w.Key(Qt::Key_Tab); }},
            {"Down", [](SeamsWindow& w) { w.Key(Qt::Key_Down); }},
            {"a click", [](SeamsWindow& w) { w.Click(kAttShips, kHarpyRow + 3); }},
        };
        for (const auto& [name, end] : ends) {
            SeamsWindow w;
            w.Type(kDefShips, kHarpyRow, "5");
            w.Click(kDefShips, kHarpyRow);
            QTest::keyClicks(&w.Grid(), "abc");
            end(w);
            QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("5"));
            QVERIFY2(w.Grid().Notice()->isVisible(), name);
            QCOMPARE(w.Grid().Notice()->text(), QString("'abc' is not a count: the cell keeps 5"));
        }
        SeamsWindow w;
        w.Type(kDefShips, kHarpyRow + 1, "abc");
        QCOMPARE(w.Grid().Notice()->text(), QString("'abc' is not a count: nothing was entered"));
        QVERIFY(!w.window.UndoAction()->isEnabled());
        w.Type(kAttShips, kHarpyRow, "-40");
        QCOMPARE(w.Grid().Notice()->text(), QString("'-40' is below zero: it stays as typed and fights as no ships"));
    }

    // Refreshing the grid leaves a count being typed in its editor; a command then takes it in.
    void theGridIsAViewThatLeavesAnOpenEditAlone() {
        SeamsWindow w;
        w.Click(kDefShips, kHarpyRow);
        QTest::keyClicks(&w.Grid(), "12");
        w.window.CompressGrid();  // the debug run's compression, as a command
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("12"));
        w.Click(kDefShips, kHarpyRow);
        QTest::keyClicks(&w.Grid(), "34");
        w.Grid().SheetChanged();
        QCOMPARE(w.Grid().EditorText(), QString("34"));
        w.Key(Qt::Key_Escape);  // only Escape drops it
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("12"));
    }

    // A count typed while the debug window fights its battles ends the run first: it is a
    // step of its own, not part of the run, and no generated battle writes over it.
    void aCountTypedDuringADebugRunIsAStepOfItsOwn() {
        SeamsWindow w;
        TDebugForm& debug = *w.window.DebugForm();
        debug.RunHoleDetectorBtn()->click();
        QVERIFY(!debug.RunHoleDetectorBtn()->isEnabled());  // running
        w.Type(kDefShips, kHarpyRow, "125k");
        QVERIFY(debug.RunHoleDetectorBtn()->isEnabled());  // the run ended first
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("125000"));
        QTest::qWait(0);
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("125000"));
        QCOMPARE(w.window.UndoAction()->text().remove('&'), QString("Undo Typing"));
        w.window.UndoAction()->trigger();
        QCOMPARE(w.window.UndoAction()->text().remove('&'), QString("Undo Debug Run"));
    }

    // The ship run compresses the grid between its passes and recalculates each battle: a
    // count being typed meanwhile stays in the editor, and goes in as its own step when the
    // edit ends, which ends the run.
    void theDebugRunsCompressionLeavesACountBeingTyped() {
        SeamsWindow w;
        w.Click(kDefShips, kHarpyRow);
        TDebugForm& debug = *w.window.DebugForm();
        w.window.ShowDebug();
        debug.Pages()->setCurrentIndex(1);
        debug.ThisShipOption()->click();
        const auto& order = w.window.Rules().tables.initiativeOrder;
        debug.HoleDetectorComboBox()->setCurrentIndex(static_cast<int>(std::find(order.begin(), order.end(), 0) - order.begin()));  // Harpies fire
        debug.RunShipTesting()->click();
        QVERIFY(debug.Running());
        QTest::keyClicks(&w.Grid(), "7");
        // What the run does between its battles, as its timer would.
        w.window.CompressGrid();
        w.window.ReCalc();
        QCOMPARE(w.Grid().EditorText(), QString("7"));
        QVERIFY(debug.Running());
        QTest::keyClick(&w.Grid(), Qt::Key_Return);
        QVERIFY(!debug.Running());
        QCOMPARE(w.Cell(kDefShips, kHarpyRow), std::string("7"));
        QCOMPARE(w.window.UndoAction()->text().remove('&'), QString("Undo Typing"));
        w.window.UndoAction()->trigger();
        QCOMPARE(w.window.UndoAction()->text().remove('&'), QString("Undo Debug Run"));
    }

    // Open Recent keeps a battle opened by a relative name by its absolute name, so that the
    // entry works from any folder.
    void openRecentKeepsTheAbsoluteName() {
        SeamsWindow w;
        const auto raid = w.Battle("raid.kbf", "100");
        const auto start = std::filesystem::current_path();
        std::filesystem::current_path(w.env.Path());
        const bool opened = w.window.OpenBattleFile("raid.kbf");
        std::filesystem::current_path(start);
        QVERIFY(opened);
        QMenu* recent = nullptr;
        for (QAction* action : w.window.menuBar()->actions().at(0)->menu()->actions())
            if (action->menu() != nullptr && action->text() == "Open Recent") recent = action->menu();
        QVERIFY(recent != nullptr);
        QCOMPARE(recent->actions().at(0)->text(), QString::fromStdString(raid.lexically_normal().string()));
        QCOMPARE(w.window.CurrentFile(), raid.lexically_normal());
    }
};

KESTRIN_UI_TEST(BattleSeamsTest);

}  // namespace kestrin

#include "battle_seams_test.moc"
