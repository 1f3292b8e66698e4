// The fleet advisor against brute force (whole small spaces, and the search on spaces just above
// the whole-space limit), with one and two workers, stopped by its budget, its space and Cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <tuple>

#include "planner/battle_sweep.h"
#include "planner/fleet_ledger.h"
#include "planner/fleet_search.h"
#include "planner/fleet_space.h"
#include "planner/fleet_space_search.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// A raid: pods and a few warship types against a random defence holding asteroids.
FleetSearchRequest RandomRaid(std::mt19937& rng, int variedRows, std::int32_t most) {
    SheetFixture f;
    std::uniform_int_distribution<int> type(0, 47), count(50, 4000);
    for (int i = 0; i < 4; ++i) f.Put(kDefShips, UnitRow(type(rng)), count(rng));
    for (int k = 0; k < kRoidKinds; ++k) f.Put(kDefShips, kFirstRoidRow + k, count(rng) / 10);
    FleetSearchRequest request;
    request.rows.push_back({UnitRow(kAstroPod), most});
    while (static_cast<int>(request.rows.size()) < variedRows) {
        const int row = UnitRow(type(rng));
        if (std::ranges::none_of(request.rows, [row](const VariedRow& v) { return v.row == row; }))
            request.rows.push_back({row, most});
    }
    for (const VariedRow& varied : request.rows) f.Put(kAttShips, varied.row, count(rng) % (most + 1));
    f.Put(kAttShips, UnitRow(type(rng)), count(rng));  // a type the advisor leaves as it is
    request.battle = SheetInputs(f.sheet.Cells());
    return request;
}

// A plain reading of the goals: the rank of an outcome, lower is better, and the limits.
std::tuple<long double, long double, long double> Rank(const FleetAim& aim, const FleetOutcome& o) {
    switch (aim.goal) {
        case FleetGoal::Roids: return {-o.roids, o.loss, o.sentValue};
        case FleetGoal::LossPerRoid: return {static_cast<long double>(o.loss) / o.roids, -o.roids, o.sentValue};
        case FleetGoal::SmallestFleet: return {-o.roids, o.sentValue, o.loss};
    }
    return {};
}

bool WithinLimits(const FleetAim& aim, const FleetOutcome& o) {
    if (aim.goal == FleetGoal::LossPerRoid && o.roids < std::max<std::int64_t>(aim.minRoids, 1)) return false;
    return !aim.maxLoss || o.loss <= *aim.maxLoss;
}

// The outcome of every fleet of the space, in index order (the first row most significant), by
// one sweep of the last row for each count of the others.
std::vector<FleetOutcome> BruteForce(const FleetSearchRequest& request) {
    std::vector<FleetOutcome> outcomes;
    const FleetCosts costs = FleetCosts::From(DefaultRules().catalogue);
    const VariedRow& last = request.rows.back();
    std::vector<std::int32_t> others(request.rows.size() - 1, 0);
    for (;;) {
        SweepRequest sweep{request.battle, {Side::Attacker, last.row}, {}, request.ticks};
        for (std::size_t i = 0; i < others.size(); ++i)
            sweep.battle.Ships[Idx(Side::Attacker)][request.rows[i].row - kFirstUnitRow] = others[i];
        for (std::int32_t count = 0; count <= last.most; ++count) sweep.values.push_back(count);
        BattleState start = sweep.battle;
        for (const SweepPoint& point : RunSweep(DefaultRules(), sweep, {.workers = 2}).points) {
            start.Ships[Idx(Side::Attacker)][last.row - kFirstUnitRow] = static_cast<std::int32_t>(point.value);
            outcomes.push_back(OutcomeOf(WholeBattleFigures(point.ticks), FleetValue(start.Ships[1], costs).value));
        }
        std::size_t i = others.size();
        while (i-- > 0 && ++others[i] > request.rows[i].most) others[i] = 0;
        if (i == static_cast<std::size_t>(-1)) return outcomes;
    }
}

