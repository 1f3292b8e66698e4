// e^x and ln x correctly rounded to the extended format: evaluated with wide binary numbers
// to about 112 correct bits and rounded once, so the result can only differ from the exact
// value's rounding when that value lies within 2^-112 of a tie. Integer arithmetic only: the
// result is the same bits on every processor and every target.

#include <array>

#include "soft_extended.h"
#include "soft_extended_parts.h"

namespace kestrin {

namespace {

using soft::U128;

// A wide binary number: significand * 2^(exponent - 127), the significand's top bit set (or
// zero). Products and sums truncate, each losing at most about 2^-126 of the result.
struct Wide {
    bool negative = false;
    int exponent = 0;
    U128 significand = 0;
};

Wide Normalised(bool negative, int exponent, U128 significand) {
    if (significand == 0) return {};
    const int shift = soft::LeadingZeros(significand);
    return {negative, exponent - shift, significand << shift};
}

Wide FromHalves(std::uint64_t high, std::uint64_t low, int exponent) {
    return {false, exponent, (U128(high) << 64) | low};
}

Wide WideOf(SoftExtended x) {
    if (x == 0) return {};
    const soft::Unpacked u = soft::Unpack(x);
    return {u.negative, u.exponent, U128(u.significand) << 64};
}

Wide WideOf(int n) {
    const std::uint64_t magnitude = n < 0 ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    return Normalised(n < 0, 127, magnitude);
}

// The high 128 bits of a 256-bit product.
U128 MultiplyHigh(U128 a, U128 b) {
    const U128 mask = (U128(1) << 64) - 1;
    const U128 a1 = a >> 64, a0 = a & mask, b1 = b >> 64, b0 = b & mask;
    const U128 low = a0 * b0, cross1 = a1 * b0, cross2 = a0 * b1;
    const U128 middle = (low >> 64) + (cross1 & mask) + (cross2 & mask);
    return a1 * b1 + (cross1 >> 64) + (cross2 >> 64) + (middle >> 64);
}

Wide Multiply(const Wide& a, const Wide& b) {
    if (a.significand == 0 || b.significand == 0) return {};
    return Normalised(a.negative != b.negative, a.exponent + b.exponent + 1, MultiplyHigh(a.significand, b.significand));
}

Wide Sum(Wide a, Wide b) {
    if (a.significand == 0) return b;
    if (b.significand == 0) return a;
    if (a.exponent < b.exponent || (a.exponent == b.exponent && a.significand < b.significand)) std::swap(a, b);
    const int distance = a.exponent - b.exponent;
    const U128 large = a.significand >> 1;
    const U128 small = distance >= 127 ? U128(0) : (b.significand >> 1) >> distance;
    const U128 result = a.negative == b.negative ? large + small : large - small;
    return Normalised(a.negative, a.exponent + 1, result);
}

Wide Divide(const Wide& a, const Wide& b) {
    if (a.significand == 0) return {};
    // Restoring long division of the significands, one quotient bit per step.
    U128 remainder = a.significand, quotient = 0;
    bool carry = false;  // the remainder's 129th bit
    for (int bit = 0; bit < 128; ++bit) {
        quotient <<= 1;
        if (carry || remainder >= b.significand) {
            remainder -= b.significand;
            quotient |= 1;
        }
        carry = (remainder >> 127) != 0;
        remainder <<= 1;
    }
    return Normalised(a.negative != b.negative, a.exponent - b.exponent, quotient);
}

Wide Negated(Wide a) {
    a.negative = !a.negative;
    return a;
}

Wide Scaled(Wide a, int powerOfTwo) {
    if (a.significand != 0) a.exponent += powerOfTwo;
    return a;
}

SoftExtended Rounded(const Wide& w) {
    if (w.significand == 0) return SoftExtended(0);
    return soft::RoundToExtended(w.negative, w.exponent, w.significand);
}

// ln 2 and 1 / ln 2 to 128 bits.
const Wide kLn2 = FromHalves(0xb17217f7d1cf79abu, 0xc9e3b39803f2f6afu, -1);
const Wide kInverseLn2 = FromHalves(0xb8aa3b295c17f0bbu, 0xbe87fed0691d3e89u, 0);

// Enough terms for both series: |t| <= ln 2 / 2 and s^2 <= 0.03 leave the first term left out
// below 2^-118 of the sum.
constexpr int kTerms = 25;

// 1 / (n + 1)! for n = 0..kTerms-1: the series of (e^t - 1) / t.
const std::array<Wide, kTerms>& ExpCoefficients() {
    static const std::array<Wide, kTerms> table = [] {
        std::array<Wide, kTerms> t{};
        Wide factorial = WideOf(1);
        for (int n = 0; n < kTerms; ++n) {
            factorial = Multiply(factorial, WideOf(n + 1));
            t[n] = Divide(WideOf(1), factorial);
        }
        return t;
    }();
    return table;
}

// 1 / (2n + 1): the series of atanh(s) / s in s^2.
const std::array<Wide, kTerms>& AtanhCoefficients() {
    static const std::array<Wide, kTerms> table = [] {
        std::array<Wide, kTerms> t{};
        for (int n = 0; n < kTerms; ++n) t[n] = Divide(WideOf(1), WideOf(2 * n + 1));
        return t;
    }();
    return table;
}

Wide Horner(const std::array<Wide, kTerms>& coefficients, const Wide& x) {
    Wide sum = coefficients[kTerms - 1];
    for (int n = kTerms - 2; n >= 0; --n) sum = Sum(coefficients[n], Multiply(sum, x));
    return sum;
}

// ln((1 + s) / (1 - s)) = 2 atanh(s), for |s| below about 0.18.
Wide TwiceAtanh(const Wide& s) {
    return Scaled(Multiply(s, Horner(AtanhCoefficients(), Multiply(s, s))), 1);
}

// The whole number nearest w, for |w| below 2^30 (halves away from zero).
int NearestWhole(const Wide& w) {
    if (w.significand == 0 || w.exponent < -1) return 0;
    const auto halves = static_cast<int>(w.significand >> (126 - w.exponent));
    const int whole = (halves + 1) >> 1;
    return w.negative ? -whole : whole;
}

}  // namespace

SoftExtended SoftExtended::Exp() const {
    const soft::Kind kind = soft::KindOf(*this);
    if (kind == soft::Kind::NaN) return *this + *this;
    if (kind == soft::Kind::Infinite) return IsNegative() ? SoftExtended(0) : *this;
    Wide x = WideOf(*this);
    // Beyond 2^15 the result has long overflowed or underflowed: the rounding below makes it
    // infinity or zero from the clamped value just as well.
    if (x.exponent >= 15) x = Scaled(WideOf(IsNegative() ? -1 : 1), 15);
    // e^x = 2^i e^(f ln 2) with i the whole number nearest x / ln 2 and |f| <= 1/2.
    const Wide t = Multiply(x, kInverseLn2);
    const int i = NearestWhole(t);
    const Wide u = Multiply(Sum(t, WideOf(-i)), kLn2);
    return Rounded(Scaled(Sum(WideOf(1), Multiply(u, Horner(ExpCoefficients(), u))), i));
}

SoftExtended SoftExtended::Log() const {
    const soft::Kind kind = soft::KindOf(*this);
    if (kind == soft::Kind::NaN) return *this + *this;
    if (IsNegative() && kind != soft::Kind::Zero) return soft::DefaultNaN();
    if (kind == soft::Kind::Zero) return soft::Infinity(true);
    if (kind == soft::Kind::Infinite) return *this;
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)): ln x = e ln 2 + 2 atanh((m - 1) / (m + 1)),
    // where m - 1 is exact, so that a result near 0 keeps its relative precision.
    const soft::Unpacked u = soft::Unpack(*this);
    int e = u.exponent;
    Wide m{false, 0, U128(u.significand) << 64};
    if (u.significand > 0xb504f333f9de6484u) {
        m.exponent = -1;
        ++e;
    }
    const Wide one = WideOf(1);
    const Wide lnM = TwiceAtanh(Divide(Sum(m, Negated(one)), Sum(m, one)));
    return Rounded(e == 0 ? lnM : Sum(Multiply(WideOf(e), kLn2), lnM));
}

}  // namespace kestrin
