#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ship_catalogue.h"
#include "parser/cut_counts.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// A military scan: per unit type the ships at home and in each of the three fleets.
struct MilitaryScan {
    std::array<std::int32_t, kShipCount> Home{};
    std::array<std::int32_t, kShipCount> Fleet1{};
    std::array<std::int32_t, kShipCount> Fleet2{};
    std::array<std::int32_t, kShipCount> Fleet3{};
};

/// Which of the scan's columns to add ("Home", "Fleet 1", "Fleet 2", "Fleet 3").
struct FleetChoice {
    bool home = false;
    bool fleet1 = false;
    bool fleet2 = false;
    bool fleet3 = false;
};

/// Reads lines that open with a unit name followed by up to four counts. `notes`, when given,
/// receives each count cut at a separator ("1,000" read as 1); blanks part the columns.
MilitaryScan ReadMilitaryScan(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes = nullptr);

/// The chosen columns summed per unit type (64-bit: four 32-bit counts may exceed 32 bits).
std::array<std::int64_t, kShipCount> ChosenFleets(const MilitaryScan& scan, const FleetChoice& choice);

}  // namespace kestrin
