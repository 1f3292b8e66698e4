#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "engine/battle_state.h"
#include "engine/ship_catalogue.h"
#include "sheet/sheet_cells.h"

namespace kestrin {

/// Units, resource costs and fleet value of one column of 54 counts.
struct FleetFigures {
    /// Sum of the positive counts. 64-bit rather than 32: 54 counts of up to
    /// 2^31 - 1 overflow 32 bits, and the true sum always fits here.
    std::int64_t units = 0;
    std::int64_t metal = 0;    ///< sum of count x Metal cost
    std::int64_t crystal = 0;  ///< sum of count x Crystal cost
    std::int64_t eonium = 0;   ///< sum of count x Eonium cost
    std::int64_t value = 0;    ///< metal div 10 + crystal div 10 + eonium div 10

    friend bool operator==(const FleetFigures&, const FleetFigures&) = default;
};

/// The Metal, Crystal and Eonium costs of the 54 unit types, read once from a catalogue
/// (leniently: text that is not a 64-bit integer counts as 0), so that a recalculation
/// parses no statistic.
struct FleetCosts {
    /// [ShipIndex][0 metal, 1 crystal, 2 eonium].
    std::array<std::array<std::int64_t, 3>, kShipCount> cost{};

    /// The costs of `catalogue`.
    static FleetCosts From(const ShipCatalogue& catalogue);
};

/// FleetValue over 54 counts: zero and negative counts are skipped. Each resource sum is
/// exact and then clamped to the 64-bit range (only statistics of absurd size reach it).
FleetFigures FleetValue(std::span<const std::int32_t, kShipCount> counts, const FleetCosts& costs);

/// FleetValue with the costs read from `catalogue` (for callers outside a recalculation).
FleetFigures FleetValue(std::span<const std::int32_t, kShipCount> counts, const ShipCatalogue& catalogue);

/// The figures rows 55..59 hold, read back as numbers: all five zero when the value is zero.
FleetFigures ShownFleetFigures(const FleetFigures& figures);

/// The texts of rows 55..59 of one column: units, metal, crystal, eonium, value as plain
/// integers ("0" included) when the value is not zero; all five empty when it is.
std::array<std::string, 5> FleetRowTexts(const FleetFigures& figures);

/// Writes the FleetRowTexts of one column into rows 55..59.
void WriteFleetColumn(SheetCells& cells, int col, const FleetFigures& figures);

/// Fills rows 55..59 of the ten result columns from a recalculated `state` (Left already
/// including Stole): Ships, Held, Lost, Stole, Left of each side.
void WriteFleetRows(SheetCells& cells, const BattleState& state, const FleetCosts& costs);

}  // namespace kestrin
