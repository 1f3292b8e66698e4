// The main window driven for real: start-up, menus and popup captions, tick buttons, battle
// files and the results panel.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <sys/stat.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QSlider>

#include "sheet/document_test_seam.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "ui/grid/battle_grid.h"
#include "ui/log/calc_log_window.h"
#include "ui/debug/debug_form.h"
#include "ui/common/read_notice.h"
#include "ui/main/main_window.h"
#include "ui/main/recent_files.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/setup/setup_form.h"
#include "ui/main/results_panel_widget.h"
#include "ui/ship_info/ship_matrix_form.h"
#include "ui_test_registry.h"
#include "ui_test_support.h"

namespace kestrin {
namespace {

// The texts as shown: a '&' marks the letter that chooses the item.
QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << (action->isSeparator() ? QString("-")
                                           : QString(action->text()).remove('&') + (action->isVisible() ? "" : " (hidden)"));
    return captions;
}

// Whether every shown item of `menu` and its submenus has a letter of its own in its menu.
bool EveryItemHasALetter(const QMenu* menu) {
    QSet<QChar> letters;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible()) continue;
        const QString text = action->text();
        const qsizetype at = text.indexOf('&');
        if (at < 0 || at + 1 >= text.size() || letters.contains(text[at + 1].toLower())) return false;
        letters.insert(text[at + 1].toLower());
        if (action->menu() != nullptr && !EveryItemHasALetter(action->menu())) return false;
    }
    return true;
}

QMenu* TopMenu(QMainWindow& window, const QString& title) {
    for (QAction* action : window.menuBar()->actions())
        if (QString(action->text()).remove('&') == title) return action->menu();
    return nullptr;
}