TEST(FleetSearch, SmallSpacesGiveTheBruteForceOptimumOfEveryGoal) {
    std::mt19937 rng(2024);
    for (int battle = 0; battle < 12; ++battle) {
        SCOPED_TRACE("battle " + std::to_string(battle));
        FleetSearchRequest request = RandomRaid(rng, 2, 40 + 5 * battle);
        request.ticks = 1 + battle % 3;
        request.aim = {static_cast<FleetGoal>(battle % 3), 1 + battle % 4, std::nullopt};
        if (battle % 2 == 1) request.aim.maxLoss = 60000 * battle;
        const FleetSearchResult result = FindBestFleet(DefaultRules(), request, {.workers = 2});
        EXPECT_TRUE(result.exhaustive);
        EXPECT_EQ(result.evaluations, FleetSpaceSize(request.rows));
        std::optional<FleetOutcome> best;
        for (const FleetOutcome& o : BruteForce(request))
            if (WithinLimits(request.aim, o) && (!best || Rank(request.aim, o) < Rank(request.aim, *best))) best = o;
        ASSERT_EQ(result.meetsLimits, best.has_value());
        if (best) {
            EXPECT_EQ(Rank(request.aim, result.best.outcome), Rank(request.aim, *best));
        }
    }
}

// Pods and two warship types up to 46 and 47 ships (106,032 fleets, just above the whole-space
// limit) against a defence that kills pods, on more asteroids than the pods can take: only
// fleets of nearly every pod with the escort that saves most of them capture the most.
FleetSearchRequest PodLimitedRaid(std::mt19937& rng) {
    SheetFixture f;
    std::uniform_int_distribution<int> warship(0, 47), defence(20, 90), roids(100, 400);
    for (int i = 0; i < 3; ++i) f.Put(kDefShips, UnitRow(warship(rng)), defence(rng));
    for (int k = 0; k < kRoidKinds; ++k) f.Put(kDefShips, kFirstRoidRow + k, roids(rng));
    f.Put(kDefShips, kScoreRow, 400000);
    FleetSearchRequest request;
    request.rows = {{UnitRow(kAstroPod), 46}};
    while (request.rows.size() < 3) {
        const int row = UnitRow(warship(rng));
        if (std::ranges::none_of(request.rows, [row](const VariedRow& v) { return v.row == row; }))
            request.rows.push_back({row, 46});
    }
    request.rows[2].most = 47;
    request.battle = SheetInputs(f.sheet.Cells());
    request.ticks = 3;
    return request;
}

// The search itself on a space whose outcomes are known: no battle, the table answers.
FleetLedger TableLedger(const std::vector<FleetOutcome>& table, const FleetSpace& space, const FleetAim& aim,
                        std::int64_t evaluations) {
    const auto source = [&table, &space](std::span<const std::int32_t> flat, std::span<std::optional<FleetOutcome>> out,
                                         const std::atomic<bool>*) {
        for (std::size_t f = 0; f < out.size(); ++f) {
            std::int64_t index = 0;
            for (std::size_t r = 0; r < space.Rows(); ++r) index = index * (space.Most(r) + 1) + flat[f * space.Rows() + r];
            out[f] = table[static_cast<std::size_t>(index)];
        }
    };
    return FleetLedger(space.Rows(), aim, source, {}, evaluations);
}

// The default budget.
constexpr std::int64_t kBudget = 10000;

// Searches the space of `request` (bounds `most`) at the default budget with two seeds for every
// goal, for the rarest asteroids as --min-roids and for a loss few fleets keep to, and expects
// the brute-force optimum each time.
void ExpectTheOptimumOfEveryAim(const FleetSearchRequest& request, const std::vector<std::int32_t>& most) {
    const std::vector<FleetOutcome> table = BruteForce(request);
    const FleetSpace space(most);
    ASSERT_EQ(static_cast<std::int64_t>(table.size()), space.Size());
    ASSERT_GT(space.Size(), kExhaustiveFleets);
    std::vector<std::int64_t> losses, roids;
    for (const FleetOutcome& o : table) {
        losses.push_back(o.loss);
        roids.push_back(o.roids);
    }
    std::ranges::sort(losses);
    std::ranges::sort(roids);
    const std::int64_t fewLoss = losses[losses.size() / 100];
    const std::int64_t rareRoids = roids[roids.size() * 995 / 1000];
    for (const FleetAim& aim : {FleetAim{FleetGoal::Roids, 1, {}}, FleetAim{FleetGoal::LossPerRoid, 1, {}},
                                FleetAim{FleetGoal::SmallestFleet, 1, {}}, FleetAim{FleetGoal::LossPerRoid, rareRoids, {}},
                                FleetAim{FleetGoal::Roids, 1, fewLoss}, FleetAim{FleetGoal::SmallestFleet, 1, fewLoss}}) {
        SCOPED_TRACE("goal " + std::to_string(static_cast<int>(aim.goal)) + " min " + std::to_string(aim.minRoids) +
                     " max loss " + std::to_string(aim.maxLoss.value_or(-1)));
        std::size_t best = 0;
        for (std::size_t i = 1; i < table.size(); ++i)
            if (BetterOutcome(aim, table[i], table[best])) best = i;
        for (std::uint64_t seed : {1, 2}) {
            FleetLedger ledger = TableLedger(table, space, aim, kBudget);
            SearchFleetSpace(ledger, space, GridFleet(request), seed);
            EXPECT_EQ(ledger.Evaluations(), kBudget);
            EXPECT_FALSE(BetterOutcome(aim, table[best], ledger.BestOutcome())) << "seed " << seed;
        }
    }
}

