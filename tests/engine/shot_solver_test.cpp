#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "engine/shot_solver.h"

namespace kestrin {
namespace {

struct CountingBailout : BailoutSignal {
    int count = 0;
    void OnBailout() override { ++count; }
};

// One solver call with its inputs and outputs, laid out as the caller prepares them.
struct SolverRun {
    std::vector<double> ships, rates, damage;
    std::int64_t shots = 0;
    std::vector<std::int64_t> kills, allocated;
    int cycles = 0;
    double g = 0;
    int bailouts = 0;

    SolverRun(std::vector<double> s, std::vector<double> k, std::vector<double> d, std::int64_t a)
        : ships(std::move(s)), rates(std::move(k)), damage(std::move(d)), shots(a),
          kills(ships.size(), 0), allocated(ships.size(), 0) {}

    SolverRun& Run(SolverVariant variant, bool reference = false) {
        CountingBailout bailout;
        SolverSettings settings;
        settings.variant = variant;
        settings.bailout = &bailout;
        auto call = reference ? AllocateShotsReference : AllocateShots;
        call(ships, rates, kills, damage, shots, cycles, g, allocated, settings);
        bailouts = bailout.count;
        return *this;
    }
};

TEST(ShotSolver, SingleEntryWithEnoughShotsKillsAllAndReturnsTheRest) {
    for (auto variant : {SolverVariant::New, SolverVariant::Old}) {
        SolverRun r({10}, {0.5}, {0}, 25);
        r.Run(variant);
        EXPECT_EQ(r.kills[0], 10);
        EXPECT_EQ(r.allocated[0], 20);
        EXPECT_EQ(r.damage[0], 0);
        EXPECT_EQ(r.shots, 5);
        EXPECT_EQ(r.cycles, 0);
        EXPECT_EQ(r.g, 0);
    }
}

TEST(ShotSolver, SingleEntryShortOfShotsCarriesDamage) {
    SolverRun r({10}, {0.25}, {0.5}, 9);
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.kills[0], 2);
    EXPECT_DOUBLE_EQ(r.damage[0], 0.75);
    EXPECT_EQ(r.allocated[0], 9);
    EXPECT_EQ(r.shots, 0);
}

TEST(ShotSolver, SingleZeroRateEntryAbsorbsAllShotsAndKillsOnlyCarriedDamage) {
    SolverRun r({10}, {0.0}, {1.5}, 40);
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.allocated[0], 40);
    EXPECT_EQ(r.kills[0], 1);
    EXPECT_DOUBLE_EQ(r.damage[0], 0.5);
    EXPECT_EQ(r.shots, 0);
    // "Old" gives the zero rate a tiny substitute rate and restores the damage it had.
    SolverRun old({10}, {0.0}, {0.25}, 40);
    old.Run(SolverVariant::Old);
    EXPECT_EQ(old.allocated[0], 40);
    EXPECT_EQ(old.kills[0], 0);
    EXPECT_DOUBLE_EQ(old.damage[0], 0.25);
}

TEST(ShotSolver, ShotsExactlyEnoughToKillAllPassTheQuickTest) {
    SolverRun r({10, 4}, {0.5, 0.25}, {0, 0}, 36);
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.kills, (std::vector<std::int64_t>{10, 4}));
    EXPECT_EQ(r.allocated, (std::vector<std::int64_t>{20, 16}));
    EXPECT_EQ(r.shots, 0);
    EXPECT_EQ(r.cycles, 0);
}

TEST(ShotSolver, TwoEntriesConvergeToTheEvenFireRoot) {
    // "Old" stops as soon as the rounded total matches, with a coarser G.
    struct Case { SolverVariant variant; int cycles; double gTolerance; };
    for (Case c : {Case{SolverVariant::New, 20, 1e-5}, Case{SolverVariant::Old, 11, 5e-4}}) {
        SolverRun r({100, 100}, {0.1, 0.2}, {0, 0}, 500);
        r.Run(c.variant);
        EXPECT_EQ(r.cycles, c.cycles);
        EXPECT_NEAR(r.g, 0.7320508, c.gTolerance);
        EXPECT_EQ(r.allocated, (std::vector<std::int64_t>{268, 232}));
        EXPECT_EQ(r.kills, (std::vector<std::int64_t>{26, 46}));
        EXPECT_NEAR(r.damage[0], 0.8, 1e-9);
        EXPECT_NEAR(r.damage[1], 0.4, 1e-9);
        EXPECT_EQ(r.shots, 0);
        EXPECT_EQ(r.bailouts, 0);
    }
}

TEST(ShotSolver, AsteroidShapedCallRoundsHalvesToEven) {
    SolverRun r({0, 120, 40, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}, 30);
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.cycles, 4);
    EXPECT_EQ(r.g, 0.8125);
    EXPECT_EQ(r.allocated, (std::vector<std::int64_t>{0, 22, 8, 0}));
    EXPECT_EQ(r.kills, (std::vector<std::int64_t>{0, 22, 8, 0}));
}

