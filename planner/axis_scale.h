#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sheet/number_format.h"

namespace kestrin {

/// The ticks of a chart axis over whole-number figures: round steps (1, 2 or 5 times a power
/// of ten, at least 1) from `min` to `max`, both multiples of the step.
struct AxisScale {
    double min = 0;
    double max = 1;
    double step = 1;
};

/// A scale holding every value from `low` to `high` in about five steps. A range without width
/// (every value the same, zero included) still gets one step: from the value up, or down to it
/// when it is negative.
AxisScale NiceScale(double low, double high);

/// The span of figures an axis shows.
struct ValueRange {
    double low = 0;
    double high = 0;
};

/// What an axis shows of `values` (at least one): all of them, unless a few lie far beyond
/// the rest; then only the values within the range from the 5th to the 95th percentile,
/// widened by its own width on each side, so that one spike does not flatten the line. Zero is added where the figures
/// would still fill a third of the axis (or are all the same): a figure then reads against
/// nothing lost or captured, while -3,063 against -3,100 is not drawn as a flat line.
ValueRange ShownRange(std::vector<double> values);

/// The values at the ticks of `scale`, ascending.
std::vector<double> ScaleTicks(const AxisScale& scale);

/// A tick's label as the panel writes figures: thousands separators, and k or m where that
/// shortening is exact ("20m", "15k", but "12,500").
std::string AxisLabel(double value, const NumberLocale& locale);

}  // namespace kestrin