TEST(FleetSearch, SpacesJustAboveTheWholeLimitGiveTheOptimumOfEveryGoalAndLimitAtTheDefaultBudget) {
    std::mt19937 rng(31);
    for (int battle = 0; battle < 2; ++battle) {
        SCOPED_TRACE("battle " + std::to_string(battle));
        const FleetSearchRequest request = PodLimitedRaid(rng);
        ExpectTheOptimumOfEveryAim(request, {46, 46, 47});
    }
}

// Raids whose best fleets for every aim are single fleets that a lattice over the whole
// budget misses (one in ten fleets tried, evenly spread): the optimum is a fleet between the
// lattice's points, often at 0 of one row, and the plateaus' least loss or value is one fleet.
// Each is a list of (column, row, count) cells and the varied rows with their bounds.
struct HardRaid {
    std::vector<std::array<long long, 3>> cells;
    std::vector<VariedRow> rows;
};

TEST(FleetSearch, RaidsWhoseBestALatticeMissesGiveTheOptimumOfEveryAim) {
    const HardRaid raids[] = {
        {{{7, 8, 23}, {7, 10, 36}, {7, 31, 12}, {1, 32, 16}, {1, 53, 44}, {1, 60, 226}, {1, 61, 61}, {1, 62, 168},
          {1, 63, 266}, {1, 65, 14157880}},
         {{8, 64}, {10, 101}, {31, 17}}},
        {{{7, 8, 61}, {7, 2, 56}, {7, 36, 12}, {1, 12, 18}, {1, 21, 8}, {1, 52, 24}, {1, 28, 26}, {7, 30, 30}, {1, 60, 6},
          {1, 61, 16}, {1, 62, 1}, {1, 63, 100}, {1, 65, 18914378}},
         {{8, 68}, {2, 58}, {36, 29}}},
    };
    for (const HardRaid& raid : raids) {
        SCOPED_TRACE("raid varying row " + std::to_string(raid.rows[0].row));
        SheetFixture f;
        for (const auto& [col, row, count] : raid.cells) f.Put(static_cast<int>(col), static_cast<int>(row), count);
        FleetSearchRequest request;
        request.battle = SheetInputs(f.sheet.Cells());
        request.rows = raid.rows;
        request.ticks = 3;
        std::vector<std::int32_t> most;
        for (const VariedRow& varied : raid.rows) most.push_back(varied.most);
        ExpectTheOptimumOfEveryAim(request, most);
    }
}

TEST(FleetSearch, WorkersAgreeWithEachOtherAndWithTheSearchOfTheOutcomesAlone) {
    std::mt19937 rng(31);
    FleetSearchRequest request = PodLimitedRaid(rng);
    request.aim = {FleetGoal::SmallestFleet, 1, {}};
    request.evaluations = 3000;
    request.seed = 9;
    const FleetSearchResult one = FindBestFleet(DefaultRules(), request, {.workers = 1});
    const FleetSearchResult two = FindBestFleet(DefaultRules(), request, {.workers = 2});
    EXPECT_EQ(one.best.counts, two.best.counts);
    EXPECT_EQ(one.best.ticks, two.best.ticks);
    EXPECT_EQ(one.evaluations, 3000);
    EXPECT_EQ(one.space, 106032);
    EXPECT_EQ(one.stop, FleetSearchStop::BudgetSpent);
    EXPECT_FALSE(one.exhaustive);
    // The same search on the table of outcomes walks the same way to the same fleet.
    const FleetSpace space({46, 46, 47});
    const std::vector<FleetOutcome> table = BruteForce(request);
    FleetLedger ledger = TableLedger(table, space, request.aim, 3000);
    SearchFleetSpace(ledger, space, GridFleet(request), request.seed);
    EXPECT_EQ(std::vector(ledger.Best().begin(), ledger.Best().end()), one.best.counts);
}

