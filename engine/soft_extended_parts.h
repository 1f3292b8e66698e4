#pragma once

// The pieces the software extended type's operations share: the unpacked form and the one
// rounding step every result goes through.

#include <bit>
#include <cstdint>

#include "soft_extended.h"

namespace kestrin::soft {

__extension__ typedef unsigned __int128 U128;

constexpr int kBias = 16383;
constexpr int kMaxField = 0x7fff;

inline int LeadingZeros(U128 x) {
    const auto high = static_cast<std::uint64_t>(x >> 64);
    return high != 0 ? std::countl_zero(high) : 64 + std::countl_zero(static_cast<std::uint64_t>(x));
}

/// x >> n with every bit shifted out folded into the lowest bit, so rounding still sees it.
inline U128 ShiftRightSticky(U128 x, int n) {
    if (n <= 0) return x;
    if (n >= 128) return x != 0 ? 1 : 0;
    const U128 lost = x & ((U128(1) << n) - 1);
    return (x >> n) | (lost != 0 ? 1 : 0);
}

/// A finite non-zero value: significand * 2^(exponent - 63), the significand's top bit set.
struct Unpacked {
    bool negative = false;
    int exponent = 0;
    std::uint64_t significand = 0;
};

enum class Kind { Zero, Finite, Infinite, NaN };

inline Kind KindOf(SoftExtended x) {
    const int field = x.SignExponent() & kMaxField;
    if (field == kMaxField) return (x.Significand() << 1) == 0 ? Kind::Infinite : Kind::NaN;
    if (x.Significand() == 0) return Kind::Zero;
    return Kind::Finite;
}

inline Unpacked Unpack(SoftExtended x) {
    const int field = x.SignExponent() & kMaxField;
    Unpacked u{x.IsNegative(), field - kBias, x.Significand()};
    if (field == 0) {  // subnormal: the exponent of the smallest normal, no integer bit
        const int shift = std::countl_zero(u.significand);
        u.significand <<= shift;
        u.exponent = 1 - kBias - shift;
    }
    return u;
}

inline SoftExtended Signed(bool negative, std::uint64_t significand, int field) {
    return SoftExtended::FromBits(significand, static_cast<std::uint16_t>((negative ? 0x8000 : 0) | field));
}

inline SoftExtended Infinity(bool negative) { return Signed(negative, 0x8000000000000000u, kMaxField); }
inline SoftExtended Zero(bool negative) { return Signed(negative, 0, 0); }
/// The x87's default NaN ("real indefinite").
inline SoftExtended DefaultNaN() { return Signed(true, 0xC000000000000000u, kMaxField); }

/// A significand of `precision` bits rounded to nearest, ties to even, from significand *
/// 2^(exponent - 127) (the top bit of `significand` set, lower bits sticky), for a format
/// with the given exponent bias. `field` is the biased exponent, 0 for a subnormal; a field
/// at or beyond `maxField` means the result overflowed.
struct Rounded {
    std::uint64_t significand = 0;
    int field = 0;
};

inline Rounded RoundSignificand(int exponent, U128 significand, int precision, int bias) {
    int field = exponent + bias;
    if (field < 1) {
        significand = ShiftRightSticky(significand, 1 - field);
        field = 1;
    }
    const int drop = 128 - precision;
    U128 kept = significand >> drop;
    const U128 rest = significand & ((U128(1) << drop) - 1);
    const U128 half = U128(1) << (drop - 1);
    if (rest > half || (rest == half && (kept & 1) != 0)) ++kept;
    if (kept >> precision != 0) {  // the carry made one more bit
        kept >>= 1;
        ++field;
    }
    if ((kept >> (precision - 1)) == 0) field = 0;  // still subnormal
    return {static_cast<std::uint64_t>(kept), field};
}

/// The extended value nearest significand * 2^(exponent - 127) (top bit set, lower bits sticky).
inline SoftExtended RoundToExtended(bool negative, int exponent, U128 significand) {
    const Rounded r = RoundSignificand(exponent, significand, 64, kBias);
    if (r.field >= kMaxField) return Infinity(negative);
    return Signed(negative, r.significand, r.field);
}

/// The same for an unnormalised non-zero significand * 2^(exponent - 127).
inline SoftExtended NormaliseAndRound(bool negative, int exponent, U128 significand) {
    const int shift = LeadingZeros(significand);
    return RoundToExtended(negative, exponent - shift, significand << shift);
}

}  // namespace kestrin::soft
