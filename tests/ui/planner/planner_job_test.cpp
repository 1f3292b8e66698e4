// The planner's background job: a start that fails, work that throws anything, and the cores
// shared by the sweep and the search.
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <stdexcept>

#include "refusing_threads.h"
#include "ui/planner/planner_job.h"
#include "ui_test_registry.h"

namespace kestrin {

class PlannerJobTest : public QObject {
    Q_OBJECT

    static void Finish(PlannerJob& job) { QVERIFY(QTest::qWaitFor([&] { return !job.Running(); }, 20000)); }

private slots:
    // No thread: the page is told why, nothing runs and the cores are free; the next start runs.
    void aJobWhoseThreadCannotStartSaysSoAndStartsAgain() {
        PlannerCores cores;
        testing::RefusingThreads threads;
        PlannerJob job(cores, kSearchJob, threads);
        PlannerJob other(cores, kSweepJob);
        threads.refusal = testing::RefusingThreads::Refusal::NoThread;
        QCOMPARE(job.Start([](const auto&, const auto&) {}),
                 std::string("Unable to start the search: thread: Resource temporarily unavailable"));
        QVERIFY(!job.Running());
        QCOMPARE(other.Start([](const auto&, const auto&) {}), std::string());
        Finish(other);
        threads.refusal = testing::RefusingThreads::Refusal::None;
        std::atomic<bool> ran{false};
        QSignalSpy finished(&job, &PlannerJob::Finished);
        QCOMPARE(job.Start([&](const auto&, const auto&) { ran = true; }), std::string());
        Finish(job);
        QVERIFY(ran);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(job.Error(), std::string());
    }

    // Whatever the work throws is the run's error, and the job runs again.
    void anyExceptionOfTheWorkIsReported() {
        PlannerCores cores;
        PlannerJob job(cores, kSweepJob);
        const std::vector<std::pair<PlannerJob::Work, std::string>> failures{
            {[](const auto&, const auto&) { throw std::runtime_error("no such row"); }, "The sweep failed: no such row"},
            {[](const auto&, const auto&) { throw 42; }, "The sweep failed."},
            {[](const auto&, const auto&) { throw std::bad_alloc(); }, kSweepJob.outOfMemory},
            {[](const auto&, const auto&) {}, ""}};
        for (const auto& [work, error] : failures) {
            QCOMPARE(job.Start(work), std::string());
            Finish(job);
            QCOMPARE(job.Error(), error);
        }
    }

    // While one page's work has the cores, the other's is refused with a word; once it is
    // done, the other runs.
    void oneJobAtATimeHasTheCores() {
        PlannerCores cores;
        PlannerJob sweep(cores, kSweepJob);
        PlannerJob search(cores, kSearchJob);
        std::atomic<bool> release{false};
        QCOMPARE(sweep.Start([&](const std::atomic<bool>& cancel, const auto&) {
                     while (!release && !cancel) std::this_thread::yield();
                 }),
                 std::string());
        QCOMPARE(search.Start([](const auto&, const auto&) {}), std::string("The sweep is running: wait for it or cancel it."));
        QVERIFY(!search.Running());
        release = true;
        Finish(sweep);
        QCOMPARE(search.Start([](const auto&, const auto&) {}), std::string());
        Finish(search);
    }
};

KESTRIN_UI_TEST(PlannerJobTest);

}  // namespace kestrin

#include "planner_job_test.moc"
