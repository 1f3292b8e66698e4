#include "battle_simulation.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <utility>

#include "fixed_format.h"
#include "number_text.h"
#include "tick_run.h"

namespace kestrin {

namespace {

const char* ModeTitle(CombatMode mode) {
    switch (mode) {
        case CombatMode::Normal: return " - Normal Combat.";
        case CombatMode::Emp: return " - EMP Combat.";
        case CombatMode::Steal: return " - Ship Stealing Combat.";
        case CombatMode::EoniumCapture: return " - Eonium Capture.";
        case CombatMode::RoidCapture: return " - Roid Capture.";
    }
    return "";
}

const char* Verb(CombatMode mode) {
    if (mode == CombatMode::Emp) return "Holding ";
    if (mode == CombatMode::Steal) return "Capturing ";
    return "Killing ";
}

}  // namespace

TickRun::TickRun(BattleState& state, const ShipCatalogue& catalogue, const CombatTables& tables,
                 SimulationContext& context)
    : st_(state), catalogue_(catalogue), tables_(tables), context_(context) {
    solverSettings_.variant = context.SolverVariant;
    solverSettings_.trace = context.TraceHook;
    solverSettings_.traceRequested = &context.TraceRequested;
    solverSettings_.bailout = context.Bailout;
}

void TickRun::Run() {
    if (Logging()) {
        context_.LogSink->BeginLogRun();
        lists_.Clear();
    }
    ComputeCaptureLimits();
    const auto& order = tables_.initiativeOrder;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const ShipIndex s = order[i];
        if (Logging()) lists_.Clear();
        // Present at the start of the tick on either side: the type gets its step even if
        // earlier steps destroyed all its ships.
        if (st_.Ships[0][s] <= 0 && st_.Ships[1][s] <= 0) continue;
        targetClass_ = 0;
        RunStep(static_cast<int>(i), s);
        if (Logging()) context_.LogSink->WriteLogStep(lists_);
    }
}

void TickRun::RunStep(int step, ShipIndex s) {
    const CombatMode mode = tables_.units[s].mode;
    if (mode == CombatMode::RoidCapture) return RoidCapture(step, s);
    if (mode == CombatMode::EoniumCapture) return EoniumCapture(step, s);
    const std::int32_t guns = tables_.units[s].guns;
    for (Side side : {Side::Defender, Side::Attacker}) {
        // Ships destroyed or held by earlier steps do not fire; those lost in this step do.
        readyAtStepStart_[Idx(side)] =
            static_cast<std::int64_t>(At(st_.Left, side, s)) - At(st_.Held, side, s);
        availableShots_[Idx(side)] = static_cast<std::int64_t>(guns) * readyAtStepStart_[Idx(side)];
    }
    ClassLoop(step, s, mode);
    if (mode == CombatMode::Emp) return EndEmpStep();
    if (mode == CombatMode::Normal) return ApplyPendingLosses(false);
    StealerLosses(s);
    ApplyPendingLosses(true);
}

void TickRun::ClassLoop(int step, ShipIndex s, CombatMode mode) {
    // Classes 1, 2, 3 in turn; shots a side did not use pass on to the next class.
    do {
        ++targetClass_;
        Fire(step, s, mode, Side::Defender);
        Fire(step, s, mode, Side::Attacker);
    } while ((availableShots_[0] != 0 || availableShots_[1] != 0) && targetClass_ != 3);
}

void TickRun::Fire(int step, ShipIndex s, CombatMode mode, Side firing) {
    const Side target = Other(firing);
    const std::int64_t shotsAtStart = availableShots_[Idx(firing)];
    if (shotsAtStart <= 0) return;
    Firing f;  // filled up to f.count, which is all that is read
    const auto& targets = tables_.targetsByClass[s];
    const auto& start = tables_.classStart[s];
    for (int i = start[targetClass_ - 1]; i < start[targetClass_]; ++i) {
        const ShipIndex t = targets[i];
        // EMP fire only looks at ships not yet held; other fire hits held ships too.
        std::int64_t count = At(st_.Left, target, t);
        if (mode == CombatMode::Emp) count -= At(st_.Held, target, t);
        if (count <= 0) continue;
        const int k = f.count++;
        f.targets[k] = t;
        f.ships[k] = static_cast<double>(count);
        f.rates[k] = tables_.killRate[s][t];
        f.damage[k] = mode == CombatMode::Emp ? 0.0 : carriedDamage_[Idx(target)][t];
    }
    if (f.count == 0) return;
    f.shots = shotsAtStart;
    CallSolver(step, targetClass_, firing, f);
    for (int k = 0; k < f.count; ++k) {
        const ShipIndex t = f.targets[k];
        pendingLosses_[Idx(target)][t] += f.kills[k];
        hitTypes_[Idx(target)] |= std::uint64_t{1} << t;
        // Holding neither uses nor changes the carried damage.
        if (mode != CombatMode::Emp) carriedDamage_[Idx(target)][t] = f.damage[k];
    }
    if (Logging()) LogFiring(step, s, mode, firing, shotsAtStart, f);
    availableShots_[Idx(firing)] = f.shots;
}

