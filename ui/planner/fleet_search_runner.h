#pragma once

#include <QObject>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "planner/fleet_search.h"

namespace kestrin {

/// A finished search of the "Best Fleet" page: the advisor's answer and, beside it, the battle
/// of the fleet the grid holds.
struct FleetSearchOutcome {
    FleetSearchResult result;
    FleetBattle grid;
    std::string error;  ///< why there is no answer (out of memory), else empty
};

/// Runs one fleet search at a time off the window's thread and reports back on it: Progress
/// while it runs, Finished when its outcome is ready. FindBestFleet's own workers use every
/// core.
///
/// Lives on the user-interface thread. The rules must outlive the runner; destroying the
/// runner cancels a running search and waits for it.
class FleetSearchRunner : public QObject {
    Q_OBJECT

public:
    explicit FleetSearchRunner(const BattleRules& rules, QObject* parent = nullptr);
    ~FleetSearchRunner() override;

    /// Starts `request`, comparing with the grid's fleet `gridCounts`; nothing while one runs.
    void Start(FleetSearchRequest request, std::vector<std::int32_t> gridCounts, int workers = 0);
    /// Asks the running search to stop; its best fleet so far is the answer.
    void Cancel() { cancel_ = true; }
    /// Whether a search runs.
    bool Running() const { return running_; }
    /// Hands the last finished search over, leaving none here.
    std::optional<FleetSearchOutcome> TakeOutcome() { return std::exchange(outcome_, std::nullopt); }

signals:
    /// Evaluations done so far of those planned.
    void Progress(int done, int total);
    /// The search ended (done, cancelled or failed); TakeOutcome() holds it.
    void Finished();

private:
    void Done(std::shared_ptr<FleetSearchOutcome> outcome);

    const BattleRules& rules_;
    std::thread thread_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
    std::optional<FleetSearchOutcome> outcome_;
};

}  // namespace kestrin
