#pragma once

#include <string>
#include <vector>

#include "ship_catalogue.h"

namespace kestrin {

/// A catalogue the battle rules can use, and what had to be replaced to get it.
struct CatalogueCheck {
    ShipCatalogue catalogue;
    std::vector<std::string> problems;  ///< one line each, naming the type and the field
};

/// Replaces by the built-in values every statistic the combat rules cannot use: numbers
/// that are not numbers or lie beyond the double range, an Initiative set that is not 0..53
/// each once, a Name held by more than one type (every Name is then the built-in one), a Power
/// that is not positive on a non-EMP type that fires, and an Armor that is not positive. Every kill rate of the checked catalogue is a finite number.
CatalogueCheck CheckShipCatalogue(const ShipCatalogue& catalogue);

/// One message listing every problem, for the user at start-up; empty when there are none.
std::string CatalogueProblemsMessage(const std::vector<std::string>& problems);

}  // namespace kestrin