QString PanelText(TForm1& window, const char* element) {
    return window.Panel()->Element(element)->text();
}

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void startUpCreatesTheStatisticsFileAndCalculatesNothing() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QCOMPARE(window.windowTitle(), QString("Kestrin     v " KESTRIN_VERSION));
        QVERIFY(QFile::exists(QString::fromStdString((env.Path() / "ShipStats.ini").string())));
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(window.Sheet().Cell(5, 1), std::string());  // no recalculation yet
        QCOMPARE(PanelText(window, "DLoss"), QString("0"));
        QCOMPARE(PanelText(window, "TickIndicator"), QString("Tick 1"));
    }

    void aPasteTooLongForAnyReportIsRefusedWithAMessage() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        ScanTextArea& area = *window.ParserDialog()->TextArea();
        const QString hint = area.toPlainText();
        QApplication::clipboard()->setText(QString(ScanTextArea::kMaxInsert + 1, QLatin1Char('7')));
        area.paste();
        QCOMPARE(area.toPlainText(), hint);
        QCOMPARE(messages.warnings.size(), 1);
        QVERIFY(messages.warnings[0].startsWith("Nothing was pasted"));
        QApplication::clipboard()->setText(QString(ScanTextArea::kMaxInsert, QLatin1Char('7')));
        area.paste();
        QCOMPARE(area.toPlainText().size(), ScanTextArea::kMaxInsert);
    }

    // However long recent.ini has grown, Open Recent holds at most its eight entries, and a
    // file far larger than any list of eight is not read at all.
    void openRecentHoldsAtMostEightEntriesOfAnyRecentList() {
        testing::UiTestEnvironment env;
        const QString path = RecentFiles::Path();
        QStringList many;
        for (int i = 0; i < 20; ++i) many << QString("/battles/%1.kbf").arg(i);
        QSettings(path, QSettings::IniFormat).setValue("RecentBattleFiles", many);
        QCOMPARE(RecentFiles().Files(), many.mid(0, RecentFiles::kLimit));

        QFile huge(path);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write("[General]\nRecentBattleFiles=");
        for (int i = 0; i < 200000; ++i) huge.write(QString("/battles/%1.kbf, ").arg(i).toUtf8());
        huge.close();
        RecentFiles recent;
        QVERIFY(recent.Files().isEmpty());
        recent.Remember("/battles/new.kbf");
        QCOMPARE(RecentFiles().Files(), QStringList{"/battles/new.kbf"});
        QFile::remove(path);
    }

    void mainWindowOpensCentredAtItsSize() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.show();
        QCOMPARE(window.size(), QSize(671, 454));
        // Centred to the pixel, give or take a frame the window system may add around it.
        const QPoint offset = window.geometry().center() - window.screen()->availableGeometry().center();
        const int frame = window.geometry().left() - window.frameGeometry().left();
        QVERIFY2(std::abs(offset.x()) <= frame + 1 && std::abs(offset.y()) <= frame + 1,
                 qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void badStatisticsAreReportedOnceAndTheBuiltInValuesUsed() {
        testing::UiTestEnvironment env;
        QFile file(QString::fromStdString((env.Path() / "ShipStats.ini").string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Harpy]\r\nGuns=lots\r\n");
        file.close();
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].contains("Harpy"));
        QCOMPARE(window.Rules().catalogue.Field(0, ShipField::Guns), std::string("3"));
    }

    void statisticsFileThatIsAPipeNeitherHoldsStartUpNorIsUsed() {
        testing::UiTestEnvironment env;
        const auto stats = env.Path() / "ShipStats.ini";
        QCOMPARE(::mkfifo(stats.c_str(), 0600), 0);  // opening it would wait for a writer
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QCOMPARE(messages.errors, QStringList{QString::fromStdString(
                                      "Unable to read " + stats.string() +
                                      ": it is not a regular file; the built-in values are used instead")});
        QCOMPARE(window.Rules().tables.killRate[0][0], 0.048);
    }

    void menusCarryTheirExactCaptions() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QStringList titles;
        for (QAction* action : window.menuBar()->actions()) titles << action->text();
        QCOMPARE(titles, (QStringList{"&File", "&Grid", "&Results", "&Input", "&Parser"}));
        QCOMPARE(Captions(TopMenu(window, "File")),
                 (QStringList{"Open...", "Open Link from Clipboard", "Copy Link", "Save", "Save As...", "Open Recent", "-", "Setup", "-", "Exit"}));
        for (const char* menu : {"Grid", "Results", "Input"}) QVERIFY2(EveryItemHasALetter(TopMenu(window, menu)), menu);
        QCOMPARE(Captions(TopMenu(window, "Grid")),
                 (QStringList{"Undo", "Redo", "-", "Re - Calculate", "-", "Compress Grid", "Expand Grid", "Clear...", "-", "Show Race"}));
        QCOMPARE(Captions(TopMenu(window, "Results")),
                 (QStringList{"Hide Results", "-", "Show Calculation Log", "Update Log", "Unit Tables (hidden)",
                              "Debug Form (hidden)", "-", "Battle Planner..."}));
        QCOMPARE(Captions(TopMenu(window, "Input")), (QStringList{"Spin with Mouse", "Edit with Keyboard"}));
        QCOMPARE(Captions(window.PopupMenu()),
                 (QStringList{"Ship Stats", "-", "Re-Calc All", "Compress", "Expand", "Show Race", "Clear...", "-",
                              "Spin Input", "Edit Input"}));
        QCOMPARE(TopMenu(window, "File")->actions()[0]->shortcut(), QKeySequence("Ctrl+O"));
        QCOMPARE(TopMenu(window, "File")->actions()[0]->statusTip(), QString("Opens an existing file"));
    }

    void inputModeIsOneRadioPairInMenuAndPopup() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QMenu* input = TopMenu(window, "Input");
        QVERIFY(input->actions()[1]->isChecked());
        window.PopupMenu()->actions().at(8)->trigger();  // "Spin Input"
        QVERIFY(input->actions()[0]->isChecked());
        QVERIFY(!input->actions()[1]->isChecked());
        QVERIFY(window.Grid()->Mode() == BattleGrid::InputMode::Spin);
        input->actions()[1]->trigger();
        QVERIFY(window.PopupMenu()->actions().at(9)->isChecked());
        QVERIFY(window.Grid()->Mode() == BattleGrid::InputMode::Edit);
    }

    void hideResultsTwiceBringsThePanelBack() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.show();
        QAction* toggle = TopMenu(window, "Results")->actions()[0];
        toggle->trigger();
        QVERIFY(!window.Panel()->isVisible());
        QCOMPARE(toggle->text().remove('&'), QString("Show Results"));
        toggle->trigger();
        QVERIFY(window.Panel()->isVisible());
        QCOMPARE(toggle->text().remove('&'), QString("Hide Results"));
    }

    void tickButtonsStepTheBattleAndShowTheTick() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(1, 1, "10");
        DocumentTestSeam::Sheet(window.Document()).SetCell(7, 1, "20");
        window.ReCalc();
        QTest::mouseClick(window.Panel()->TickButton(), Qt::LeftButton);
        QCOMPARE(PanelText(window, "TickIndicator"), QString("Tick 2"));
        QCOMPARE(window.Sheet().Cell(1, 1), std::string("8"));
        QTest::mouseClick(window.Panel()->TickBackButton(), Qt::LeftButton);
        QCOMPARE(PanelText(window, "TickIndicator"), QString("Tick 1"));
        QCOMPARE(window.Sheet().Cell(1, 1), std::string("10"));
        QCOMPARE(PanelText(window, "DefLossGainLbl"), QString("Fleet Losses"));
        QCOMPARE(PanelText(window, "DLoss"), QString("-250"));
    }

    void battleFilesRoundTripAndBadFilesWarn() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(1, 3, "42");
        const auto path = env.Path() / "battle.kbf";
        QVERIFY(window.SaveBattleFile(path));
        window.Document().ClearAll();
        QVERIFY(window.OpenBattleFile(path));
        QCOMPARE(window.Sheet().Cell(1, 3), std::string("42"));
        QVERIFY(!window.OpenBattleFile(env.Path() / "missing.kbf"));
        QFile bad(QString::fromStdString((env.Path() / "bad.kbf").string()));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("1\r\n2\r\n");
        bad.close();
        QVERIFY(!window.OpenBattleFile(env.Path() / "bad.kbf"));
        // The texts as they always were, the file they speak of beneath.
        const auto named = [&](const char* text, const char* file) {
            return QString(text) + "\n\n" + QString::fromStdString((env.Path() / file).lexically_normal().string());
        };
        QCOMPARE(messages.warnings, (QStringList{named("That File Dosn't Exist !!!", "missing.kbf"),
                                                 named("Incorrect File Length !!!", "bad.kbf")}));
        QVERIFY(!window.SaveBattleFile(env.Path() / "bad.kbf" / "x.kbf"));
        QCOMPARE(messages.errors.size(), 1);
    }

    void battleFileLinesThatAreNoCountAreToldOnceWithoutABox() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        QByteArray bytes = "9.000\r\n12\r\n";
        for (int line = 3; line <= 130; ++line) bytes += "\r\n";
        const auto path = env.Path() / "odd.kbf";
        QFile file(QString::fromStdString(path.string()));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(window.OpenBattleFile(path));
        QVERIFY(messages.warnings.isEmpty() && messages.errors.isEmpty());
        QCOMPARE(window.Sheet().Cell(1, 1), std::string());  // read as before: no count, emptied
        QCOMPARE(window.Sheet().Cell(7, 1), std::string("12"));
        QVERIFY(!window.OpenNotice()->isHidden());
        QCOMPARE(window.OpenNotice()->Lines(),
                 QStringList{"line 1 (defender's Harpy): '9.000' is not a count: it counts as 0 and the cell was emptied"});
        QVERIFY(window.OpenNotice()->text().contains("odd.kbf"));
        window.ReCalc();  // the next change puts it away
        QVERIFY(window.OpenNotice()->isHidden());
    }

    void battleFileThatIsAPipeIsRefusedWithoutWaiting() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        const auto pipe = env.Path() / "pipe.kbf";
        QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);  // opening it would wait for a writer
        QVERIFY(!window.OpenBattleFile(pipe));
        QCOMPARE(messages.errors, QStringList{QString::fromStdString("Unable to read " + pipe.string() +
                                                                     ": it is not a regular file")});
    }

    void droppedBattleFileOpens() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(7, 2, "5");
        const auto path = env.Path() / "drop.kbf";
        QVERIFY(window.SaveBattleFile(path));
        window.Document().ClearAll();
        QVERIFY(window.acceptDrops());
        QVERIFY(window.OpenDroppedUrls({QUrl::fromLocalFile(QString::fromStdString(path.string()))}));
        QCOMPARE(window.Sheet().Cell(7, 2), std::string("5"));
    }

    // A link copied from a chat opens from the File menu; a clipboard without one is told.
    void openLinkOpensTheBattleTheClipboardHolds() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        SimulationContext context;
        BattleDocument shared{window.Rules(), context};
        shared.EndEdit(7, 2, "5");
        QAction* open = window.findChild<QAction*>("OpenLink");
        QVERIFY(open != nullptr);
        QApplication::clipboard()->setText("no link here");
        open->trigger();
        QCOMPARE(messages.warnings.size(), 1);
        QApplication::clipboard()->setText(QString::fromStdString(
            "https://kestrin.example.org/" + BattleLinkFragment(BattleFileBytes(shared.Sheet().Cells()))));
        open->trigger();
        QCOMPARE(window.Sheet().Cell(7, 2), std::string("5"));
        QCOMPARE(messages.warnings.size(), 1);
    }

    void secondaryWindowsAreCreatedInOrderAndHidden() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.show();
        QStringList order;
        for (QObject* child : window.children())
            if (auto* widget = qobject_cast<QWidget*>(child);
                widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(widget) == nullptr) {
                order << widget->metaObject()->className();
                QVERIFY(!widget->isVisible());
            }
        QCOMPARE(order, (QStringList{"kestrin::TForm2", "kestrin::TParserDialog", "kestrin::TShipDetailsForm",
                                     "kestrin::TDebugForm", "kestrin::TShipMatrixForm", "kestrin::TSetupForm",
                                     "kestrin::TPlannerForm"}));
    }

    void showCalculationLogComputesTheOutOfDateLogAndDebugAndUnitTablesHaveTheirKeys() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(1, 1, "10");
        DocumentTestSeam::Sheet(window.Document()).SetCell(7, 1, "20");
        window.ReCalc();
        TopMenu(window, "Results")->actions()[2]->trigger();  // "Show Calculation Log"
        QVERIFY(window.LogWindow()->isVisible());
        QVERIFY(window.LogWindow()->LogText()->toPlainText().startsWith("Initiatve Step  11  : Harpy"));
        QVERIFY(!window.LogWindow()->UpdateLogButton()->isEnabled());
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.DebugForm()->isVisible());
        QApplication::setActiveWindow(&window);
        QTest::keyClick(&window, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(window.UnitTables()->isVisible());
    }

    void setupColoursRecolourTheGridAtOnce() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        window.show();
        const QRect cell = window.Grid()->CellRect(1, 1);
        auto background = [&] { return window.Grid()->viewport()->grab().toImage().pixelColor(cell.left() + 2, cell.top() + 2); };
        QCOMPARE(background(), QColor(20, 20, 50));
        window.SetupForm()->Choice(AppearanceColour::ShipBgd)->click();
        window.SetupForm()->GreenSlider()->setValue(0);  // green full on
        QCOMPARE(background(), QColor(20, 255, 50));
    }
};

KESTRIN_UI_TEST(MainWindowTest);

}  // namespace
}  // namespace kestrin

#include "main_window_test.moc"
