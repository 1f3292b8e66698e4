// Ship stealing losses and asteroid and Eonium capture.
#include <algorithm>
#include <cmath>

#include "saturating.h"
#include "fixed_format.h"
#include "number_text.h"
#include "tick_run.h"

namespace kestrin {

namespace {

// Largest capture rate, and the share of the defender's Eonium one tick can take.
constexpr double kMaxCaptureRate = 0.15;
// A kind with fewer asteroids than this cannot be captured.
constexpr std::int32_t kSmallestCapturableKind = 7;
constexpr std::int64_t kEoniumPerShip = 500;

// "Unititiated" is the log's own spelling, kept as players and scripts know it.
constexpr const char* kKindTexts[kRoidKinds] = {" Unititiated Roids with ", " Metal Roids with ",
                                                " Crystal Roids with ", " Eonium Roids with "};

// Ceil(value * 9 / 10), exact for any 64-bit value.
Int128 NineTenthsRoundedUp(Int128 value) {
    const Int128 scaled = value * 9;
    return scaled / 10 + (scaled % 10 > 0 ? 1 : 0);
}

}  // namespace

void TickRun::ComputeCaptureLimits() {
    if (st_.DefenderScore == 0) {
        captureRate_ = kMaxCaptureRate;
    } else {
        // The + 1 keeps an empty attacking fleet from dividing by zero.
        const Extended rate = static_cast<Extended>(st_.DefenderScore) /
                              (static_cast<Extended>(st_.AttackerFleetValue) + 1) / 10;
        captureRate_ = static_cast<double>(rate);
        if (captureRate_ > kMaxCaptureRate) captureRate_ = kMaxCaptureRate;
    }
    maxCapture_ = 0;
    for (std::int32_t roids : st_.Roids)
        maxCapture_ += SaturatingInt32(SaturatingInt64(Floor(static_cast<Extended>(roids) * captureRate_)));
}

// The stealing side pays nine tenths of the value it takes, in whole stealing ships: each
// taken type's share rounded up, then divided by the stealer's cost rounding down.
std::int64_t TickRun::StealerLoss(Side stealer, ShipIndex s) const {
    const Side victim = Other(stealer);
    const std::int64_t stealerCost = tables_.units[s].cost;
    const std::int64_t available = std::max(st_.Left[Idx(stealer)][s], 0);
    Int128 loss = 0;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        const std::int64_t taken = pendingLosses_[Idx(victim)][t];
        if (taken <= 0) continue;
        const Int128 share = NineTenthsRoundedUp(Int128(taken) * tables_.units[t].cost);
        // A stealer without cost cannot pay in ships worth something: every stealer goes.
        if (stealerCost <= 0) return share > 0 ? available : 0;
        loss += share / stealerCost;
        if (loss > available) return available;
    }
    return static_cast<std::int64_t>(std::clamp<Int128>(loss, 0, available));
}

void TickRun::StealerLosses(ShipIndex s) {
    // Both losses come from the step's captures before either is applied.
    const std::int64_t defenderLoss = StealerLoss(Side::Defender, s);
    const std::int64_t attackerLoss = StealerLoss(Side::Attacker, s);
    if (Logging()) {
        const std::string& name = catalogue_.Name(s);
        lists_.MemoDef.push_back(std::to_string(defenderLoss) + " defending " + name + " lost during capture.");
        lists_.MemoAtt.push_back(std::to_string(attackerLoss) + " attacking " + name + " lost during capture.");
    }
    st_.Left[1][s] -= static_cast<std::int32_t>(attackerLoss);
    st_.Left[0][s] -= static_cast<std::int32_t>(defenderLoss);
    st_.Lost[1][s] += static_cast<std::int32_t>(attackerLoss);
    st_.Lost[0][s] += static_cast<std::int32_t>(defenderLoss);
}

// Rounding each kind's shots to whole asteroids can give out one more than the shots granted
// per kind; the limit is a hard cap, so the surplus comes off the largest captures.
void TickRun::TrimCapturesToShots(Firing& f, std::int64_t shots) const {
    std::int64_t total = 0;
    for (int k = 0; k < f.count; ++k) total += f.kills[k];
    while (total > shots) {
        int largest = 0;
        for (int k = 1; k < f.count; ++k)
            if (f.kills[k] > f.kills[largest]) largest = k;
        --f.kills[largest];
        --f.shotsAllocated[largest];
        --total;
    }
}

