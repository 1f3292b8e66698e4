#pragma once

#include <QString>

#include <cstdint>
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

/// The values at the ticks of `scale`, ascending.
std::vector<double> ScaleTicks(const AxisScale& scale);

/// A tick's label as the panel writes figures: thousands separators, and k or m where that
/// shortening is exact ("20m", "15k", but "12,500").
QString AxisLabel(double value, const NumberLocale& locale);

}  // namespace kestrin
