#pragma once

// Where long double is the x87's 80-bit format (x86-64), its bits move into SoftExtended and
// back unchanged: the low ten bytes hold the significand, then sign and exponent.

#include <cfloat>
#include <cstdint>
#include <cstring>

#include "soft_extended.h"

#if LDBL_MANT_DIG == 64

namespace kestrin {

inline SoftExtended SoftFromLongDouble(long double x) {
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&significand, &x, sizeof significand);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&x) + sizeof significand, sizeof signExponent);
    return SoftExtended::FromBits(significand, signExponent);
}

inline long double LongDoubleFromSoft(SoftExtended x) {
    long double result = 0;
    const std::uint64_t significand = x.Significand();
    const std::uint16_t signExponent = x.SignExponent();
    std::memcpy(&result, &significand, sizeof significand);
    std::memcpy(reinterpret_cast<char*>(&result) + sizeof significand, &signExponent, sizeof signExponent);
    return result;
}

}  // namespace kestrin

#endif
