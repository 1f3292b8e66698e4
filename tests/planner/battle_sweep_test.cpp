// Running a sweep: workers, progress, cancellation, and what the whole battle sums to.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "planner/battle_sweep.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// Attackers with pods against a mixed defence: every figure moves with the Harpy count.
SweepRequest RaidRequest(std::int64_t points, int ticks) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 3000);
    f.Put(kDefShips, UnitRow(kSpider), 800);
    f.Put(kDefShips, UnitRow(kMesonicCutter), 40);
    f.Put(kAttShips, UnitRow(kAstroPod), 900);
    f.Put(kAttShips, UnitRow(kDragon), 150);
    f.Put(kAttShips, UnitRow(kThief), 300);
    for (int k = 0; k < kRoidKinds; ++k) f.Put(kDefShips, kFirstRoidRow + k, 100 + 50 * k);
    SweepRequest request{SheetInputs(f.sheet.Cells()), {Side::Attacker, UnitRow(kHarpy)}, {}, ticks};
    request.values = SweepValues({0, 20000, points});
    return request;
}

TEST(BattleSweep, OneAndTwoWorkersGiveTheSameOutput) {
    const SweepRequest request = RaidRequest(60, 3);
    std::size_t lastDone = 0;
    const SweepResult one = RunSweep(DefaultRules(), request, {.workers = 1});
    const SweepResult two = RunSweep(DefaultRules(), request,
                                     {.workers = 2, .progress = [&](std::size_t done, std::size_t total) {
                                          EXPECT_EQ(done, lastDone + 1);
                                          EXPECT_EQ(total, 60u);
                                          lastDone = done;
                                      }});
    EXPECT_EQ(lastDone, 60u);
    ASSERT_EQ(one.points.size(), 60u);
    EXPECT_FALSE(one.partial);
    EXPECT_EQ(one.points, two.points);
    EXPECT_EQ(two.points.back().value, 20000);
    EXPECT_EQ(two.points.back().ticks.size(), 3u);
}

// Handed on as they finish: in point order, the same points, and never more than a few
// finished points held back, however long the range.
TEST(BattleSweep, PointsHandedOnInOrderAsTheyFinishKeepTheMemoryBounded) {
    const SweepRequest request = RaidRequest(300, 2);
    const SweepResult whole = RunSweep(DefaultRules(), request, {.workers = 1});
    std::vector<SweepPoint> handed;
    std::size_t done = 0;
    std::size_t mostHeldBack = 0;
    const SweepResult streamed = RunSweep(
        DefaultRules(), request,
        {.workers = 2, .progress = [&](std::size_t finished, std::size_t) { done = finished; },
         .pointFinished = [&](const SweepPoint& point) {
             handed.push_back(point);
             mostHeldBack = std::max(mostHeldBack, done - handed.size());
         }});
    EXPECT_TRUE(streamed.points.empty());
    EXPECT_FALSE(streamed.partial);
    EXPECT_EQ(handed, whole.points);
    EXPECT_LE(mostHeldBack, 8u);
}

TEST(BattleSweep, CancelledSweepStopsWithinOnePointPerWorkerAndKeepsOnlyFinishedPoints) {
    const SweepRequest request = RaidRequest(400, 2);
    const SweepResult full = RunSweep(DefaultRules(), request, {.workers = 1});
    std::atomic<bool> cancel{false};
    const SweepResult cut = RunSweep(DefaultRules(), request,
                                     {.workers = 2, .progress = [&](std::size_t done, std::size_t) {
                                          if (done == 5) cancel = true;
                                      }, .cancel = &cancel});
    EXPECT_TRUE(cut.partial);
    ASSERT_GE(cut.points.size(), 5u);
    EXPECT_LE(cut.points.size(), 5u + 2u);
    // Each finished point is the full sweep's point of that value.
    std::size_t at = 0;
    for (const SweepPoint& point : cut.points) {
        while (full.points[at].value != point.value) ++at;
        EXPECT_EQ(point, full.points[at]);
    }
}

TEST(BattleSweep, WholeBattleSumsTheTicksAndDividesTheSums) {
    std::vector<SweepFigures> ticks(2);
    ticks[0].results = {.DLoss = -500, .ALoss = -900, .TR = -7, .TIR = 4, .ALossPerRoid = -225, .MSalvage = 10};
    ticks[1].results = {.DLoss = -100, .ALoss = -301, .TR = -3, .TIR = 2, .ALossPerRoid = -150, .MSalvage = 5};
    ticks[1].attackerValueLeft = 77;
    const SweepFigures whole = WholeBattleFigures(ticks);
    EXPECT_EQ(whole.results.DLoss, -600);
    EXPECT_EQ(whole.results.TR, -10);
    EXPECT_EQ(whole.results.TIR, 6);
    EXPECT_EQ(whole.results.ALossPerRoid, -1201 / 6);
    EXPECT_EQ(whole.results.MSalvage, 15);
    EXPECT_EQ(whole.attackerValueLeft, 77);
}

}  // namespace
}  // namespace kestrin
