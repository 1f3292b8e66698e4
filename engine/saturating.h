#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/extended_math.h"

namespace kestrin {

/// 128-bit integers (a GCC and Clang extension): a 32-bit count times a 64-bit cost, summed
/// over every unit type, or a 64-bit span times a point index, is exact in them.
__extension__ typedef __int128 Int128;

/// Converts to a 64-bit integer, saturating at the range's ends (NaN gives 0), so that no
/// out-of-range figure is undefined behaviour.
inline std::int64_t SaturatingInt64(Extended x) {
    if (IsNaN(x)) return 0;
    if (x >= 0x1p63) return std::numeric_limits<std::int64_t>::max();
    if (x <= -0x1p63) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

/// Clamps an exact 128-bit result into the 64-bit range.
inline std::int64_t SaturatingInt64(Int128 x) {
    if (x > std::numeric_limits<std::int64_t>::max()) return std::numeric_limits<std::int64_t>::max();
    if (x < std::numeric_limits<std::int64_t>::min()) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

/// Clamps a 64-bit count into the 32-bit range.
inline std::int32_t SaturatingInt32(std::int64_t x) {
    if (x > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (x < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

/// a + b, saturating at the 64-bit range's ends instead of overflowing.
inline std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
    std::int64_t sum = 0;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

/// value * factor + add on unsigned magnitudes (factor > 0), saturating at the range's top.
inline std::uint64_t SaturatingMultiplyAdd(std::uint64_t value, std::uint64_t factor, std::uint64_t add) {
    constexpr std::uint64_t kTop = std::numeric_limits<std::uint64_t>::max();
    if (value > (kTop - add) / factor) return kTop;
    return value * factor + add;
}

/// a - b, saturating at the 64-bit range's ends instead of overflowing.
inline std::int64_t SaturatingSub(std::int64_t a, std::int64_t b) {
    std::int64_t difference = 0;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

}  // namespace kestrin
