// Running out of memory while opening a battle file or reading a pasted report: a message,
// and the battle the window had.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <fstream>
#include <system_error>
#include <thread>

#include "sheet/document_test_seam.h"
#include "engine/battle_rules.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "ui/grid/battle_grid.h"
#include "ui/main/main_window.h"
#include "ui/scan_parser/parser_dialog.h"
#include "ui/planner/planner_works.h"
#include "ui/main/guarded_application.h"
#include "modal_watchdog.h"
#include "ui_test_registry.h"
#include "refusing_allocator.h"
#include "refusing_threads.h"
#include "ui_test_support.h"

namespace kestrin {

class OutOfMemoryTest : public QObject {
    Q_OBJECT

    static constexpr std::size_t kLarge = 1u << 20;

private slots:
    void aBattleFileTooLargeForTheMemoryIsReportedAndTheBattleKept() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(1, 1, "10");
        window.ReCalc();
        const SheetCells before = window.Sheet().Cells();
        const auto path = env.Path() / "huge.kbf";
        std::ofstream(path, std::ios::binary) << std::string(2 * kLarge, '1') << std::string(129 * 2, '\n');
        {
            testing::RefuseLargeAllocations refuse(kLarge);
            QVERIFY(!window.OpenBattleFile(path));
        }
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].startsWith("Out of memory"));
        QVERIFY(window.Sheet().Cells() == before);
        QVERIFY(window.Grid()->isVisibleTo(&window));
    }

    void aReportTooLargeForTheMemoryIsReportedAndTheBattleKept() {
        testing::UiTestEnvironment env;
        testing::RecordingMessages messages;
        TForm1 window({env.Path(), &messages});
        DocumentTestSeam::Sheet(window.Document()).SetCell(7, 1, "25");
        window.ReCalc();
        const SheetCells before = window.Sheet().Cells();
        TParserDialog& dialog = *window.ParserDialog();
        dialog.TextArea()->setPlainText(QString(QString(99, QChar('7')) + "\n").repeated(2 * kLarge / 100) + "Harpy 5\n");
        dialog.KindOption(ReportKind::Combat)->click();
        {
            testing::RefuseLargeAllocations refuse(kLarge);
            dialog.OkButton()->click();
        }
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].startsWith("Out of memory"));
        QVERIFY(window.Sheet().Cells() == before);
    }

    // The sweep's worker threads run out, or its own thread cannot start: the sweep ends with
    // a message, the program goes on, and the next sweep runs.
    void aSweepThatRunsOutOfMemoryOrCannotStartSaysSoAndRunsAgain() {
        const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
        SimulationContext context;
        BattleSheet sheet(rules, context);
        sheet.SetCell(sheet::kDefShips, 13, "800");
        PlannerCores cores;
        testing::RefusingThreads threads;
        PlannerJob job(cores, kSweepJob, threads);
        // A point of 100 ticks keeps 11 kB of figures.
        const SweepRequest request{SheetInputs(sheet.Cells()), {Side::Attacker, 1}, SweepValues({0, 1000, 50}), 100};
        auto result = std::make_shared<SweepResult>();
        {
            testing::RefuseLargeAllocations refuse(8 * 1024, true);  // the window's thread is spared
            QCOMPARE(job.Start(SweepWork(rules, request, result, 2)), std::string());
            QVERIFY(QTest::qWaitFor([&] { return !job.Running(); }, 20000));
        }
        QCOMPARE(job.Error(), std::string(kSweepJob.outOfMemory));
        QVERIFY(result->points.empty());
        threads.refusal = testing::RefusingThreads::Refusal::NoMemory;  // the thread's start
        QCOMPARE(job.Start(SweepWork(rules, request, result, 1)), std::string(kSweepJob.outOfMemory));
        QVERIFY(!job.Running());
        threads.refusal = testing::RefusingThreads::Refusal::None;
        QCOMPARE(job.Start(SweepWork(rules, request, result, 1)), std::string());
        QVERIFY(QTest::qWaitFor([&] { return !job.Running(); }, 20000));
        QCOMPARE(result->points.size(), std::size_t{50});
    }

    // What no handler reported reaches the event loop: the application object shows it in a
    // message, and the program goes on.
    void anExceptionReachingTheEventLoopIsReported() {
        QVERIFY(dynamic_cast<GuardedApplication*>(QCoreApplication::instance()) != nullptr);
        ThrowingObject target;
        target.failure = std::make_exception_ptr(
            std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again), "thread"));
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QVERIFY(QTest::qWaitFor([&] { return target.thrown == 1; }));
        target.failure = std::make_exception_ptr(std::bad_alloc());
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QVERIFY(QTest::qWaitFor([&] { return target.thrown == 2; }));
        QStringList shown;
        for (const testing::ClosedModal& box : testing::ModalWatchdog::Current().Take()) shown << box.text;
        QCOMPARE(shown, QStringList({"The last command could not be completed: thread: Resource temporarily unavailable",
                                     "Out of memory: the last command could not be completed"}));
    }

private:
    // An object whose handler of a user event throws, as a command that cannot finish would.
    struct ThrowingObject : QObject {
        std::exception_ptr failure;
        int thrown = 0;
        bool event(QEvent* event) override {
            if (event->type() != QEvent::User) return QObject::event(event);
            ++thrown;
            std::rethrow_exception(failure);
        }
    };
};

KESTRIN_UI_TEST(OutOfMemoryTest);

}  // namespace kestrin

#include "out_of_memory_test.moc"
