#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// Unit counts of a unit or PDS scan, by ShipIndex.
using UnitCounts = std::array<std::int32_t, kShipCount>;

/// The planet figures of a sector scan.
struct PlanetFigures {
    std::int64_t Score = 0;
    std::int64_t Eonium = 0;
    std::array<std::int32_t, 4> Roids{};  ///< uninitiated, metal, crystal, eonium
};

/// Reads unit and PDS scans: every unit name followed by a token sets that type's count to
/// the token (0 if it is no number); a later mention overwrites an earlier one.
UnitCounts ReadUnitScan(TextLines lines, const ShipCatalogue& catalogue);

/// Reads the two sector-scan layouts, in order, into `figures` (each rule overwrites).
void ReadPlanetScan(TextLines lines, PlanetFigures& figures);

}  // namespace kestrin
