// e^x and ln x as the C library computes them for long double on x86-64: a few x87
// arithmetic steps around one of the instructions f2xm1 (2^f - 1), fyl2x (y log2 x) or fyl2xp1
// (y log2(1 + x)). The steps are replayed in SoftExtended; each instruction's result is its
// exact value rounded to nearest, evaluated here with about 122 correct bits, so the rounding
// can only differ when the exact value lies within 2^-122 of a tie (which a test on the
// desktop checks against the hardware on the arguments the engine produces).

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

Wide Add(Wide a, Wide b) {
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

// The hardware's log2 before it multiplies by y: cut toward zero to 67 bits.
Wide CutTo67Bits(Wide w) {
    w.significand &= ~((U128(1) << (128 - 67)) - 1);
    return w;
}

SoftExtended Rounded(const Wide& w) {
    if (w.significand == 0) return SoftExtended(0);
    return soft::RoundToExtended(w.negative, w.exponent, w.significand);
}

// ln 2 and 1 / ln 2 to 128 bits, and the x87's own ln 2 constant (fldln2: 64 bits, to nearest).
const Wide kLn2 = FromHalves(0xb17217f7d1cf79abu, 0xc9e3b39803f2f6afu, -1);
const Wide kInverseLn2 = FromHalves(0xb8aa3b295c17f0bbu, 0xbe87fed0691d3e89u, 0);
constexpr std::uint64_t kLn2Significand = 0xb17217f7d1cf79acu;

constexpr int kTerms = 32;

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
    for (int n = kTerms - 2; n >= 0; --n) sum = Add(coefficients[n], Multiply(sum, x));
    return sum;
}

// ln((1 + s) / (1 - s)) = 2 atanh(s), for |s| below about 0.18.
Wide TwiceAtanh(const Wide& s) {
    return Scaled(Multiply(s, Horner(AtanhCoefficients(), Multiply(s, s))), 1);
}

// f2xm1: 2^f - 1 for |f| <= 1.
SoftExtended TwoToTheMinusOne(SoftExtended f) {
    if (f == 0) return f;
    const Wide t = Multiply(WideOf(f), kLn2);
    return Rounded(Multiply(t, Horner(ExpCoefficients(), t)));
}

// fyl2x with y = ln 2 as the x87 holds it: ln2_64 * log2(x) for finite x > 0.
SoftExtended LnTwoTimesLog2(SoftExtended x) {
    const soft::Unpacked u = soft::Unpack(x);
    // x = m 2^e with m in [sqrt(1/2), sqrt(2)): ln m = 2 atanh((m - 1) / (m + 1)).
    int e = u.exponent;
    Wide m{false, 0, U128(u.significand) << 64};
    if (u.significand > 0xb504f333f9de6484u) {
        m.exponent = -1;
        ++e;
    }
    const Wide one = WideOf(1);
    const Wide lnM = TwiceAtanh(Divide(Add(m, Negated(one)), Add(m, one)));
    const Wide log2X = Add(WideOf(e), Multiply(lnM, kInverseLn2));
    return Rounded(Multiply({false, -1, U128(kLn2Significand) << 64}, CutTo67Bits(log2X)));
}

// fyl2xp1 with y = ln 2 as the x87 holds it: ln2_64 * log2(1 + x) for |x| <= 0.29, x != 0.
SoftExtended LnTwoTimesLog2OnePlus(SoftExtended x) {
    const Wide w = WideOf(x);
    const Wide lnOnePlus = TwiceAtanh(Divide(w, Add(WideOf(2), w)));
    return Rounded(Multiply({false, -1, U128(kLn2Significand) << 64}, CutTo67Bits(Multiply(lnOnePlus, kInverseLn2))));
}

SoftExtended Scaled(SoftExtended x, SoftExtended power) {
    if (soft::KindOf(x) != soft::Kind::Finite) return x;
    const soft::Unpacked u = soft::Unpack(x);
    const auto n = static_cast<std::int64_t>(power);  // |power| <= 2^15 + 1 here
    return soft::RoundToExtended(u.negative, u.exponent + static_cast<int>(n), U128(u.significand) << 64);
}

}  // namespace

SoftExtended SoftExtended::Exp() const {
    const soft::Kind kind = soft::KindOf(*this);
    if (kind == soft::Kind::NaN) return *this + *this;
    if (kind == soft::Kind::Infinite) return IsNegative() ? SoftExtended(0) : *this;
    SoftExtended x = *this;
    const int field = signExponent_ & 0x7fff;
    if (field > 0x400d) {
        x = FromBits(0x8000000000000000u, 0x400e);  // 2^15: saturates to overflow or underflow
        if (IsNegative()) x = -x;
    } else if (field < 0x3fbc) {
        return 1 + x;
    }
    // exp(x) = 2^(x log2 e), the fraction f = x log2 e - i computed with extra care through
    // log2 e = c0 + c1, c0 holding 16 bits so that c0 times a whole number is exact.
    const SoftExtended log2E = FromBits(0xb8aa3b295c17f0bcu, 0x3fff);
    const SoftExtended c0 = FromBits(0xb8aa000000000000u, 0x3fff);
    const SoftExtended c1 = FromBits(0xeca5705fc2eefa20u, 0x3fed);
    const SoftExtended i = (x * log2E).ToInteger(Rounding::Nearest);
    const SoftExtended xi = x.ToInteger(Rounding::Nearest);
    SoftExtended f = c0 * xi - i;
    f = f + c0 * (x - xi);
    f = f + c1 * x;
    return Scaled(TwoToTheMinusOne(f) + 1, i);
}

SoftExtended SoftExtended::Log() const {
    const soft::Kind kind = soft::KindOf(*this);
    if (kind == soft::Kind::NaN) return *this + *this;
    if (IsNegative() && kind != soft::Kind::Zero) return soft::DefaultNaN();
    if (kind == soft::Kind::Zero) return soft::Infinity(true);
    if (kind == soft::Kind::Infinite) return *this;
    // Close to 1, log2(1 + (x - 1)) keeps the small result's precision; x - 1 is exact here.
    const SoftExtended nearOne = *this - 1;
    if (nearOne.Abs() > SoftExtended(0.29)) return LnTwoTimesLog2(*this);
    if (nearOne == 0) return SoftExtended(0);
    return LnTwoTimesLog2OnePlus(nearOne);
}

}  // namespace kestrin