TEST(FleetSearch, ABudgetThatCoversTheSpaceTriesItWhole) {
    std::mt19937 rng(31);
    FleetSearchRequest request = PodLimitedRaid(rng);
    request.ticks = 1;
    request.rows = {{request.rows[0].row, 316}, {request.rows[1].row, 316}};  // 100,489 fleets
    request.evaluations = 200000;
    const FleetSearchResult result = FindBestFleet(DefaultRules(), request, {.workers = 2});
    EXPECT_EQ(result.evaluations, 100489);
    EXPECT_EQ(result.space, 100489);
    EXPECT_EQ(result.stop, FleetSearchStop::SpaceSearched);
    EXPECT_TRUE(result.exhaustive);
}

TEST(FleetSearch, CancelKeepsTheBestFleetFoundSoFar) {
    std::mt19937 rng(5);
    FleetSearchRequest request = RandomRaid(rng, 4, 5000);
    request.evaluations = 5000;
    std::atomic<bool> cancel{false};
    std::int64_t seen = 0;
    const FleetSearchResult result = FindBestFleet(DefaultRules(), request,
                                                   {.workers = 2, .progress = [&](std::int64_t done, std::int64_t) {
                                                        seen = done;
                                                        cancel = true;
                                                    }, .cancel = &cancel});
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.stop, FleetSearchStop::Cancelled);
    EXPECT_FALSE(result.exhaustive);
    EXPECT_EQ(result.evaluations, seen);
    EXPECT_LT(result.evaluations, 5000);
    // The answer is a fleet's true battle, and at least as good as the grid's fleet.
    EXPECT_EQ(EvaluateFleet(DefaultRules(), request, result.best.counts).ticks, result.best.ticks);
    EXPECT_FALSE(BetterOutcome(request.aim, EvaluateFleet(DefaultRules(), request, GridFleet(request)).outcome,
                               result.best.outcome));
}

// The ledger evaluates each fleet once, however often it is asked, keeps to its budget, and
// forgets what a cancel left undone.
TEST(FleetLedger, EvaluatesEachFleetOnceWithinTheBudget) {
    std::vector<std::vector<std::int32_t>> evaluated;
    std::atomic<bool> cancel{false};
    const auto source = [&](std::span<const std::int32_t> flat, std::span<std::optional<FleetOutcome>> out,
                            const std::atomic<bool>* stop) {
        for (std::size_t f = 0; f < out.size() && !(stop && stop->load()); ++f) {
            evaluated.push_back({flat[2 * f], flat[2 * f + 1]});
            out[f] = FleetOutcome{flat[2 * f], -flat[2 * f + 1], 0};
        }
    };
    FleetLedger ledger(2, {FleetGoal::Roids, 1, {}}, source, {{}, &cancel}, 4);
    const std::vector<std::optional<FleetOutcome>> first = ledger.Try(std::vector<std::int32_t>{1, 1, 2, 0, 1, 1});
    EXPECT_EQ(evaluated.size(), 2u);
    ASSERT_TRUE(first[2].has_value());
    EXPECT_EQ(first[2]->roids, 1);
    EXPECT_EQ(ledger.Evaluations(), 2);
    EXPECT_EQ(std::vector(ledger.Best().begin(), ledger.Best().end()), (std::vector<std::int32_t>{2, 0}));
    cancel = true;
    const std::vector<std::optional<FleetOutcome>> cancelled = ledger.Try(std::vector<std::int32_t>{5, 0, 2, 0});
    EXPECT_FALSE(cancelled[0].has_value());
    EXPECT_TRUE(cancelled[1].has_value());
    EXPECT_FALSE(ledger.Find(std::vector<std::int32_t>{5, 0}).has_value());
    cancel = false;
    ledger.Try(std::vector<std::int32_t>{5, 0, 6, 0, 7, 0, 8, 0});
    EXPECT_EQ(ledger.Evaluations(), 4);
    EXPECT_TRUE(ledger.Done());
    EXPECT_EQ(std::vector(ledger.Best().begin(), ledger.Best().end()), (std::vector<std::int32_t>{6, 0}));
    EXPECT_FALSE(ledger.Find(std::vector<std::int32_t>{7, 0}).has_value());
}

