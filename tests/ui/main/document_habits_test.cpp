// The battle as a document: where its file dialogs start, the window's size kept for the next
// start, and the link File > Copy Link gives.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <filesystem>

#include "engine/simulation_context.h"
#include "sheet/sheet_layout.h"
#include "ui/common/dialog_folder.h"
#include "ui/grid/battle_grid.h"
#include "ui/main/main_window.h"
#include "active_main_window.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {

namespace {

using namespace sheet;

QAction* FileItem(TForm1& window, const char* name) {
    for (QAction* action : window.menuBar()->actions().at(0)->menu()->actions())
        if (action->objectName() == name) return action;
    return nullptr;
}

}  // namespace

class DocumentHabitsTest : public QObject {
    Q_OBJECT

private slots:
    // The dialogs start in the battle file's folder; a battle without a file starts where
    // the last dialog chose a file, else in the program's default.
    void fileDialogsStartInTheBattlesFolder() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QCOMPARE(window.DialogStart(), env.Path());
        const auto battles = env.Path() / "battles";
        std::filesystem::create_directories(battles);
        QVERIFY(window.SaveBattleFile(battles / "raid.kbf"));
        QCOMPARE(window.DialogStart(), battles);

        SimulationContext context;
        BattleDocument document(window.Rules(), context);
        DialogFolder folder(document, env.Path());
        folder.Used(battles / "sweep.csv");
        QCOMPARE(folder.Start(), battles);  // the last folder used, while the battle has no file
        QCOMPARE(folder.Proposed("sweep.png"), QString::fromStdString((battles / "sweep.png").string()));
        QVERIFY(document.OpenFile(battles / "raid.kbf").ok());
        folder.Used(env.Path() / "elsewhere.csv");
        QCOMPARE(folder.Start(), battles);  // the battle's own folder comes first
    }

    // A size the player gave the window is the size of the next start; one never changed
    // writes nothing.
    void theWindowsSizeIsKept() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        const auto settings = env.Path() / "Kestrin.ini";
        {
            TForm1 window({env.Path(), &messages});
            window.show();
            QVERIFY(window.close());
            QVERIFY(!std::filesystem::exists(settings));
        }
        {
            TForm1 window({env.Path(), &messages});
            window.show();
            window.resize(700, 500);
            QVERIFY(window.close());
        }
        TForm1 window({env.Path(), &messages});
        QCOMPARE(window.size(), QSize(700, 500));
    }

    // File > Copy Link puts the battle's fragment on the clipboard, and File > Open Link from
    // Clipboard reads it back as the same battle.
    void copyLinkGivesTheLinkOpenLinkReads() {
        testing::ActiveMainWindow w;
        w.Type(kAttShips, UnitRow(1), "1234");
        QAction* copy = FileItem(w.window, "CopyLink");
        QVERIFY(copy != nullptr);
        QCOMPARE(FileItem(w.window, "OpenLink")->text(), QString("Open &Link from Clipboard"));
        copy->trigger();
        const QString link = QApplication::clipboard()->text();
        QVERIFY(link.startsWith("#battle="));
        w.window.Document().ClearAll();
        QCOMPARE(w.Cell(kAttShips, UnitRow(1)), "");
        FileItem(w.window, "OpenLink")->trigger();
        QCOMPARE(w.Cell(kAttShips, UnitRow(1)), "1234");
        QVERIFY(w.messages.warnings.isEmpty());
    }

    // Seven-digit counts widen their columns: the window widens with them, so the attacker's
    // Left column stays in view.
    void theWindowWidensForColumnsThatGrew() {
        testing::ActiveMainWindow w;
        w.window.resize(671, 454);
        QVERIFY(QTest::qWaitFor([&] { return w.window.width() == 671; }));
        w.Type(kAttShips, UnitRow(1), "1234567");
        w.Type(kDefShips, UnitRow(1), "7654321");
        QVERIFY(w.Grid().ContentWidth() > 671);
        QVERIFY(QTest::qWaitFor([&] { return w.Grid().viewport()->width() >= w.Grid().ContentWidth(); }));
    }
};

KESTRIN_UI_TEST(DocumentHabitsTest);

}  // namespace kestrin

#include "document_habits_test.moc"
