#include "extended_math.h"

#if !defined(KESTRIN_SOFT_EXTENDED)

#include <cstring>

namespace kestrin {

namespace {

// x86-64 keeps the 80-bit format in the low ten bytes: the significand, then sign and exponent.
SoftExtended ToSoft(long double x) {
    std::uint64_t significand = 0;
    std::uint16_t signExponent = 0;
    std::memcpy(&significand, &x, sizeof significand);
    std::memcpy(&signExponent, reinterpret_cast<const char*>(&x) + sizeof significand, sizeof signExponent);
    return SoftExtended::FromBits(significand, signExponent);
}

long double FromSoft(SoftExtended x) {
    long double result = 0;
    const std::uint64_t significand = x.Significand();
    const std::uint16_t signExponent = x.SignExponent();
    std::memcpy(&result, &significand, sizeof significand);
    std::memcpy(reinterpret_cast<char*>(&result) + sizeof significand, &signExponent, sizeof signExponent);
    return result;
}

}  // namespace

Extended Exp(Extended x) { return FromSoft(ToSoft(x).Exp()); }
Extended Log(Extended x) { return FromSoft(ToSoft(x).Log()); }

}  // namespace kestrin

#endif
