#pragma once

#include <cstdint>
#include <string>

#include "battle_simulation.h"

namespace kestrin {

/// Working data of one SimulateTick run; lives for the run only.
class TickRun {
public:
    TickRun(BattleState& state, const ShipCatalogue& catalogue, const CombatTables& tables,
            SimulationContext& context);

    /// Runs the tick.
    void Run();

private:
    // One firing: the solver's inputs and outputs for the target types of one class (or the
    // four asteroid kinds of a capture). The arrays are left uninitialised by `Firing f;`,
    // as a firing fills what it uses and clearing them would cost more than the fill.
    struct Firing {
        int count = 0;
        std::array<ShipIndex, kShipCount> targets;
        std::array<double, kShipCount> ships;
        std::array<double, kShipCount> rates;
        std::array<double, kShipCount> damage;
        std::array<std::int64_t, kShipCount> kills;
        std::array<std::int64_t, kShipCount> shotsAllocated;
        std::int64_t shots = 0;
        int cycles = 0;
        double g = 0;
    };

    void ComputeCaptureLimits();
    void RunStep(int step, ShipIndex s);
    void ClassLoop(int step, ShipIndex s, CombatMode mode);
    void Fire(int step, ShipIndex s, CombatMode mode, Side firing);
    void LogFiring(int step, ShipIndex s, CombatMode mode, Side firing, std::int64_t shotsAtStart,
                   const Firing& f);
    void CallSolver(int step, int targetClass, Side firing, Firing& f);
    void ApplyPendingLosses(bool stolen);
    void EndEmpStep();
    void StealerLosses(ShipIndex s);
    std::int64_t StealerLoss(Side stealer, ShipIndex s) const;
    void RoidCapture(int step, ShipIndex s);
    void EoniumCapture(int step, ShipIndex s);
    void TrimCapturesToShots(Firing& f, std::int64_t shots) const;
    std::string StepTitle(int step, ShipIndex s, CombatMode mode) const;
    bool Logging() const { return context_.LogEnabled && context_.LogSink != nullptr; }
    std::int32_t& At(PerSide<std::int32_t>& table, Side side, ShipIndex t) { return table[Idx(side)][t]; }

    BattleState& st_;
    const ShipCatalogue& catalogue_;
    const CombatTables& tables_;
    SimulationContext& context_;
    SolverSettings solverSettings_;
    StepLists lists_;

    PerSide<std::int64_t> pendingLosses_{};
    std::array<std::uint64_t, 2> hitTypes_{};  // bit t: a firing of this step aimed at type t
    static_assert(kShipCount <= 64, "one bit per unit type");
    PerSide<double> carriedDamage_{};
    std::array<std::int64_t, 2> availableShots_{};
    std::array<std::int64_t, 2> readyAtStepStart_{};  // Left - Held of the acting type
    int targetClass_ = 0;
    double captureRate_ = 0;
    std::int64_t maxCapture_ = 0;
};

}  // namespace kestrin
