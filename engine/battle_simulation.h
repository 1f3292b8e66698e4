#pragma once

#include <string>

#include "battle_state.h"
#include "combat_tables.h"
#include "ship_catalogue.h"
#include "simulation_context.h"

namespace kestrin {

/// Evaluates one tick: every unit type present at its start acts once, in initiative order.
/// Expects state.PrepareTick() to have been called. Returns an empty string, or the message
/// of a statistic that is not an integer (the run is then abandoned and the caller must not
/// use the results).
std::string SimulateTick(BattleState& state, const ShipCatalogue& catalogue,
                         const CombatTables& tables, SimulationContext& context);

}  // namespace kestrin