// A needle only the grid holds: in a space of eight million fleets whose every other fleet
// captures nothing, the grid's fleet alone captures an asteroid. The search tries it in its first
// batch (a budget of one fleet finds it) and, whatever the budget, seed and goal, answers it.
TEST(FleetSearch, TheGridsFleetIsAlwaysTriedAndNeverBeaten) {
    const FleetSpace space(std::vector<std::int32_t>{199, 199, 199});
    for (const std::vector<std::int32_t>& grid : {std::vector<std::int32_t>{37, 151, 3}, {199, 0, 122}, {1, 1, 1}}) {
        const auto source = [&grid](std::span<const std::int32_t> flat, std::span<std::optional<FleetOutcome>> out,
                                    const std::atomic<bool>*) {
            for (std::size_t f = 0; f < out.size(); ++f) {
                const bool needle = std::equal(grid.begin(), grid.end(), flat.begin() + static_cast<std::ptrdiff_t>(f * 3));
                out[f] = FleetOutcome{needle ? 1 : 0, 0, 1};
            }
        };
        for (const FleetAim& aim : {FleetAim{FleetGoal::Roids, 1, {}}, FleetAim{FleetGoal::SmallestFleet, 1, {}},
                                    FleetAim{FleetGoal::LossPerRoid, 1, {}}})
            for (const std::int64_t budget : {std::int64_t{1}, kBudget})
                for (const std::uint64_t seed : {1, 2, 3}) {
                    FleetLedger ledger(space.Rows(), aim, source, {}, budget);
                    SearchFleetSpace(ledger, space, grid, seed);
                    EXPECT_EQ(std::vector(ledger.Best().begin(), ledger.Best().end()), grid)
                        << "goal " << static_cast<int>(aim.goal) << " budget " << budget << " seed " << seed;
                }
    }
}

// Cancelled before it began: the answer is the grid's fleet, never an empty one.
TEST(FleetSearch, ASearchCancelledBeforeItBeganAnswersWithTheGridsFleet) {
    std::mt19937 rng(8);
    const std::atomic<bool> cancel{true};
    for (const auto& [rows, most] : {std::pair{2, 50}, std::pair{3, 5000}}) {  // a space tried whole, one searched
        const FleetSearchRequest request = RandomRaid(rng, rows, most);
        const FleetSearchResult result = FindBestFleet(DefaultRules(), request, {.workers = 2, .cancel = &cancel});
        EXPECT_TRUE(result.cancelled);
        EXPECT_EQ(result.best.counts, GridFleet(request));
        EXPECT_EQ(result.best.ticks, EvaluateFleet(DefaultRules(), request, GridFleet(request)).ticks);
    }
}

TEST(FleetSearch, RefusesRequestsItCannotSearch) {
    FleetSearchRequest request;
    const ShipCatalogue& catalogue = DefaultRules().catalogue;
    EXPECT_NE(CheckFleetSearch(catalogue, request), "");
    request.rows = {{UnitRow(kAstroPod), 10}};
    EXPECT_EQ(CheckFleetSearch(catalogue, request), "");
    for (const std::vector<VariedRow>& rows : std::vector<std::vector<VariedRow>>{
             {{UnitRow(kAstroPod), 10}, {UnitRow(kAstroPod), 3}}, {{UnitRow(kMesonicCutter), 10}},
             {{kFirstRoidRow, 10}}, {{UnitRow(kHarpy), -1}}}) {
        request.rows = rows;
        EXPECT_NE(CheckFleetSearch(catalogue, request), "");
    }
    EXPECT_EQ(FleetSpaceSize({{1, 2147483647}, {2, 2147483647}, {3, 2147483647}}), INT64_MAX);
}

}  // namespace
}  // namespace kestrin
