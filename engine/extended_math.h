#pragma once

// The one place where the targets differ in arithmetic. The combat rules compute in the x87's
// 80-bit extended precision. On x86-64 that is long double, done by the hardware; where long
// double is another format (WebAssembly's is a 128-bit software type), SoftExtended gives the
// hardware's results bit for bit. e^x and ln x are SoftExtended's, correctly rounded, on every
// target: the x87's own instructions for them are not specified to the last bit (the C
// library's results differ from the correctly rounded ones for about one argument in eight),
// so the figures would otherwise depend on the processor. Everything above computes with
// `Extended` and these functions only, never with long double or its library calls directly.

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#if !defined(KESTRIN_SOFT_EXTENDED) && LDBL_MANT_DIG != 64
#define KESTRIN_SOFT_EXTENDED 1
#endif

#include "soft_extended.h"
#if !defined(KESTRIN_SOFT_EXTENDED)
#include <charconv>
#endif

namespace kestrin {

#if defined(KESTRIN_SOFT_EXTENDED)

using Extended = SoftExtended;

inline Extended Floor(Extended x) { return x.ToInteger(SoftExtended::Rounding::Down); }
inline Extended Ceil(Extended x) { return x.ToInteger(SoftExtended::Rounding::Up); }
/// Rounds to the nearest integer, halves to even (the default rounding mode).
inline Extended RoundHalfEven(Extended x) { return x.ToInteger(SoftExtended::Rounding::Nearest); }
inline Extended Fabs(Extended x) { return x.Abs(); }
inline bool IsNaN(Extended x) { return x.IsNaN(); }
inline bool IsFinite(Extended x) { return x.IsFinite(); }
inline Extended Exp(Extended x) { return x.Exp(); }
inline Extended Log(Extended x) { return x.Log(); }
/// Digits with an optional '.' and exponent (no sign), correctly rounded; nothing beyond the
/// range or below the normal range, as the C library's conversion.
inline std::optional<Extended> ExtendedFromDecimal(std::string_view text) { return SoftExtended::FromDecimal(text); }
/// The exact value of a magnitude in fixed notation, rounded half to even at `decimals`.
inline std::string FixedDecimalText(Extended magnitude, int decimals) { return magnitude.FixedDecimal(decimals); }

#else

/// Extended precision (x87 80-bit on x86-64), the precision the combat rules compute in.
using Extended = long double;

inline Extended Floor(Extended x) { return std::floor(x); }
inline Extended Ceil(Extended x) { return std::ceil(x); }
/// Rounds to the nearest integer, halves to even (the default rounding mode, which the
/// program never changes; rint avoids nearbyint's slow save of the exception flags).
inline Extended RoundHalfEven(Extended x) { return std::rint(x); }
inline Extended Fabs(Extended x) { return std::fabs(x); }
inline bool IsNaN(Extended x) { return std::isnan(x); }
inline bool IsFinite(Extended x) { return std::isfinite(x); }
/// e^x and ln x, correctly rounded (see above).
Extended Exp(Extended x);
Extended Log(Extended x);
inline std::optional<Extended> ExtendedFromDecimal(std::string_view text) {
    Extended value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}
inline std::string FixedDecimalText(Extended magnitude, int decimals) {
    char buffer[6000];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, decimals);
    return {buffer, written.ec == std::errc() ? written.ptr : buffer};
}

#endif

/// A real power as the combat rules take it: an integral exponent by binary
/// exponentiation, any other as exp(exponent * ln base).
inline Extended RealPower(Extended base, Extended exponent) {
    if (exponent == 0) return 1;
    if (IsFinite(exponent) && exponent == Floor(exponent) && Fabs(exponent) <= 2147483647.0) {
        auto y = static_cast<std::int64_t>(Fabs(exponent));
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
    return Exp(exponent * Log(base));
}

}  // namespace kestrin
