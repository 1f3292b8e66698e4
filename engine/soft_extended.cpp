#include "soft_extended.h"

#include <cstring>
#include <utility>

#include "soft_extended_parts.h"

namespace kestrin {

using soft::Kind;
using soft::KindOf;
using soft::U128;
using soft::Unpack;
using soft::Unpacked;

SoftExtended SoftExtended::FromBits(std::uint64_t significand, std::uint16_t signExponent) {
    SoftExtended x;
    x.significand_ = significand;
    x.signExponent_ = signExponent;
    return x;
}

SoftExtended SoftExtended::FromMagnitude(bool negative, std::uint64_t magnitude) {
    if (magnitude == 0) return soft::Zero(false);
    const int shift = std::countl_zero(magnitude);
    return soft::Signed(negative, magnitude << shift, soft::kBias + 63 - shift);
}

SoftExtended::SoftExtended(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const bool negative = (bits >> 63) != 0;
    const int field = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    if (field == 0x7ff) {  // infinity, or a NaN keeping its payload
        *this = soft::Signed(negative, 0x8000000000000000u | (fraction << 11), soft::kMaxField);
    } else if (field == 0) {
        if (fraction == 0) {
            *this = soft::Zero(negative);
        } else {  // fraction * 2^-1074
            const int shift = std::countl_zero(fraction);
            *this = soft::Signed(negative, fraction << shift, soft::kBias - 1074 + 63 - shift);
        }
    } else {
        *this = soft::Signed(negative, 0x8000000000000000u | (fraction << 11), field - 1023 + soft::kBias);
    }
}

SoftExtended::operator double() const {
    std::uint64_t bits = IsNegative() ? std::uint64_t(1) << 63 : 0;
    switch (KindOf(*this)) {
        case Kind::Zero:
            break;
        case Kind::Infinite:
            bits |= std::uint64_t(0x7ff) << 52;
            break;
        case Kind::NaN:
            bits |= (std::uint64_t(0x7ff) << 52) | ((significand_ >> 11) & ((std::uint64_t(1) << 52) - 1));
            break;
        case Kind::Finite: {
            const Unpacked u = Unpack(*this);
            const soft::Rounded r = soft::RoundSignificand(u.exponent, U128(u.significand) << 64, 53, 1023);
            if (r.field >= 0x7ff) bits |= std::uint64_t(0x7ff) << 52;
            else bits |= (std::uint64_t(r.field) << 52) | (r.significand & ((std::uint64_t(1) << 52) - 1));
            break;
        }
    }
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

SoftExtended::operator std::int64_t() const {
    if (KindOf(*this) != Kind::Finite) return 0;
    const Unpacked u = Unpack(*this);
    if (u.exponent < 0) return 0;
    const std::uint64_t magnitude = u.exponent >= 63 ? u.significand : u.significand >> (63 - u.exponent);
    return static_cast<std::int64_t>(u.negative ? 0 - magnitude : magnitude);
}

bool SoftExtended::IsNaN() const { return KindOf(*this) == Kind::NaN; }

namespace {

SoftExtended Quieted(SoftExtended x) {
    return SoftExtended::FromBits(x.Significand() | 0x4000000000000000u, x.SignExponent());
}

// The NaN an operation with a NaN operand gives: the one with the larger significand.
SoftExtended NaNResult(SoftExtended a, SoftExtended b) {
    if (!a.IsNaN()) return Quieted(b);
    if (!b.IsNaN()) return Quieted(a);
    return Quieted((a.Significand() << 1) >= (b.Significand() << 1) ? a : b);
}

}  // namespace

SoftExtended SoftExtended::Add(SoftExtended a, SoftExtended b, bool subtract) {
    if (subtract) b = -b;
    const Kind ka = KindOf(a), kb = KindOf(b);
    if (ka == Kind::NaN || kb == Kind::NaN) return NaNResult(a, b);
    if (ka == Kind::Infinite || kb == Kind::Infinite) {
        if (ka == Kind::Infinite && kb == Kind::Infinite && a.IsNegative() != b.IsNegative())
            return soft::DefaultNaN();
        return ka == Kind::Infinite ? a : b;
    }
    if (ka == Kind::Zero && kb == Kind::Zero) return soft::Zero(a.IsNegative() && b.IsNegative());
    if (ka == Kind::Zero) return b;
    if (kb == Kind::Zero) return a;
    Unpacked x = Unpack(a), y = Unpack(b);
    if (x.exponent < y.exponent || (x.exponent == y.exponent && x.significand < y.significand))
        std::swap(x, y);
    // Both with 63 spare bits below and one above, the smaller one aligned with its lost
    // bits kept as sticky: more than enough for one correct rounding.
    const U128 large = U128(x.significand) << 63;
    const U128 small = soft::ShiftRightSticky(U128(y.significand) << 63, x.exponent - y.exponent);
    const U128 result = x.negative == y.negative ? large + small : large - small;
    if (result == 0) return soft::Zero(false);
    return soft::NormaliseAndRound(x.negative, x.exponent + 1, result);
}

SoftExtended operator*(SoftExtended a, SoftExtended b) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    const bool negative = a.IsNegative() != b.IsNegative();
    if (ka == Kind::NaN || kb == Kind::NaN) return NaNResult(a, b);
    if (ka == Kind::Infinite || kb == Kind::Infinite) {
        if (ka == Kind::Zero || kb == Kind::Zero) return soft::DefaultNaN();
        return soft::Infinity(negative);
    }
    if (ka == Kind::Zero || kb == Kind::Zero) return soft::Zero(negative);
    const Unpacked x = Unpack(a), y = Unpack(b);
    const U128 product = U128(x.significand) * y.significand;
    return soft::NormaliseAndRound(negative, x.exponent + y.exponent + 1, product);
}

SoftExtended operator/(SoftExtended a, SoftExtended b) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    const bool negative = a.IsNegative() != b.IsNegative();
    if (ka == Kind::NaN || kb == Kind::NaN) return NaNResult(a, b);
    if (ka == Kind::Infinite) return kb == Kind::Infinite ? soft::DefaultNaN() : soft::Infinity(negative);
    if (kb == Kind::Infinite) return soft::Zero(negative);
    if (kb == Kind::Zero) return ka == Kind::Zero ? soft::DefaultNaN() : soft::Infinity(negative);
    if (ka == Kind::Zero) return soft::Zero(negative);
    const Unpacked x = Unpack(a), y = Unpack(b);
    // 128 quotient bits in two long divisions, the remainder as sticky.
    const U128 first = (U128(x.significand) << 63) / y.significand;
    const auto remainder = static_cast<std::uint64_t>((U128(x.significand) << 63) % y.significand);
    const U128 second = (U128(remainder) << 64) / y.significand;
    const bool inexact = (U128(remainder) << 64) % y.significand != 0;
    const U128 quotient = (first << 64) | second | (inexact ? 1 : 0);
    return soft::NormaliseAndRound(negative, x.exponent - y.exponent, quotient);
}

