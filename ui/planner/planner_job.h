#pragma once

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "planner/worker_pool.h"

namespace kestrin {

class PlannerJob;

/// Which piece of the planner's work has the cores: one at a time, so that a sweep and a
/// search never both run a worker on every core. Jobs of one name are one piece of work (the
/// sweep and its pass over every value; a cancelled pass finishing beside the next sweep).
/// Owned by the planner window and shared by its pages' jobs; used on the window's thread
/// only.
class PlannerCores {
public:
    /// Takes the cores for `job`: "" when it has them, else why not, in a word to the player.
    std::string Claim(const PlannerJob& job);
    /// `job` is done with the cores.
    void Release(const PlannerJob& job);

private:
    struct Holder {
        const PlannerJob* job;
        const char* name;  // kept apart: a holder is never looked into
    };
    std::vector<Holder> holders_;
};

/// What a job says of itself: "sweep", and its message when the memory runs out.
struct PlannerJobTexts {
    const char* name;
    const char* outOfMemory;
};

/// The planner's two jobs.
inline constexpr PlannerJobTexts kSweepJob{
    "sweep", "Out of memory: the sweep needs more memory than there is. Try fewer points or ticks."};
inline constexpr PlannerJobTexts kSearchJob{
    "search", "Out of memory: the search needs more memory than there is. Try fewer ticks."};

/// Runs one piece of planner work at a time off the window's thread and reports back on it:
/// Progress while it runs, Finished when it ended (done, cancelled or failed). Whatever the
/// work throws becomes Error(); nothing reaches std::terminate. A job that cannot start (the
/// cores taken by the other page's work, no thread, no memory) says why and can start again.
///
/// Lives on the window's thread. The cores must outlive the job; destroying a job cancels its
/// work and waits for it.
class PlannerJob : public QObject {
    Q_OBJECT

public:
    /// Told (done, total) by the work, from any thread, one call at a time.
    using ProgressReport = std::function<void(std::int64_t done, std::int64_t total)>;
    /// The work: stops soon once `cancel` is set; what it produces it leaves where its owner
    /// will look once Finished is signalled.
    using Work = std::function<void(const std::atomic<bool>& cancel, const ProgressReport& progress)>;

    PlannerJob(PlannerCores& cores, PlannerJobTexts texts, const ThreadStarter& threads = SystemThreads(),
               QObject* parent = nullptr);
    ~PlannerJob() override;

    /// Starts `work`; nothing while a run is on. Returns "" or why it did not start.
    [[nodiscard]] std::string Start(Work work);
    /// Asks the work to stop.
    void Cancel() { cancel_ = true; }
    bool Running() const { return running_; }
    /// Why the last run failed, or "" when it finished or was cancelled.
    const std::string& Error() const { return error_; }
    const char* Name() const { return texts_.name; }

signals:
    /// The work's progress; only a change of a thousandth is signalled.
    void Progress(int done, int total);
    void Finished();

private:
    void Run(const Work& work);
    bool Post(const std::string& error) noexcept;
    void Done(const std::string& error);

    PlannerCores& cores_;
    const PlannerJobTexts texts_;
    const ThreadStarter& threads_;
    JoiningThread thread_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> closing_{false};
    bool running_ = false;
    std::string error_;
};

}  // namespace kestrin
