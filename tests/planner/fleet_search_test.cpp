// The fleet advisor against brute force, against the grid's fleet and one-row sweeps, with one
// and two workers, and cancelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
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

// The outcome of every fleet of a two-row space, by one sweep of the second row per count of
// the first.
std::vector<FleetOutcome> BruteForce(const FleetSearchRequest& request) {
    std::vector<FleetOutcome> outcomes;
    const FleetCosts costs = FleetCosts::From(DefaultRules().catalogue);
    for (std::int32_t first = 0; first <= request.rows[0].most; ++first) {
        SweepRequest sweep{request.battle, {Side::Attacker, request.rows[1].row}, {}, request.ticks};
        sweep.battle.Ships[Idx(Side::Attacker)][request.rows[0].row - kFirstUnitRow] = first;
        for (std::int32_t second = 0; second <= request.rows[1].most; ++second) sweep.values.push_back(second);
        BattleState start = sweep.battle;
        for (const SweepPoint& point : RunSweep(DefaultRules(), sweep, {.workers = 1}).points) {
            start.Ships[Idx(Side::Attacker)][request.rows[1].row - kFirstUnitRow] = static_cast<std::int32_t>(point.value);
            outcomes.push_back(OutcomeOf(WholeBattleFigures(point.ticks), FleetValue(start.Ships[1], costs).value));
        }
    }
    return outcomes;
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

TEST(FleetSearch, SixRowsAreNeverWorseThanTheGridNorAnyOneRowSweepAndWorkersAgree) {
    std::mt19937 rng(77);
    for (int battle = 0; battle < 3; ++battle) {
        SCOPED_TRACE("battle " + std::to_string(battle));
        FleetSearchRequest request = RandomRaid(rng, 6, 3000);
        request.ticks = 2;
        request.evaluations = 400;
        request.aim.goal = static_cast<FleetGoal>(battle);
        const FleetSearchResult one = FindBestFleet(DefaultRules(), request, {.workers = 1});
        const FleetSearchResult two = FindBestFleet(DefaultRules(), request, {.workers = 2});
        EXPECT_FALSE(one.exhaustive);
        EXPECT_EQ(one.evaluations, 400);
        EXPECT_EQ(one.best.counts, two.best.counts);
        const FleetAim& aim = request.aim;
        EXPECT_FALSE(BetterOutcome(aim, EvaluateFleet(DefaultRules(), request, GridFleet(request)).outcome, one.best.outcome));
        for (const VariedRow& varied : request.rows) {
            const SweepRequest sweep{request.battle, {Side::Attacker, varied.row},
                                     SweepValues({0, varied.most, 17}), request.ticks};
            for (const SweepPoint& point : RunSweep(DefaultRules(), sweep, {.workers = 2}).points) {
                std::vector<std::int32_t> counts = GridFleet(request);
                counts[static_cast<std::size_t>(&varied - request.rows.data())] = static_cast<std::int32_t>(point.value);
                const FleetBattle swept = EvaluateFleet(DefaultRules(), request, counts);
                ASSERT_EQ(swept.ticks, point.ticks);
                EXPECT_FALSE(BetterOutcome(aim, swept.outcome, one.best.outcome)) << "row " << varied.row;
            }
        }
    }
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
                                                        if (done >= 100) cancel = true;
                                                    }, .cancel = &cancel});
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.exhaustive);
    EXPECT_EQ(result.evaluations, seen);
    EXPECT_LT(result.evaluations, 400);
    // The answer is a fleet's true battle, and at least as good as the grid's fleet.
    EXPECT_EQ(EvaluateFleet(DefaultRules(), request, result.best.counts).ticks, result.best.ticks);
    EXPECT_FALSE(BetterOutcome(request.aim, EvaluateFleet(DefaultRules(), request, GridFleet(request)).outcome,
                               result.best.outcome));
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