std::partial_ordering SoftExtended::Compare(SoftExtended a, SoftExtended b) {
    const Kind ka = KindOf(a), kb = KindOf(b);
    if (ka == Kind::NaN || kb == Kind::NaN) return std::partial_ordering::unordered;
    if (ka == Kind::Zero && kb == Kind::Zero) return std::partial_ordering::equivalent;
    const bool aNegative = ka != Kind::Zero && a.IsNegative();
    const bool bNegative = kb != Kind::Zero && b.IsNegative();
    if (aNegative != bNegative) return aNegative ? std::partial_ordering::less : std::partial_ordering::greater;
    // Same sign: the magnitudes' bits order as the magnitudes do.
    const auto magnitude = [](SoftExtended x, Kind k) {
        return k == Kind::Zero ? U128(0) : (U128(x.SignExponent() & 0x7fff) << 64) | x.Significand();
    };
    const U128 ma = magnitude(a, ka), mb = magnitude(b, kb);
    if (ma == mb) return std::partial_ordering::equivalent;
    return (ma < mb) != aNegative ? std::partial_ordering::less : std::partial_ordering::greater;
}

SoftExtended SoftExtended::ToInteger(Rounding rounding) const {
    if (KindOf(*this) != Kind::Finite) return *this;
    const Unpacked u = Unpack(*this);
    if (u.exponent >= 63) return *this;
    // Whole part and the fraction as a 128-bit fixed-point number with 64 fraction bits.
    const U128 fixed = u.exponent >= -1 ? U128(u.significand) << (u.exponent + 1)
                                        : soft::ShiftRightSticky(u.significand, -(u.exponent + 1));
    auto whole = static_cast<std::uint64_t>(fixed >> 64);
    const auto fraction = static_cast<std::uint64_t>(fixed);
    const std::uint64_t half = std::uint64_t(1) << 63;
    bool up = false;
    switch (rounding) {
        case Rounding::Nearest: up = fraction > half || (fraction == half && (whole & 1) != 0); break;
        case Rounding::Down: up = u.negative && fraction != 0; break;
        case Rounding::Up: up = !u.negative && fraction != 0; break;
        case Rounding::TowardZero: break;
    }
    if (up) ++whole;
    if (whole == 0) return soft::Zero(u.negative);
    return u.negative ? -FromMagnitude(false, whole) : FromMagnitude(false, whole);
}

}  // namespace kestrin
