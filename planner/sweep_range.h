#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "planner/sweep_input.h"

namespace kestrin {

/// Fewest and most points a sweep takes.
inline constexpr std::int64_t kMinSweepPoints = 2, kMaxSweepPoints = 100000;
/// Most ticks a sweep follows each point for.
inline constexpr int kMaxSweepTicks = 100;

/// The values a sweep tries: `points` evenly spaced whole values from `from` to `to`.
struct SweepRange {
    std::int64_t from = 0;
    std::int64_t to = 0;
    std::int64_t points = 0;
};

/// Why `range` over the input of `row` cannot be swept (from not below to, points outside
/// 2..100,000, values the row's cell cannot hold), or an empty text.
std::string CheckSweepRange(const SweepRange& range, int row);

/// Why `ticks` cannot be swept (outside 1..100), or an empty text.
std::string CheckSweepTicks(int ticks);

/// The values of a checked range, ascending: point i is from + i (to - from) / (points - 1)
/// rounded to the nearest whole value (halves to even); a value equal to the one before it
/// is dropped, so a range with fewer whole values than points gives each value once.
std::vector<std::int64_t> SweepValues(const SweepRange& range);

}  // namespace kestrin
