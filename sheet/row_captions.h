#pragma once

#include <string_view>

#include "engine/ship_catalogue.h"

namespace kestrin {

/// The caption the sheet shows for `row` (1..65) of `side` (columns 0 and 6): the unit type's
/// name (none on the attacker's side for a planetary defence, which never attacks), then the
/// totals, asteroid, Eonium and score rows. Empty outside those rows. A view of `catalogue` or
/// of a constant.
std::string_view RowCaption(const ShipCatalogue& catalogue, Side side, int row);

}  // namespace kestrin
