#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/battle_state.h"
#include "engine/shot_solver.h"
#include "planner/fleet_goal.h"
#include "planner/sweep_figures.h"
#include "sheet/number_format.h"

namespace kestrin {

/// One attacker unit row the advisor varies, from 0 to `most` ships.
struct VariedRow {
    int row = 0;
    std::int32_t most = 0;

    friend bool operator==(const VariedRow&, const VariedRow&) = default;
};

/// A search space of at most this many fleets is searched fleet by fleet.
inline constexpr std::int64_t kExhaustiveFleets = 100000;
/// Most evaluations one search may be given.
inline constexpr std::int64_t kMaxFleetEvaluations = 1000000;

/// What the advisor searches: the battle's inputs as the sheet's next recalculation reads them
/// (SheetInputs), the rows it varies with their bounds, the ticks to follow each fleet for and
/// the goal.
struct FleetSearchRequest {
    BattleState battle;
    std::vector<VariedRow> rows;
    int ticks = 1;
    SolverVariant solver = SolverVariant::New;
    FleetAim aim;
    /// Fleets to evaluate when the space is too large to try them all.
    std::int64_t evaluations = 10000;
    std::uint64_t seed = 1;
};

/// A second evaluator of the same request on a core this process's threads cannot reach (a
/// WebAssembly core in another Web Worker): it runs part of each batch while the search runs
/// the rest. A fleet's outcome does not depend on where it runs, so neither does the answer.
class FleetHelper {
public:
    virtual ~FleetHelper() = default;
    /// Most fleets of `rows` varied rows one Start may be given.
    virtual std::size_t Capacity(std::size_t rows) const = 0;
    /// Starts the battles of `fleets` (flat counts, `rows` per fleet) and returns.
    virtual void Start(std::span<const std::int32_t> fleets, std::size_t rows) = 0;
    /// Waits for the fleets last started and writes their outcomes, fleet for fleet; throws
    /// (std::runtime_error) when the helper failed.
    virtual void Finish(std::span<FleetOutcome> outcomes) = 0;
};

/// How a search runs. The callback's owner must outlive the run.
struct FleetSearchControl {
    /// Worker threads; 0 means one per core. The answer does not depend on it.
    int workers = 0;
    /// Told (evaluations done, evaluations planned) after each batch of fleets, from the
    /// calling thread.
    std::function<void(std::int64_t done, std::int64_t total)> progress = {};
    /// Set by the caller (from any thread) to stop; the best fleet so far is the answer.
    const std::atomic<bool>* cancel = nullptr;
    /// Takes the second half of each batch when set; the caller keeps it alive.
    FleetHelper* helper = nullptr;
};

/// A fleet's battle: the counts of the varied rows (in the request's order), its ticks and
/// their sum (WholeBattleFigures), and what the goals compare.
struct FleetBattle {
    std::vector<std::int32_t> counts;
    std::vector<SweepFigures> ticks;
    SweepFigures summed;
    FleetOutcome outcome;
};

/// Why a search ended.
enum class FleetSearchStop {
    /// Every fleet of the space was tried: the answer is the optimum.
    SpaceSearched,
    /// The evaluations asked for were spent: the answer is the best found, not proven best.
    BudgetSpent,
    /// The caller cancelled: the best fleet found until then.
    Cancelled,
};

/// The advisor's answer.
struct FleetSearchResult {
    FleetBattle best;
    /// Whether the best fleet keeps the goal's limits (asteroids asked for, loss allowed).
    bool meetsLimits = false;
    /// Fleets in the space (each varied row from 0 to its bound), saturating at the 64-bit range.
    std::int64_t space = 0;
    /// Distinct fleets evaluated.
    std::int64_t evaluations = 0;
    FleetSearchStop stop = FleetSearchStop::BudgetSpent;
    /// stop == SpaceSearched.
    bool exhaustive = false;
    /// stop == Cancelled.
    bool cancelled = false;
};

/// Why `request` cannot be searched (no row, a row that is no attacker unit row or is given
/// twice, a bound below 0, ticks outside 1..100, evaluations outside 1..1,000,000, a negative
/// limit), or an empty text. Rows are named by their captions on a sheet of `catalogue`'s ships.
std::string CheckFleetSearch(const ShipCatalogue& catalogue, const FleetSearchRequest& request);

/// Number of fleets in the space of `rows` (each from 0 to its bound), saturating at the
/// 64-bit range.
std::int64_t FleetSpaceSize(const std::vector<VariedRow>& rows);

/// Whether the space of `rows` holds more fleets than the 64-bit range (FleetSpaceSize then
/// gives the top of the range).
bool FleetSpaceBeyondRange(const std::vector<VariedRow>& rows);

/// The varied rows' counts as the battle holds them, each clamped to its bound.
std::vector<std::int32_t> GridFleet(const FleetSearchRequest& request);

/// The battle of one fleet (counts of the varied rows), as the sheet would compute it.
FleetBattle EvaluateFleet(const BattleRules& rules, const FleetSearchRequest& request,
                          const std::vector<std::int32_t>& counts);

class FleetEvaluator;

/// A helper's side of the work: the outcomes of the fleets another search hands it, one
/// evaluator kept from batch to batch. The rules and the request must outlive it.
class FleetHelperWork {
public:
    FleetHelperWork(const BattleRules& rules, const FleetSearchRequest& request);
    ~FleetHelperWork();
    /// The outcomes of `fleets` (flat counts), fleet for fleet.
    void Evaluate(std::span<const std::int32_t> fleets, std::span<FleetOutcome> outcomes);

private:
    std::size_t rows_;
    std::unique_ptr<FleetEvaluator> evaluator_;
};

/// Finds the fleet that best serves the request's aim. A space of at most kExhaustiveFleets
/// fleets, or of no more fleets than the evaluations asked for, is tried whole; a larger one
/// is searched with the evaluations asked for (see DESIGN.md). The answer depends only on the request, never on the workers or their timing.
/// What a worker throws (std::bad_alloc) is thrown again here once all have stopped.
FleetSearchResult FindBestFleet(const BattleRules& rules, const FleetSearchRequest& request,
                                const FleetSearchControl& control);

}  // namespace kestrin
