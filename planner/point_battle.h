#pragma once

#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/battle_state.h"
#include "engine/simulation_context.h"
#include "planner/sweep_figures.h"
#include "planner/sweep_input.h"
#include "sheet/fleet_value.h"

namespace kestrin {

/// The inputs of a sheet's first recalculation (what Recalculate reads from the cells), with
/// the swept input set to `value`. `value` must lie within the row's limits.
BattleState PointStart(const BattleState& sheetInputs, const SweepInput& input, std::int64_t value);

/// The sweep's counterpart of the sheet's recalculations and tick steps, on numbers instead of
/// cell texts: each tick as Recalculate fills the panel, each further tick as StepForward
/// carries the Left columns into the inputs. Its figures equal the sheet's exactly.
///
/// One PointBattle per worker thread: it owns the simulation context the engine writes into.
class PointBattle {
public:
    /// `rules` and `costs` are shared read-only and must outlive this object.
    PointBattle(const BattleRules& rules, const FleetCosts& costs, SolverVariant solver);

    /// Fills `ticks` with the figures of `count` ticks from `start`.
    void Run(BattleState start, int count, std::vector<SweepFigures>& ticks);

private:
    SweepFigures Figures(const BattleState& state) const;

    const BattleRules& rules_;
    const FleetCosts& costs_;
    SimulationContext context_;
};

}  // namespace kestrin
