#pragma once

#include "battle_rules.h"
#include "battle_state.h"
#include "simulation_context.h"

namespace kestrin {

/// Evaluates one tick: every unit type present at its start acts once, in initiative order.
/// Expects state.PrepareTick() to have been called.
void SimulateTick(BattleState& state, const BattleRules& rules, SimulationContext& context);

}  // namespace kestrin
