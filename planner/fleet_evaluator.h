#pragma once

#include <atomic>
#include <optional>
#include <span>
#include <vector>

#include "planner/fleet_search.h"
#include "planner/point_battle.h"
#include "planner/worker_pool.h"
#include "sheet/fleet_value.h"

namespace kestrin {

/// Runs the battles of many fleets for one search request, on worker threads. Not for use by
/// two threads at once; the rules and the request must outlive it.
class FleetEvaluator {
public:
    FleetEvaluator(const BattleRules& rules, const FleetSearchRequest& request, int workers);

    /// The outcomes of `fleets` (counts of the varied rows), index for index; a fleet has none
    /// when `cancel` stopped the batch before it.
    std::vector<std::optional<FleetOutcome>> Outcomes(std::span<const std::vector<std::int32_t>> fleets,
                                                      const std::atomic<bool>* cancel);

    /// One fleet's whole battle, on the calling thread.
    FleetBattle Battle(const std::vector<std::int32_t>& counts);

private:
    // The first tick's inputs of a fleet: the battle's inputs with the varied rows set.
    BattleState Start(const std::vector<std::int32_t>& counts) const;
    // Runs a fleet on worker `w`'s PointBattle into that worker's tick buffer.
    const std::vector<SweepFigures>& Run(int worker, const std::vector<std::int32_t>& counts);

    const FleetSearchRequest& request_;
    const FleetCosts costs_;
    WorkerPool pool_;
    std::vector<PointBattle> battles_;                 // one per worker
    std::vector<std::vector<SweepFigures>> buffers_;  // one per worker
};

}  // namespace kestrin
