#pragma once

#include "planner/fleet_ledger.h"

namespace kestrin {

/// The search of a space too large to try whole, until the ledger's budget is used up: line
/// sweeps of each row from the grid's fleet, then a pattern search on whole counts (moves of
/// one row up or down and exchanges between two rows, the steps halving when no move helps)
/// that restarts from seeded random fleets once its steps are down to one ship.
void SearchByPatterns(FleetLedger& ledger, const FleetSearchRequest& request);

}  // namespace kestrin
