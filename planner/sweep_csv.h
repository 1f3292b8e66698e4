#pragma once

#include <string>

#include "planner/battle_sweep.h"

namespace kestrin {

/// The header line of a sweep's CSV text: value, tick and every figure's key.
std::string SweepCsvHeader();

/// One point's lines of the CSV text, one per tick.
std::string SweepCsvLines(const SweepPoint& point);

/// A sweep as CSV for a spreadsheet: the header, then one line per point and tick, in
/// point order, ticks numbered from 1. Lines end in "\n".
std::string SweepCsv(const SweepResult& result);

}  // namespace kestrin