TEST(ShotSolver, NoEntriesOrNoShotsLeaveEverythingUntouched) {
    SolverRun r({5, 6}, {0.5, 0.5}, {0.25, 0.5}, 0);
    r.cycles = 7;
    r.g = 0.5;
    r.kills = {3, 4};
    r.allocated = {8, 9};
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.cycles, 7);
    EXPECT_EQ(r.g, 0.5);
    EXPECT_EQ(r.kills, (std::vector<std::int64_t>{3, 4}));
    EXPECT_EQ(r.allocated, (std::vector<std::int64_t>{8, 9}));
    EXPECT_EQ(r.damage, (std::vector<double>{0.25, 0.5}));

    SolverRun empty({}, {}, {}, 50);
    empty.cycles = 3;
    empty.Run(SolverVariant::New);
    EXPECT_EQ(empty.shots, 50);
    EXPECT_EQ(empty.cycles, 3);
}

// No ships but carried damage and a tiny kill rate: the shots "needed" are hugely negative.
// The shots left saturate at the 64-bit range instead of overflowing.
TEST(ShotSolver, ShotsLeftSaturateInsteadOfOverflowing) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(SolverRun({0}, {1e-300}, {0.5}, 5).Run(SolverVariant::New).shots, kMost);
    EXPECT_EQ(SolverRun({0, 0}, {1e-300, 1e-300}, {0.5, 0.5}, 5).Run(SolverVariant::New).shots, kMost);
}

TEST(ShotSolver, SearchThatNeverMeetsTheToleranceBailsOutAtFiftyCycles) {
    SolverRun r({2, 0}, {0.25, 0}, {0, 0}, 50);
    r.Run(SolverVariant::New);
    EXPECT_EQ(r.bailouts, 1);
    EXPECT_EQ(r.cycles, 50);
    EXPECT_NEAR(r.g, 8.9e-16, 0.1e-16);
    EXPECT_EQ(r.allocated, (std::vector<std::int64_t>{8, 0}));
    EXPECT_EQ(r.kills, (std::vector<std::int64_t>{2, 0}));
    EXPECT_EQ(r.shots, 0);
}

struct TraceRecorder : SolverTrace {
    int starts = 0, cycles = 0, ends = 0;
    SolverTraceEnd last;
    void OnStart(const SolverTraceStart&) override { ++starts; }
    void OnCycle(const SolverTraceCycle& e) override { cycles = e.cycle; }
    void OnEnd(const SolverTraceEnd& e) override { ++ends; last = e; }
};

TEST(ShotSolver, TracedCallReportsEveryCycleAndClearsTheRequest) {
    TraceRecorder trace;
    bool requested = true;
    SolverSettings settings;
    settings.trace = &trace;
    settings.traceRequested = &requested;
    std::vector<double> ships{100, 100}, rates{0.1, 0.2}, damage{0, 0};
    std::vector<std::int64_t> kills(2), allocated(2);
    std::int64_t shots = 500;
    int cycles = 0;
    double g = 0;
    AllocateShots(ships, rates, kills, damage, shots, cycles, g, allocated, settings);
    EXPECT_EQ(trace.starts, 1);
    EXPECT_EQ(trace.cycles, 20);
    EXPECT_EQ(trace.ends, 1);
    EXPECT_EQ(trace.last.entries[1].kills, 46);
    EXPECT_FALSE(requested);
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Random calls shaped like battle fire: the fast path must agree with the extended
// evaluation in every output, bit for bit.
TEST(ShotSolver, FastPathMatchesExtendedEvaluationBitForBit) {
    std::mt19937_64 rng(20261207);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto integer = [&](std::int64_t lo, std::int64_t hi) { return std::uniform_int_distribution<std::int64_t>(lo, hi)(rng); };
    int searched = 0;
    for (int call = 0; call < 20000; ++call) {
        const auto n = static_cast<std::size_t>(integer(1, call % 7 == 0 ? 54 : 12));
        const double magnitude = std::pow(10.0, integer(0, 7));
        std::vector<double> ships(n), rates(n), damage(n);
        for (std::size_t i = 0; i < n; ++i) {
            ships[i] = static_cast<double>(integer(0, static_cast<std::int64_t>(magnitude)));
            // Kill rates are small ratios, often repeated; a few are zero, a few far apart.
            const auto pick = integer(0, 10);
            rates[i] = pick == 0 ? 0.0 : pick < 4 ? 1.0 / static_cast<double>(integer(1, 40))
                     : pick == 10 ? std::exp(uniform(-14, 2)) : uniform(0.001, 0.9);
            damage[i] = integer(0, 2) == 0 ? 0.0 : uniform(0, 1);
        }
        const std::int64_t shots = call % 11 == 0 ? integer(1, std::int64_t{1} << 50)
                                                  : integer(1, static_cast<std::int64_t>(magnitude * 30));
        for (auto variant : {SolverVariant::New, SolverVariant::Old}) {
            SolverRun fast(ships, rates, damage, shots), slow(ships, rates, damage, shots);
            fast.Run(variant, false);
            slow.Run(variant, true);
            ASSERT_EQ(fast.kills, slow.kills) << "call " << call;
            ASSERT_EQ(fast.allocated, slow.allocated) << "call " << call;
            ASSERT_EQ(fast.shots, slow.shots);
            ASSERT_EQ(fast.cycles, slow.cycles);
            ASSERT_TRUE(SameBits(fast.g, slow.g));
            ASSERT_EQ(fast.bailouts, slow.bailouts);
            for (std::size_t i = 0; i < n; ++i) ASSERT_TRUE(SameBits(fast.damage[i], slow.damage[i]));
            searched += fast.cycles > 0;
        }
    }
    EXPECT_GT(searched, 10000);  // most calls exercised the search, not the quick paths
}

}  // namespace
}  // namespace kestrin