void TickRun::RoidCapture(int step, ShipIndex s) {
    const std::int64_t n = static_cast<std::int64_t>(st_.Left[1][s]) - st_.Held[1][s];
    std::int64_t roidSum = 0;
    for (std::int32_t roids : st_.Roids) roidSum += roids;
    if (n <= 0 || roidSum <= 0 || maxCapture_ <= 0) return;
    const std::int64_t podGuns = std::int64_t{tables_.units[s].guns} * n;
    // The limit shrinks by the shots granted, whether or not the solver uses them all.
    const std::int64_t captureShots = std::clamp<std::int64_t>(podGuns, 0, maxCapture_);
    maxCapture_ -= captureShots;
    Firing f{};  // zeros: no carried damage, and no kills when no shots are granted
    f.count = kRoidKinds;
    for (int k = 0; k < kRoidKinds; ++k) {
        f.ships[k] = st_.Roids[k] >= kSmallestCapturableKind ? st_.Roids[k] : 0;
        f.rates[k] = 1.0;
    }
    f.shots = captureShots;
    CallSolver(step, 0, Side::Attacker, f);
    // With whole asteroids at one per shot the fractional damage never adds a whole one.
    for (int k = 0; k < kRoidKinds; ++k) f.kills[k] = SaturatingInt64(Floor(f.kills[k] + static_cast<Extended>(f.damage[k])));
    TrimCapturesToShots(f, captureShots);
    for (int k = 0; k < kRoidKinds; ++k)
        st_.RoidsCaptured[k] = SaturatingInt32(st_.RoidsCaptured[k] + f.kills[k]);
    if (!Logging()) return;
    const std::string& name = catalogue_.Name(s);
    lists_.MemoHeader.push_back(StepTitle(step, s, CombatMode::RoidCapture));
    lists_.MemoHeader.push_back("Attacking Ships");
    lists_.MemoHeader.push_back(std::to_string(n) + " " + name + " left to fire with " +
                                std::to_string(podGuns) + " guns.");
    lists_.MemoAtt.push_back("Max Cap Rate = " +
                             FormatFixedRounded(static_cast<Extended>(captureRate_) * 100, 3, 2,
                                                context_.DecimalSeparator) + "%.");
    std::int64_t used = 0;
    for (int k = 0; k < kRoidKinds; ++k) {
        lists_.MemoAtt.push_back("Capturing " + std::to_string(st_.RoidsCaptured[k]) + " out of " +
                                 std::to_string(static_cast<std::int64_t>(f.ships[k])) + kKindTexts[k] +
                                 std::to_string(f.shotsAllocated[k]) + " guns.");
        used += f.shotsAllocated[k];
    }
    lists_.MemoAtt.push_back("Guns left = " + std::to_string(podGuns - used));
}

void TickRun::EoniumCapture(int step, ShipIndex s) {
    const std::int64_t n = static_cast<std::int64_t>(st_.Left[1][s]) - st_.Held[1][s];
    if (n <= 0 || st_.DefenderEonium <= 0) return;
    // Exactly 15 % rounded down, and at most 500 per capturing ship.
    const std::int64_t share = std::int64_t{3} * st_.DefenderEonium / 20;
    st_.EoniumCaptured = static_cast<std::int32_t>(std::min(share, n * kEoniumPerShip));
    if (!Logging()) return;
    lists_.MemoHeader.push_back(StepTitle(step, s, CombatMode::EoniumCapture));
    lists_.MemoHeader.push_back("Attacking Ships");
    lists_.MemoHeader.push_back(std::to_string(n) + " " + catalogue_.Name(s) + " left to fire.");
    lists_.MemoAtt.push_back("Capturing " + std::to_string(st_.EoniumCaptured) + " out of " +
                             std::to_string(st_.DefenderEonium) + " total Eonium");
}

}  // namespace kestrin
