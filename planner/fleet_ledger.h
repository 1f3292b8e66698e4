#pragma once

#include <map>
#include <optional>
#include <vector>

#include "planner/fleet_evaluator.h"

namespace kestrin {

/// Counts of the varied rows, in the request's order.
using Fleet = std::vector<std::int32_t>;

/// What a search has tried: every fleet evaluated with its outcome, the best so far and the
/// evaluations left. Fleets are tried in batches on the evaluator's workers; the best is
/// decided in the order the fleets were given, so it never depends on the workers.
class FleetLedger {
public:
    FleetLedger(FleetEvaluator& evaluator, const FleetSearchRequest& request, const FleetSearchControl& control,
                std::int64_t planned);

    /// The outcomes of `fleets`, index for index: those tried before from memory, the others
    /// evaluated while the budget lasts; none for a fleet beyond the budget or cancelled.
    std::vector<std::optional<FleetOutcome>> Try(const std::vector<Fleet>& fleets);

    /// No evaluation is left, or the caller cancelled.
    bool Done() const;
    bool Cancelled() const;
    std::int64_t Evaluations() const { return evaluations_; }
    /// The best fleet tried so far; empty before the first.
    const std::optional<Fleet>& Best() const { return best_; }
    const FleetOutcome& BestOutcome() const { return bestOutcome_; }

private:
    void Consider(const Fleet& fleet, const FleetOutcome& outcome);

    FleetEvaluator& evaluator_;
    const FleetSearchRequest& request_;
    const FleetSearchControl& control_;
    std::int64_t planned_;
    std::int64_t evaluations_ = 0;
    std::map<Fleet, FleetOutcome> tried_;
    std::optional<Fleet> best_;
    FleetOutcome bestOutcome_;
};

}  // namespace kestrin
