#include "ui/planner/planner_works.h"

namespace kestrin {

namespace {

// The progress callback keeps a reference to `progress`: the control lives within the work.
SweepControl SweepControlFor(int workers, const std::atomic<bool>& cancel, const PlannerJob::ProgressReport& progress) {
    SweepControl control;
    control.workers = workers;
    control.cancel = &cancel;
    control.progress = [&progress](std::size_t done, std::size_t total) {
        progress(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
    };
    return control;
}

}  // namespace

PlannerJob::Work SweepWork(const BattleRules& rules, SweepRequest request, std::shared_ptr<SweepResult> result,
                           int workers) {
    return [&rules, request = std::move(request), result = std::move(result), workers](
               const std::atomic<bool>& cancel, const PlannerJob::ProgressReport& progress) {
        *result = RunSweep(rules, request, SweepControlFor(workers, cancel, progress));
    };
}

PlannerJob::Work FindingsWork(const BattleRules& rules, SweepRequest request, std::shared_ptr<FindingsPass> pass,
                              int workers) {
    return [&rules, request = std::move(request), pass = std::move(pass), workers](
               const std::atomic<bool>& cancel, const PlannerJob::ProgressReport& progress) {
        *pass = RunFindingsPass(rules, request, SweepControlFor(workers, cancel, progress));
    };
}

PlannerJob::Work SearchWork(const BattleRules& rules, FleetSearchRequest request, std::vector<std::int32_t> gridCounts,
                            std::shared_ptr<FleetSearchOutcome> outcome, int workers) {
    return [&rules, request = std::move(request), gridCounts = std::move(gridCounts), outcome = std::move(outcome),
            workers](const std::atomic<bool>& cancel, const PlannerJob::ProgressReport& progress) {
        FleetSearchControl control;
        control.workers = workers;
        control.cancel = &cancel;
        control.progress = progress;
        outcome->result = FindBestFleet(rules, request, control);
        outcome->grid = EvaluateFleet(rules, request, gridCounts);
    };
}

}  // namespace kestrin
