#pragma once

#include "engine/ship_catalogue.h"
#include "parser/apply_reports.h"
#include "sheet/text_lines.h"

namespace kestrin {

/// Whether the report reader of `kind` finds any figure other than zero in `lines`: text of
/// another kind, binary or UTF-16 bytes find none, and applying them changes nothing (a
/// combat report of none empties the sheet).
bool ReportHasFigures(TextLines lines, ReportKind kind, const ShipCatalogue& catalogue);

}  // namespace kestrin
