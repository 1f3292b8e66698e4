#pragma once

#include <array>
#include <cstdint>

#include "ship_catalogue.h"

namespace kestrin {

/// A per-side, per-unit-type table, indexed [Idx(side)][ShipIndex].
template <typename T>
using PerSide = std::array<std::array<T, kShipCount>, 2>;

/// Number of asteroid kinds, always ordered uninitiated, metal, crystal, Eonium.
inline constexpr int kRoidKinds = 4;

/// One tick of a battle: the fleets at its start and what happens to them.
struct BattleState {
    PerSide<std::int32_t> Ships{};  ///< in: ships at the start of the tick
    PerSide<std::int32_t> Left{};   ///< in/out: Ships minus ships destroyed or stolen
    PerSide<std::int32_t> Lost{};   ///< out: ships destroyed or stolen
    PerSide<std::int32_t> Held{};   ///< out: ships held by EMP (not reduced by later losses)
    PerSide<std::int32_t> Stole{};  ///< out: ships of that type this side took over
    std::array<std::int32_t, kRoidKinds> Roids{};          ///< in: the defender's asteroids
    std::array<std::int32_t, kRoidKinds> RoidsCaptured{};  ///< out
    std::int32_t DefenderEonium = 0;                       ///< in
    std::int32_t EoniumCaptured = 0;                       ///< out
    std::int64_t DefenderScore = 0;                        ///< in
    std::int64_t AttackerScore = 0;                        ///< carried, unused by the simulation
    std::int64_t AttackerFleetValue = 0;                   ///< in: value of Ships[Attacker]

    /// Sets Left to Ships and every output to zero, as a tick expects.
    void PrepareTick() {
        Left = Ships;
        Lost = {};
        Held = {};
        Stole = {};
        RoidsCaptured = {};
        EoniumCaptured = 0;
    }
};

}  // namespace kestrin
