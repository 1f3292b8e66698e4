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

/// Reads a combat report: unit lines (a name, then figures separated by blanks, in the order
/// of the report's columns) and the asteroid lines of its "Asteroids" section. A figure is read
/// as a typed count ("1,500"); what was read otherwise than as plain digits goes to `notes`.
CombatReport ReadCombatReport(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes = nullptr);

}  // namespace kestrin
