#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace kestrin {

/// Extended precision (x87 80-bit on x86-64), the precision the combat rules compute in.
using Extended = long double;

/// Rounds to the nearest integer, halves to even (the default rounding mode, which the
/// program never changes; rint avoids nearbyint's slow save of the exception flags).
inline Extended RoundHalfEven(Extended x) { return std::rint(x); }

/// Converts to a 64-bit integer, saturating at the range's ends (NaN gives 0), so that no
/// out-of-range figure is undefined behaviour.
inline std::int64_t SaturatingInt64(Extended x) {
    if (std::isnan(x)) return 0;
    if (x >= 9223372036854775807.0L) return std::numeric_limits<std::int64_t>::max();
    if (x <= -9223372036854775808.0L) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(x);
}

/// a - b, saturating at the 64-bit range's ends instead of overflowing.
inline std::int64_t SaturatingSub(std::int64_t a, std::int64_t b) {
    std::int64_t difference = 0;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
}

/// Clamps a 64-bit count into the 32-bit range.
inline std::int32_t SaturatingInt32(std::int64_t x) {
    if (x > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (x < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(x);
}

/// A real power as the combat rules take it: an integral exponent by binary
/// exponentiation, any other as exp(exponent * ln base).
inline Extended RealPower(Extended base, Extended exponent) {
    if (exponent == 0) return 1;
    if (std::isfinite(exponent) && exponent == std::floor(exponent) &&
        std::fabs(exponent) <= 2147483647.0L) {
        auto y = static_cast<std::int64_t>(std::fabs(exponent));
        Extended factor = base;
        Extended result = 1;
        while (y > 0) {
            while ((y & 1) == 0) {
                y >>= 1;
                factor *= factor;
            }
            --y;
            result *= factor;
        }
        return exponent < 0 ? 1 / result : result;
    }
    if (base == 0 && exponent > 0) return 0;
    return std::exp(exponent * std::log(base));
}

}  // namespace kestrin
