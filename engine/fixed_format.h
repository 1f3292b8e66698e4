#pragma once

#include <string>

#include "extended_math.h"

namespace kestrin {

/// Writes `value` in fixed-point with exactly `decimals` decimals, rounded once from its
/// exact binary value at whichever is coarser of `significant` digits and `decimals`
/// decimals, ties away from zero. Exact for values whose binary fraction ends within about
/// 100 decimal places (every double times a small integer).
std::string FormatFixedRounded(Extended value, int significant, int decimals, char separator);

}  // namespace kestrin
