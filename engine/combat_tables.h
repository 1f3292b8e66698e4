#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ship_catalogue.h"

namespace kestrin {

/// How a unit type acts when its initiative comes.
enum class CombatMode { Normal, Emp, Steal, RoidCapture, EoniumCapture };

/// The figures the battle simulation converts from a unit type's statistics, converted once.
struct UnitFigures {
    CombatMode mode = CombatMode::Normal;
    std::int32_t guns = 0;
    std::int64_t cost = 0;  ///< Metal + Crystal + Eonium
};

/// Tables derived once from the catalogue; read-only afterwards.
struct CombatTables {
    /// [firer][target]: 0 = cannot fire on it, 1..3 = in the firer's class T1..T3.
    std::array<std::array<std::int32_t, kShipCount>, kShipCount> targetClass{};
    /// [firer]: the targets of class 1, then 2, then 3, each class in type order; class c
    /// fills positions classStart[firer][c - 1] up to classStart[firer][c].
    std::array<std::array<ShipIndex, kShipCount>, kShipCount> targetsByClass{};
    std::array<std::array<std::uint8_t, 4>, kShipCount> classStart{};
    /// [firer][target]: ships destroyed (held, taken) per shot; 0 where the class is 0.
    std::array<std::array<double, kShipCount>, kShipCount> killRate{};
    /// Element v is the ShipIndex of the unit type whose Initiative is v.
    std::vector<ShipIndex> initiativeOrder;
    /// Combat mode and converted figures of each unit type.
    std::array<UnitFigures, kShipCount> units{};
};

/// Result of building the tables: on a conversion error (a statistic that is no integer, a
/// kill rate that is no finite number) `error` holds its message and the tables are unusable.
struct CombatTablesBuild {
    CombatTables tables;
    std::string error;
};

/// Derives the target classes, kill rates, initiative order and unit figures.
CombatTablesBuild BuildCombatTables(const ShipCatalogue& catalogue);

/// The initiative value an Initiative text gives a type: only the plain decimal forms of
/// 0..53 (no sign, no leading zero) count.
std::optional<int> InitiativeSlot(std::string_view text);

/// The combat mode a unit type's ShipType and Race give it.
CombatMode CombatModeOf(const ShipRecord& record);

}  // namespace kestrin
