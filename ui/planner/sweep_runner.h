#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <utility>

#include "planner/battle_sweep.h"
#include "planner/sweep_findings.h"

namespace kestrin {

/// The error of a sweep that ran out of memory.
inline constexpr const char* kSweepOutOfMemory =
    "Out of memory: the sweep needs more memory than there is. Try fewer points or ticks.";

/// Runs one sweep at a time off the window's thread and reports back on it: Progress while it
/// runs, Finished when its result is ready. RunSweep's own workers use every core. A sweep
/// keeps its points (Start) or folds them into the findings (StartFindings).
///
/// Lives on the user-interface thread. The rules must outlive the runner; destroying the
/// runner cancels a running sweep and waits for it.
class SweepRunner : public QObject {
    Q_OBJECT

public:
    explicit SweepRunner(const BattleRules& rules, QObject* parent = nullptr);
    ~SweepRunner() override;

    /// Starts `request` with `workers` threads (0: one per core); nothing while one runs.
    /// Returns "" or why the sweep could not start (no thread, no memory for one): then
    /// nothing runs and a later Start may try again.
    [[nodiscard]] std::string Start(SweepRequest request, int workers = 0);
    /// Starts a pass over `request`'s values for their findings (RunFindingsPass), as Start
    /// starts a sweep; its tally is FindingsResult().
    [[nodiscard]] std::string StartFindings(SweepRequest request, int workers = 0);
    /// Asks the running sweep to stop after the points its workers are on.
    void Cancel() { cancel_ = true; }
    /// Whether a sweep runs.
    bool Running() const { return running_; }
    /// The last finished sweep's result (cancelled: partial; failed: no points).
    const SweepResult& Result() const { return result_; }
    /// Hands the last finished sweep's result over, leaving none here.
    SweepResult TakeResult() { return std::exchange(result_, SweepResult{}); }
    /// The last finished findings pass (cancelled: partial; failed: empty).
    const FindingsPass& FindingsResult() const { return findings_; }
    /// Why the last sweep failed (out of memory), or "" when it finished or was cancelled.
    const std::string& Error() const { return error_; }

signals:
    /// Points finished so far of all; at most about a thousand signals per sweep.
    void Progress(int done, int total);
    /// The sweep ended (done, cancelled or failed); Result() holds it.
    void Finished();

private:
    // A sweep's result or findings, or why it failed.
    struct Outcome {
        SweepResult result;
        FindingsPass findings;
        std::string error;
    };
    std::string Launch(SweepRequest request, int workers, bool findings);
    void Run(const SweepRequest& request, int workers, bool findings);
    void Done(std::shared_ptr<Outcome> outcome);

    const BattleRules& rules_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
    SweepResult result_;
    FindingsPass findings_;
    std::string error_;
};

}  // namespace kestrin
