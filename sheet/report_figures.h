#pragma once

#include <array>
#include <cstdint>

#include "engine/battle_state.h"
#include "engine/ship_catalogue.h"

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
    std::array<std::int32_t, kRoidKinds> RoidsBefore{};  ///< uninitiated, metal, crystal, eonium
    std::array<std::int32_t, kRoidKinds> RoidsSecond{};
};

/// The planet figures of a sector scan.
struct PlanetFigures {
    std::int64_t Score = 0;
    std::int64_t Eonium = 0;
    std::array<std::int32_t, kRoidKinds> Roids{};  ///< uninitiated, metal, crystal, eonium
};

}  // namespace kestrin
