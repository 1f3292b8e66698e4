#include "fleet_search.h"

#include <algorithm>
#include <limits>
#include <set>

#include "planner/fleet_evaluator.h"
#include "planner/fleet_ledger.h"
#include "planner/fleet_pattern_search.h"
#include "planner/sweep_range.h"
#include "planner/worker_pool.h"
#include "sheet/row_captions.h"
#include "sheet/sheet_layout.h"

namespace kestrin {

namespace {

using namespace sheet;

// Fleets of the exhaustive search per batch: small enough for progress and Cancel to answer
// promptly, large enough to keep every worker busy.
constexpr std::size_t kExhaustiveBatch = 512;

// The fleet of `index` in the space, the first row as the most significant digit: in index
// order the fleets ascend row by row.
Fleet FleetAt(const std::vector<VariedRow>& rows, std::int64_t index) {
    Fleet fleet(rows.size());
    for (std::size_t i = rows.size(); i-- > 0;) {
        const std::int64_t values = std::int64_t{rows[i].most} + 1;
        fleet[i] = static_cast<std::int32_t>(index % values);
        index /= values;
    }
    return fleet;
}

void SearchExhaustively(FleetLedger& ledger, const std::vector<VariedRow>& rows, std::int64_t size) {
    for (std::int64_t first = 0; first < size && !ledger.Cancelled(); first += kExhaustiveBatch) {
        std::vector<Fleet> batch;
        for (std::int64_t index = first; index < std::min<std::int64_t>(size, first + kExhaustiveBatch); ++index)
            batch.push_back(FleetAt(rows, index));
        ledger.Try(batch);
    }
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

std::int64_t FleetSpaceSize(const std::vector<VariedRow>& rows) {
    std::int64_t size = 1;
    for (const VariedRow& varied : rows)
        if (__builtin_mul_overflow(size, std::int64_t{varied.most} + 1, &size)) return std::numeric_limits<std::int64_t>::max();
    return size;
}

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

FleetSearchResult FindBestFleet(const BattleRules& rules, const FleetSearchRequest& request,
                                const FleetSearchControl& control) {
    const std::int64_t size = FleetSpaceSize(request.rows);
    const bool exhaustive = size <= kExhaustiveFleets;
    const std::int64_t planned = exhaustive ? size : std::min(size, request.evaluations);
    FleetEvaluator evaluator(rules, request, WorkerCount(control.workers, static_cast<std::size_t>(planned)));
    FleetLedger ledger(evaluator, request, control, planned);
    // The grid's own fleet first: whatever stops the search, it has an answer.
    ledger.Try({GridFleet(request)});
    if (exhaustive) {
        SearchExhaustively(ledger, request.rows, size);
    } else {
        SearchByPatterns(ledger, request);
    }
    FleetSearchResult result;
    result.best = evaluator.Battle(*ledger.Best());
    result.meetsLimits = MeetsLimits(request.aim, result.best.outcome);
    result.evaluations = ledger.Evaluations();
    result.cancelled = ledger.Cancelled() && ledger.Evaluations() < planned;
    result.exhaustive = exhaustive && !result.cancelled;
    return result;
}

}  // namespace kestrin
