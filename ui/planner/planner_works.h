#pragma once

#include <memory>
#include <vector>

#include "planner/battle_sweep.h"
#include "planner/sweep_findings.h"
#include "ui/planner/best_fleet_page.h"
#include "ui/planner/planner_job.h"

namespace kestrin {

/// The planner pages' work for a PlannerJob. Each leaves its answer in the object it is given,
/// which the page reads once the job has finished; a failed run leaves it as it was made.
/// `workers` 0 means one per core.

/// A sweep of `request`, into `result`.
PlannerJob::Work SweepWork(const BattleRules& rules, SweepRequest request, std::shared_ptr<SweepResult> result,
                           int workers = 0);

/// A pass over every value of `request` for the findings (RunFindingsPass), into `pass`.
PlannerJob::Work FindingsWork(const BattleRules& rules, SweepRequest request, std::shared_ptr<FindingsPass> pass,
                              int workers = 0);

/// A fleet search of `request`, and beside it the battle of the grid's fleet `gridCounts`, into
/// `outcome`.
PlannerJob::Work SearchWork(const BattleRules& rules, FleetSearchRequest request, std::vector<std::int32_t> gridCounts,
                            std::shared_ptr<FleetSearchOutcome> outcome, int workers = 0);

}  // namespace kestrin
