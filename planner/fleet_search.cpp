#include "fleet_search.h"

#include <algorithm>
#include <limits>
#include <set>

#include "planner/fleet_evaluator.h"
#include "planner/fleet_ledger.h"
#include "planner/fleet_space.h"
#include "planner/fleet_space_search.h"
#include "planner/sweep_range.h"
#include "planner/worker_pool.h"
#include "sheet/row_captions.h"
#include "sheet/sheet_layout.h"

namespace kestrin {

namespace {

using namespace sheet;

// Fleets held flat as the evaluator takes them.
std::vector<Fleet> Unflatten(std::span<const std::int32_t> flat, std::size_t rows) {
    std::vector<Fleet> fleets(flat.size() / rows);
    for (std::size_t f = 0; f < fleets.size(); ++f)
        fleets[f].assign(flat.begin() + static_cast<std::ptrdiff_t>(f * rows),
                         flat.begin() + static_cast<std::ptrdiff_t>((f + 1) * rows));
    return fleets;
}

// The evaluator behind the ledger's narrow interface: fleets held flat, outcomes by index.
// With a helper, the second half of a batch runs there while this process runs the first.
FleetOutcomeSource OutcomesOf(FleetEvaluator& evaluator, std::size_t rows, FleetHelper* helper) {
    return [&evaluator, rows, helper](std::span<const std::int32_t> flat,
                                      std::span<std::optional<FleetOutcome>> outcomes,
                                      const std::atomic<bool>* cancel) {
        const std::size_t lent = helper == nullptr ? 0 : std::min(outcomes.size() / 2, helper->Capacity(rows));
        const std::size_t kept = outcomes.size() - lent;
        if (lent > 0) helper->Start(flat.subspan(kept * rows), rows);
        const std::vector<std::optional<FleetOutcome>> found = evaluator.Outcomes(Unflatten(flat.first(kept * rows), rows), cancel);
        std::copy(found.begin(), found.end(), outcomes.begin());
        if (lent == 0) return;
        std::vector<FleetOutcome> lentOutcomes(lent);
        helper->Finish(lentOutcomes);
        std::copy(lentOutcomes.begin(), lentOutcomes.end(), outcomes.begin() + static_cast<std::ptrdiff_t>(kept));
    };
}

std::vector<std::int32_t> Bounds(const std::vector<VariedRow>& rows) {
    std::vector<std::int32_t> most;
    for (const VariedRow& varied : rows) most.push_back(varied.most);
    return most;
}

}  // namespace

std::string CheckFleetSearch(const ShipCatalogue& catalogue, const FleetSearchRequest& request) {
    if (request.rows.empty()) return "Choose at least one attacker row to vary";
    std::set<int> seen;
    for (const VariedRow& varied : request.rows) {
        const std::string caption(RowCaption(catalogue, Side::Attacker, varied.row));
        const bool unit = varied.row >= kFirstUnitRow && varied.row <= kLastUnitRow && !caption.empty();
        if (!unit) return "Row " + std::to_string(varied.row) + " is not a unit row of the attacker";
        if (!seen.insert(varied.row).second) return "The row '" + caption + "' is varied twice";
        if (varied.most < 0) return "The most ships of '" + caption + "' cannot be below 0";
    }
    if (request.ticks < 1 || request.ticks > kMaxSweepTicks)
        return "The advisor follows from 1 to " + std::to_string(kMaxSweepTicks) + " ticks, not " +
               std::to_string(request.ticks);
    if (request.evaluations < 1 || request.evaluations > kMaxFleetEvaluations)
        return "The advisor takes from 1 to " + std::to_string(kMaxFleetEvaluations) + " evaluations, not " +
               std::to_string(request.evaluations);
    if (request.aim.minRoids < 0) return "The fewest asteroids to capture cannot be below 0";
    if (request.aim.maxLoss && *request.aim.maxLoss < 0) return "The most fleet value to lose cannot be below 0";
    return {};
}

std::int64_t FleetSpaceSize(const std::vector<VariedRow>& rows) { return FleetSpace(Bounds(rows)).Size(); }

bool FleetSpaceBeyondRange(const std::vector<VariedRow>& rows) { return FleetSpace(Bounds(rows)).Beyond(); }

std::vector<std::int32_t> GridFleet(const FleetSearchRequest& request) {
    Fleet fleet;
    for (const VariedRow& varied : request.rows)
        fleet.push_back(std::clamp(request.battle.Ships[Idx(Side::Attacker)][varied.row - kFirstUnitRow], 0, varied.most));
    return fleet;
}

FleetBattle EvaluateFleet(const BattleRules& rules, const FleetSearchRequest& request,
                          const std::vector<std::int32_t>& counts) {
    return FleetEvaluator(rules, request, 1).Battle(counts);
}

FleetHelperWork::FleetHelperWork(const BattleRules& rules, const FleetSearchRequest& request)
    : rows_(request.rows.size()), evaluator_(std::make_unique<FleetEvaluator>(rules, request, 1)) {}

FleetHelperWork::~FleetHelperWork() = default;

void FleetHelperWork::Evaluate(std::span<const std::int32_t> fleets, std::span<FleetOutcome> outcomes) {
    const std::vector<std::optional<FleetOutcome>> found = evaluator_->Outcomes(Unflatten(fleets, rows_), nullptr);
    for (std::size_t f = 0; f < found.size(); ++f) outcomes[f] = *found[f];
}

FleetSearchResult FindBestFleet(const BattleRules& rules, const FleetSearchRequest& request,
                                const FleetSearchControl& control) {
    const FleetSpace space(Bounds(request.rows));
    // A budget that covers the space buys the certainty of trying it whole.
    const bool whole = space.Size() <= std::max(kExhaustiveFleets, request.evaluations);
    const std::int64_t planned = whole ? space.Size() : request.evaluations;
    FleetEvaluator evaluator(rules, request, WorkerCount(control.workers, static_cast<std::size_t>(planned)));
    FleetLedger ledger(space.Rows(), request.aim, OutcomesOf(evaluator, space.Rows(), control.helper),
                       {control.progress, control.cancel}, planned);
    if (whole) {
        WalkFleetSpace(ledger, space);
    } else {
        SearchFleetSpace(ledger, space, GridFleet(request), request.seed);
    }
    FleetSearchResult result;
    // Cancelled before its first fleet, the search answers with the grid's own.
    result.best = evaluator.Battle(ledger.Best().empty() ? GridFleet(request)
                                                         : Fleet(ledger.Best().begin(), ledger.Best().end()));
    result.meetsLimits = MeetsLimits(request.aim, result.best.outcome);
    result.space = space.Size();
    result.evaluations = ledger.Evaluations();
    result.stop = ledger.Evaluations() >= planned ? (whole ? FleetSearchStop::SpaceSearched : FleetSearchStop::BudgetSpent)
                                                  : FleetSearchStop::Cancelled;
    result.exhaustive = result.stop == FleetSearchStop::SpaceSearched;
    result.cancelled = result.stop == FleetSearchStop::Cancelled;
    return result;
}

}  // namespace kestrin
