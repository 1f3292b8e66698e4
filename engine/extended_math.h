#pragma once

#include <cmath>
#include <cstdint>

namespace kestrin {

/// Extended precision (x87 80-bit on x86-64), the precision the combat rules compute in.
using Extended = long double;

/// Rounds to the nearest integer, halves to even (the default rounding mode, which the
/// program never changes; rint avoids nearbyint's slow save of the exception flags).
inline Extended RoundHalfEven(Extended x) { return std::rint(x); }

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
