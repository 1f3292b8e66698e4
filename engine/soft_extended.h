#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrin {

/// The x87 80-bit extended format in software: a 64-bit significand with its integer bit and
/// a 15-bit exponent; every operation is rounded once, to nearest with ties to even, with
/// subnormals as the hardware makes them. A target whose long double is not this format
/// (WebAssembly) computes the combat rules in it, so that every figure equals the desktop's
/// bit for bit. The bits are the hardware's own, so tests compare the two directly.
class SoftExtended {
public:
    constexpr SoftExtended() = default;
    SoftExtended(double value);  // NOLINT(google-explicit-constructor): exact, as long double
    template <std::integral Int>
    SoftExtended(Int value)  // NOLINT(google-explicit-constructor): exact, as long double
        : SoftExtended(FromMagnitude(value < 0, Magnitude(value))) {}

    static SoftExtended FromBits(std::uint64_t significand, std::uint16_t signExponent);
    std::uint64_t Significand() const { return significand_; }
    std::uint16_t SignExponent() const { return signExponent_; }

    /// Rounded to nearest, ties to even, as a store to a double.
    explicit operator double() const;
    /// Truncated toward zero; the caller keeps the value within the 64-bit range.
    explicit operator std::int64_t() const;

    friend SoftExtended operator+(SoftExtended a, SoftExtended b) { return Add(a, b, false); }
    friend SoftExtended operator-(SoftExtended a, SoftExtended b) { return Add(a, b, true); }
    friend SoftExtended operator*(SoftExtended a, SoftExtended b);
    friend SoftExtended operator/(SoftExtended a, SoftExtended b);
    SoftExtended operator-() const { return FromBits(significand_, signExponent_ ^ 0x8000); }
    SoftExtended& operator+=(SoftExtended b) { return *this = *this + b; }
    SoftExtended& operator-=(SoftExtended b) { return *this = *this - b; }
    SoftExtended& operator*=(SoftExtended b) { return *this = *this * b; }
    SoftExtended& operator/=(SoftExtended b) { return *this = *this / b; }

    friend bool operator==(SoftExtended a, SoftExtended b) { return Compare(a, b) == 0; }
    friend std::partial_ordering operator<=>(SoftExtended a, SoftExtended b) { return Compare(a, b); }

    bool IsNaN() const;
    bool IsFinite() const { return (signExponent_ & 0x7fff) != 0x7fff; }
    bool IsNegative() const { return (signExponent_ & 0x8000) != 0; }
    SoftExtended Abs() const { return FromBits(significand_, signExponent_ & 0x7fff); }

    enum class Rounding { Nearest, Down, Up, TowardZero };
    /// The integer nearest in the given direction (Nearest: ties to even, as frndint).
    SoftExtended ToInteger(Rounding rounding) const;

    /// e^x and ln x, correctly rounded (to nearest, ties to even).
    SoftExtended Exp() const;
    SoftExtended Log() const;

    /// The correctly rounded value of decimal digits with an optional '.' and exponent (no
    /// sign); nothing when it overflows or lies below the normal range.
    static std::optional<SoftExtended> FromDecimal(std::string_view text);
    /// The exact value in fixed notation with `decimals` decimals, rounded half to even.
    std::string FixedDecimal(int decimals) const;

private:
    static SoftExtended FromMagnitude(bool negative, std::uint64_t magnitude);
    template <std::integral Int>
    static std::uint64_t Magnitude(Int value) {
        if constexpr (std::signed_integral<Int>)
            return value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
        else
            return static_cast<std::uint64_t>(value);
    }
    static SoftExtended Add(SoftExtended a, SoftExtended b, bool subtract);
    static std::partial_ordering Compare(SoftExtended a, SoftExtended b);

    std::uint64_t significand_ = 0;
    std::uint16_t signExponent_ = 0;
};

}  // namespace kestrin