void TickRun::CallSolver(int step, int targetClass, Side firing, Firing& f) {
    if (context_.TraceHook != nullptr && context_.NoteCycles &&
        context_.TraceHook->WantsTrace(step, targetClass, firing))
        context_.TraceRequested = true;
    const auto n = static_cast<std::size_t>(f.count);
    AllocateShots(std::span(f.ships.data(), n), std::span(f.rates.data(), n),
                  std::span(f.kills.data(), n), std::span(f.damage.data(), n), f.shots, f.cycles,
                  f.g, std::span(f.shotsAllocated.data(), n), solverSettings_);
    context_.TraceRequested = false;
}

std::string TickRun::StepTitle(int step, ShipIndex s, CombatMode mode) const {
    // "Initiatve" is the log's own spelling, kept as players and scripts know it.
    return "Initiatve Step  " + std::to_string(step) + "  : " + catalogue_.Name(s) + ModeTitle(mode);
}

void TickRun::LogFiring(int step, ShipIndex s, CombatMode mode, Side firing,
                        std::int64_t shotsAtStart, const Firing& f) {
    const std::string& name = catalogue_.Name(s);
    lists_.MemoHeader.push_back(StepTitle(step, s, mode));
    lists_.MemoHeader.push_back(firing == Side::Defender ? "Defending Ships" : "Attacking Ships");
    lists_.MemoHeader.push_back(std::to_string(readyAtStepStart_[Idx(firing)]) + " " + name +
                                " left to fire with " + std::to_string(shotsAtStart) + " guns.");
    auto& side = firing == Side::Defender ? lists_.MemoDef : lists_.MemoAtt;
    side.push_back("Firing on T" + std::to_string(targetClass_));
    for (int k = 0; k < f.count; ++k) {
        side.push_back(Verb(mode) + std::to_string(f.kills[k]) + " out of " +
                       std::to_string(static_cast<std::int64_t>(f.ships[k])) + " " +
                       catalogue_.Name(f.targets[k]) + " with " +
                       std::to_string(f.shotsAllocated[k]) + " guns.");
    }
    if (context_.NoteCycles) {
        context_.CycleNote = "  (Cycles used = " + std::to_string(f.cycles) + "  G = " +
                             FormatFixedRounded(f.g, 4, 4, context_.DecimalSeparator) + ")";
    }
    side.push_back("Guns left = " + std::to_string(f.shots) + context_.CycleNote);
}

// Losses of a step apply when it ends. A side never loses more ships than it has: with
// statistics that give a rate above one ship per shot the solver may return more kills, and
// both sides may steal from one type. Stolen ships join the taker's Stole.
void TickRun::ApplyPendingLosses(bool stolen) {
    for (int side = 0; side < 2; ++side) {
        // Only the types a firing of this step aimed at can have losses pending.
        for (std::uint64_t hit = std::exchange(hitTypes_[side], 0); hit != 0; hit &= hit - 1) {
            const ShipIndex t = std::countr_zero(hit);
            const std::int64_t applied =
                std::clamp<std::int64_t>(pendingLosses_[side][t], 0, std::max(st_.Left[side][t], 0));
            st_.Left[side][t] -= static_cast<std::int32_t>(applied);
            st_.Lost[side][t] += static_cast<std::int32_t>(applied);
            if (stolen) st_.Stole[1 - side][t] += static_cast<std::int32_t>(applied);
            pendingLosses_[side][t] = 0;
        }
    }
}

void TickRun::EndEmpStep() {
    for (int side = 0; side < 2; ++side) {
        for (std::uint64_t hit = std::exchange(hitTypes_[side], 0); hit != 0; hit &= hit - 1) {
            const ShipIndex t = std::countr_zero(hit);
            const std::int64_t free = std::max<std::int64_t>(
                static_cast<std::int64_t>(st_.Left[side][t]) - st_.Held[side][t], 0);
            const std::int64_t applied = std::clamp<std::int64_t>(pendingLosses_[side][t], 0, free);
            st_.Held[side][t] += static_cast<std::int32_t>(applied);
            pendingLosses_[side][t] = 0;
        }
    }
}

void SimulateTick(BattleState& state, const BattleRules& rules, SimulationContext& context) {
    // BattleRules come from MakeBattleRules only: the initiative order is complete.
    assert(!rules.tables.initiativeOrder.empty());
    TickRun(state, rules.catalogue, rules.tables, context).Run();
}

}  // namespace kestrin
