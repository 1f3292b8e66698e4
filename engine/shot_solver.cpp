#include "shot_solver.h"

#include <algorithm>
#include <cmath>

#include "saturating.h"
#include "search_regions.h"
#include "shots_model.h"
#include "small_buffer.h"

namespace kestrin {

namespace {

constexpr double kRelativeTolerance = 1e-6;
static_assert(kSolverCycleLimit == 50, "SkipDecidedCycles works in units of 2^-50, one per cycle");

// The caller's arguments and the call's working copies.
struct Call {
    std::span<const double> ships;
    std::span<const double> killRates;
    std::span<std::int64_t> kills;
    std::span<double> damage;
    std::span<std::int64_t> shotsAllocated;
    std::int64_t& available;
    int& cycles;
    double& g;
};

struct Working {
    explicit Working(std::size_t n) : rate(n), damage(n), remembered(n), substituted(n) {}
    SmallBuffer<double> rate;
    SmallBuffer<double> damage;
    SmallBuffer<double> remembered;  // "Old": the damage of a substituted entry
    SmallBuffer<std::uint8_t> substituted;  // "Old": zero rate replaced by 1 / (A + 1)
};

bool TraceWanted(const SolverSettings& settings) {
    return settings.trace != nullptr && settings.traceRequested != nullptr && *settings.traceRequested;
}

// Stores the whole part of an entry's damage as kills and keeps the fraction.
void TakeWholeKills(double& damage, std::int64_t& kills) {
    // Below 2^53 the whole part and the fraction of a double are exact in double too.
    if (std::fabs(damage) < 0x1p53) {
        const double whole = std::floor(damage);
        kills = static_cast<std::int64_t>(whole);
        damage -= whole;
        return;
    }
    kills = SaturatingInt64(Floor(static_cast<Extended>(damage)));
    damage = static_cast<double>(damage - static_cast<Extended>(kills));
}

void SolveSingleEntry(Call& c, Working& w, const SmallBuffer<double>& ships, bool isNew) {
    const Extended a = static_cast<Extended>(c.available);
    const double k = w.rate[0];
    const Extended shotsToKillAll = (isNew && k == 0)
        ? a + 1
        : Ceil((static_cast<Extended>(ships[0]) - w.damage[0]) / k);
    if (a >= shotsToKillAll) {
        c.kills[0] = SaturatingInt64(Ceil(static_cast<Extended>(ships[0])));
        c.shotsAllocated[0] = SaturatingInt64(shotsToKillAll);
        w.damage[0] = 0;
        c.available = SaturatingSub(c.available, c.shotsAllocated[0]);
    } else {
        w.damage[0] = w.substituted[0] ? w.remembered[0]
                                       : static_cast<double>(w.damage[0] + a * k);
        TakeWholeKills(w.damage[0], c.kills[0]);
        c.shotsAllocated[0] = c.available;
        c.available = 0;
    }
    c.damage[0] = w.damage[0];
}

// Every target can die: when the shots suffice, each entry is destroyed with the shots it
// needs, rounded.
bool QuickKillAll(Call& c, const Working& w, const SmallBuffer<double>& ships, bool isNew,
                  double& shotsToKillAll) {
    const Extended a = static_cast<Extended>(c.available);
    shotsToKillAll = 0;
    for (std::size_t i = 0; i < ships.size(); ++i) {
        const Extended needed = (isNew && w.rate[i] == 0)
            ? a + 1
            : (static_cast<Extended>(ships[i]) - w.damage[i]) / w.rate[i];
        shotsToKillAll = static_cast<double>(shotsToKillAll + needed);
    }
    // The provisional results are only written when they stand; a search overwrites them.
    if (a < shotsToKillAll) return false;
    for (std::size_t i = 0; i < ships.size(); ++i) {
        if (isNew && w.rate[i] == 0) {
            c.kills[i] = 0;
            c.shotsAllocated[i] = c.available;
            continue;
        }
        const Extended needed = (static_cast<Extended>(ships[i]) - w.damage[i]) / w.rate[i];
        c.kills[i] = SaturatingInt64(Ceil(static_cast<Extended>(ships[i])));
        c.shotsAllocated[i] = SaturatingInt64(RoundHalfEven(needed));
    }
    c.available = SaturatingSub(c.available, SaturatingInt64(Ceil(static_cast<Extended>(shotsToKillAll))));
    return true;
}

// Outcome of one bisection cycle's tests.
struct CycleTests {
    bool enoughShots = false;  // A >= ResultingShots: lower G
    bool stop = false;
    double resultingShots = 0;
    double difference = 0;
};

CycleTests ExactTests(const ShotsModel& model, double g, Extended a, bool isNew) {
    CycleTests t;
    t.resultingShots = model.ResultingShots(g);
    t.enoughShots = a >= t.resultingShots;
    t.difference = static_cast<double>(Fabs(t.resultingShots - a));
    t.stop = a * kRelativeTolerance > t.difference;
    if (!isNew && RoundHalfEven(t.resultingShots) == a) t.stop = true;
    return t;
}

// The same tests from the double evaluation, all in double: A, its tolerance and the
// distance each round by at most 2^-53 relative, which the slack covers with the model's
// bound. Falls back to the exact evaluation when the slack leaves a test undecided.
// ResultingShots and Difference are then approximate, which is fine: only the trace shows
// them, and a traced call runs exactly.
CycleTests FastTests(const ShotsModel& model, double g, Extended a, bool isNew) {
    const ShotsModel::Approximation approx = model.FastResultingShots(g);
    const double rs = approx.shots;
    const auto aD = static_cast<double>(a);
    const double tolerance = aD * kRelativeTolerance;
    const double distance = std::fabs(rs - aD);
    const double slack = approx.bound + 0x1p-50 * (std::fabs(rs) + aD);
    const bool decided = std::isfinite(rs) && distance > slack &&
                         std::fabs(tolerance - distance) > slack &&
                         (isNew || std::fabs(distance - 0.5) > slack);
    if (!decided) return ExactTests(model, g, a, isNew);
    CycleTests t;
    t.resultingShots = rs;
    t.difference = distance;
    t.enoughShots = aD >= rs;
    t.stop = tolerance > distance || (!isNew && distance < 0.5);
    return t;
}

void EmitStart(const SolverSettings& settings, const Call& c, const Working& w,
               const SmallBuffer<double>& ships, double scale, double shotsToKillAll) {
    SolverTraceStart event{c.available, scale, shotsToKillAll, {}};
    for (std::size_t i = 0; i < ships.size(); ++i)
        event.entries.push_back({ships[i], w.damage[i], w.rate[i]});
    settings.trace->OnStart(event);
}

void EmitEnd(const SolverSettings& settings, const Call& c, const Working& w, int cycles,
             double g, const CycleTests& last) {
    SolverTraceEnd event{cycles, g, last.resultingShots, last.difference, {}};
    for (std::size_t i = 0; i < w.rate.size(); ++i)
        event.entries.push_back({c.shotsAllocated[i], c.kills[i], w.damage[i]});
    settings.trace->OnEnd(event);
    *settings.traceRequested = false;
}

void Solve(Call& c, const SolverSettings& settings, bool allowFastPath) {
    const std::size_t n = c.ships.size();
    if (n == 0 || c.available <= 0) return;
    c.cycles = 0;
    c.g = 0;
    const bool isNew = settings.variant == SolverVariant::New;
    const Extended a = static_cast<Extended>(c.available);

    SmallBuffer<double> ships(n);
    Working w(n);
    for (std::size_t i = 0; i < n; ++i) {
        ships[i] = c.ships[i];
        w.rate[i] = c.killRates[i];
        w.damage[i] = c.damage[i];
        w.substituted[i] = !isNew && w.rate[i] == 0;
        if (w.substituted[i]) {
            // A zero rate would need infinite shots; give it a rate so small that the
            // shots it absorbs exceed every other entry's, and restore its damage later.
            w.remembered[i] = w.damage[i];
            w.damage[i] = 0;
            w.rate[i] = static_cast<double>(1 / (a + 1));
        }
    }
    if (n == 1) return SolveSingleEntry(c, w, ships, isNew);

    double scale = *std::min_element(&w.rate[0], &w.rate[0] + n);
    if (isNew && scale == 0) scale = static_cast<double>(2 / (a + 1));
    const bool traced = TraceWanted(settings);
    const ShotsModel model(ships, w.rate, w.damage, scale);
    const bool fast = allowFastPath && !traced && model.FastPathValid();

    // The shots to kill all are the model's total weight, up to roundings that the margin
    // covers; when they are clearly out of reach, the exact sum is not needed.
    double shotsToKillAll = 0;
    const bool clearlyShort = fast && model.Monotone() &&
        static_cast<double>(a) < model.TotalWeight() * (1 - static_cast<double>(n + 8) * 0x1p-50);
    if (!clearlyShort && QuickKillAll(c, w, ships, isNew, shotsToKillAll)) return;
    if (traced) EmitStart(settings, c, w, ships, scale, shotsToKillAll);

    const double targetDifference = isNew ? static_cast<double>(a * kRelativeTolerance)
                                          : std::max(static_cast<double>(a * kRelativeTolerance), 0.5);
    // Cycles far from the root are decided by a few probes close around it.
    const KnownRegions known = fast ? ProbeAroundRoot(model, static_cast<double>(a), targetDifference)
                                    : KnownRegions{};
    double lo = 0.0, hi = 1.0, g = 0.0;
    int counter = kSolverCycleLimit;
    CycleTests tests;
    for (;;) {
        if (fast) SkipDecidedCycles(known, lo, hi, counter);
        g = (lo + hi) / 2;
        const bool shortOfShots = g <= known.ShortUpTo();
        const bool spareShots = g >= known.SpareFrom();
        if (shortOfShots || spareShots) {
            // Decided in advance (left only when every cycle to come is): the cycle only
            // halves the interval.
            (shortOfShots ? lo : hi) = g;
            tests = {};
        } else {
            tests = fast ? FastTests(model, g, a, isNew) : ExactTests(model, g, a, isNew);
            (tests.enoughShots ? hi : lo) = g;
        }
        if (--counter <= 0) {
            if (settings.bailout) settings.bailout->OnBailout();
            break;
        }
        if (traced)
            settings.trace->OnCycle({kSolverCycleLimit - counter, g, tests.resultingShots,
                                     tests.difference, targetDifference});
        if (tests.stop) break;
    }

    if (fast) model.RoundedShots(g, c.shotsAllocated);
    for (std::size_t i = 0; i < n; ++i) {
        if (!fast) c.shotsAllocated[i] = SaturatingInt64(RoundHalfEven(model.EntryShots(i, g)));
        w.damage[i] = w.substituted[i]
            ? w.remembered[i]
            : static_cast<double>(w.damage[i] + static_cast<Extended>(c.shotsAllocated[i]) * w.rate[i]);
        TakeWholeKills(w.damage[i], c.kills[i]);
        c.damage[i] = w.damage[i];
    }
    if (traced) EmitEnd(settings, c, w, kSolverCycleLimit - counter, g, tests);
    c.available = 0;
    c.cycles = kSolverCycleLimit - counter;
    c.g = g;
}

}  // namespace

void AllocateShots(std::span<const double> ships, std::span<const double> killRates,
                   std::span<std::int64_t> kills, std::span<double> damage,
                   std::int64_t& availableShots, int& cycles, double& g,
                   std::span<std::int64_t> shotsAllocated, const SolverSettings& settings) {
    Call c{ships, killRates, kills, damage, shotsAllocated, availableShots, cycles, g};
    Solve(c, settings, true);
}

void AllocateShotsReference(std::span<const double> ships, std::span<const double> killRates,
                            std::span<std::int64_t> kills, std::span<double> damage,
                            std::int64_t& availableShots, int& cycles, double& g,
                            std::span<std::int64_t> shotsAllocated,
                            const SolverSettings& settings) {
    Call c{ships, killRates, kills, damage, shotsAllocated, availableShots, cycles, g};
    Solve(c, settings, false);
}

}  // namespace kestrin
