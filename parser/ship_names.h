#pragma once

#include <array>
#include <string_view>

#include "engine/ship_catalogue.h"

namespace kestrin {

/// One slot of the alias table: a name the game writes differently, and the ShipIndex it
/// stands for as text (an empty slot names no type).
struct ShipAlias {
    std::string_view alias;
    std::string_view shipIndex;
};

/// Number of alias slots; the ones after the filled ones are empty.
inline constexpr int kShipAliasSlots = 26;

/// The game's spellings that differ from the catalogue names.
const std::array<ShipAlias, kShipAliasSlots>& ShipAliases();

/// The ShipIndex a report token names: the highest catalogue type whose Name matches exactly
/// (letter case counts), else the last matching alias, else -1.
ShipIndex MatchShipName(std::string_view token, const ShipCatalogue& catalogue);

}  // namespace kestrin
