#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
#include "sheet/number_format.h"

namespace kestrin {

/// The sweep's fields as the player typed them.
struct SweepFieldTexts {
    std::string from, to, points, ticks;
};

/// Reads the sweep's fields as the grid reads a count ("2.5k", "1 000") into the range and
/// ticks of `request` (its input chosen), or says why they cannot be swept, in the field's
/// words: "From and To take whole numbers", "Ticks: 'x' is not a whole number", then the
/// range's and the ticks' checks.
std::string ReadSweepFields(const SweepFieldTexts& fields, const NumberLocale& locale, SweepRequest& request);

/// Best Fleet's fields as the player typed them: each ticked row's Most, the most loss
/// (empty: no limit), the fewest asteroids and the ticks and evaluations.
struct FleetFieldTexts {
    std::vector<std::pair<int, std::string>> most;  ///< row, typed bound
    std::string minRoids, maxLoss, ticks, evaluations;
};

/// Reads Best Fleet's fields into `request` (rows, limits, ticks, evaluations) and checks it
/// (CheckFleetSearch), or says which field holds what: "Most Harpy: 'x' is not a count from 0
/// up", "Most loss: 'x' is not a whole number".
std::string ReadFleetFields(const ShipCatalogue& catalogue, const FleetFieldTexts& fields, const NumberLocale& locale,
                            FleetSearchRequest& request);

/// Why a sweep or search cannot start while the other (`running`: "sweep" or "search") has
/// the cores: "The sweep is running: wait for it or cancel it."
std::string OtherRunningText(std::string_view running);

}  // namespace kestrin
