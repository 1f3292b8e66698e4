// The sweep and the advisor give the same answer on any number of workers: the work is handed
// out by index and decided in the request's order, never in the order workers finish.
#include <gtest/gtest.h>

#include <random>

#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

constexpr int kWorkerCounts[] = {2, 3, 7};

TEST(AnyWorkers, SweepsGiveTheSamePointsWholeOrHandedOn) {
    for (unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 rng(seed);
        SheetFixture f;
        FillRandomBattle(f, rng, true);
        const std::vector<SweepRow> rows = SweepableRows(DefaultRules().catalogue, Side::Attacker);
        SweepRequest request{SheetInputs(f.sheet.Cells()), {Side::Attacker, rows[rng() % rows.size()].row},
                             SweepValues({0, 50000, 45}), 2};
        const SweepResult one = RunSweep(DefaultRules(), request, {.workers = 1});
        ASSERT_EQ(one.points.size(), 45u);
        for (int workers : kWorkerCounts) {
            EXPECT_EQ(RunSweep(DefaultRules(), request, {.workers = workers}).points, one.points) << workers;
            // Handed on through the ring, which wraps around several times.
            std::vector<SweepPoint> handed;
            RunSweep(DefaultRules(), request,
                     {.workers = workers, .pointFinished = [&](const SweepPoint& p) { handed.push_back(p); }});
            EXPECT_EQ(handed, one.points) << workers;
        }
    }
}

// A random battle whose defender holds `roids` of each asteroid kind, followed for 2 ticks.
FleetSearchRequest RandomRaid(unsigned seed, int roids) {
    std::mt19937 rng(seed);
    SheetFixture f;
    FillRandomBattle(f, rng, false);
    for (int k = 0; k < kRoidKinds; ++k) f.Put(kDefShips, kFirstRoidRow + k, roids);
    FleetSearchRequest request;
    request.battle = SheetInputs(f.sheet.Cells());
    request.ticks = 2;
    return request;
}

TEST(AnyWorkers, SearchesGiveTheSameFleetForEachSeed) {
    FleetSearchRequest request = RandomRaid(5150, 500);
    for (ShipIndex type : {48, 0, 11, 36}) request.rows.push_back({UnitRow(type), 4000});
    request.ticks = 2;
    request.evaluations = 250;
    for (std::uint64_t seed : {1u, 2u, 99u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        request.seed = seed;
        request.aim.goal = static_cast<FleetGoal>(seed % 3);
        const FleetSearchResult one = FindBestFleet(DefaultRules(), request, {.workers = 1});
        ASSERT_FALSE(one.exhaustive);
        for (int workers : kWorkerCounts) {
            const FleetSearchResult many = FindBestFleet(DefaultRules(), request, {.workers = workers});
            EXPECT_EQ(many.best.counts, one.best.counts) << workers;
            EXPECT_EQ(many.best.ticks, one.best.ticks) << workers;
            EXPECT_EQ(many.evaluations, one.evaluations) << workers;
        }
    }
}

// A helper in another process's place: its fleets are run by their own evaluator, and only
// when the search waits for them.
class LentFleets final : public FleetHelper {
public:
    LentFleets(const FleetSearchRequest& request, std::size_t capacity)
        : work_(DefaultRules(), request), capacity_(capacity) {}
    std::size_t Capacity(std::size_t) const override { return capacity_; }
    void Start(std::span<const std::int32_t> fleets, std::size_t) override { started_.assign(fleets.begin(), fleets.end()); }
    void Finish(std::span<FleetOutcome> outcomes) override {
        work_.Evaluate(started_, outcomes);
        lent += outcomes.size();
    }
    std::size_t lent = 0;

private:
    FleetHelperWork work_;
    std::size_t capacity_;
    std::vector<std::int32_t> started_;
};

TEST(AnyWorkers, AHelperTakingPartOfEachBatchChangesNothing) {
    FleetSearchRequest request = RandomRaid(77, 300);
    request.evaluations = 300;
    // A space searched by climbs, and one walked whole in batches larger than the helper takes.
    for (const std::int32_t most : {3000, 60}) {
        request.rows = {{UnitRow(48), most}, {UnitRow(11), most}};
        const FleetSearchResult alone = FindBestFleet(DefaultRules(), request, {.workers = 1});
        LentFleets helper(request, 700);
        const FleetSearchResult helped = FindBestFleet(DefaultRules(), request, {.workers = 2, .helper = &helper});
        EXPECT_EQ(helped.best.counts, alone.best.counts) << most;
        EXPECT_EQ(helped.best.outcome, alone.best.outcome) << most;
        EXPECT_EQ(helped.evaluations, alone.evaluations) << most;
        EXPECT_EQ(helped.exhaustive, alone.exhaustive) << most;
        EXPECT_GT(helper.lent, static_cast<std::size_t>(alone.evaluations / 4)) << most;
    }
}

}  // namespace
}  // namespace kestrin
