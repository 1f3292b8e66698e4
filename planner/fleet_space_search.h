#pragma once

#include <cstdint>
#include <span>

#include "planner/fleet_ledger.h"
#include "planner/fleet_space.h"

namespace kestrin {

/// Tries every fleet of `space` in index order, in batches, until the ledger is done.
void WalkFleetSpace(FleetLedger& ledger, const FleetSpace& space);

/// Searches a space too large to try whole until the ledger's budget is spent (see DESIGN.md),
/// starting with `start`. The fleets tried depend only on the outcomes and `seed`.
void SearchFleetSpace(FleetLedger& ledger, const FleetSpace& space, std::span<const std::int32_t> start,
                      std::uint64_t seed);

}  // namespace kestrin
