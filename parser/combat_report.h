#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// A combat report's figures: per unit type the six figures of its line, and the asteroid
/// rows' first and second figures.
struct CombatReport {
    std::array<std::int32_t, kShipCount> AttackerTotal{};
    std::array<std::int32_t, kShipCount> AttackerLost{};
    std::array<std::int32_t, kShipCount> AttackerHeld{};
    std::array<std::int32_t, kShipCount> DefenderTotal{};
    std::array<std::int32_t, kShipCount> DefenderLost{};
    std::array<std::int32_t, kShipCount> DefenderHeld{};
    std::array<std::int32_t, 4> RoidsBefore{};  ///< uninitiated, metal, crystal, eonium
    std::array<std::int32_t, 4> RoidsSecond{};
};

/// Reads a combat report: unit lines (a name, then figures separated by blanks, in the order
/// of the report's columns) and the asteroid lines of its "Asteroids" section.
CombatReport ReadCombatReport(TextLines lines, const ShipCatalogue& catalogue);

}  // namespace kestrin
