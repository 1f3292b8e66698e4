#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "parser/cut_counts.h"
#include "sheet/report_figures.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// Unit counts of a unit or PDS scan, by ShipIndex.
using UnitCounts = std::array<std::int32_t, kShipCount>;

/// Reads unit and PDS scans: every unit name followed by a token sets that type's count to
/// the token (0 if it is no number); a later mention overwrites an earlier one. `notes`, when
/// given, receives each count cut at a separator ("1,000" read as 1).
UnitCounts ReadUnitScan(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes = nullptr);

/// Reads the two sector-scan layouts, in order, into `figures` (each rule overwrites);
/// `notes` as for ReadUnitScan.
void ReadPlanetScan(TextLines lines, PlanetFigures& figures, ReportNotes* notes = nullptr);

}  // namespace kestrin
