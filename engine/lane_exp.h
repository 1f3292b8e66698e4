#pragma once

#include <cstdint>
#include <cstring>

namespace kestrin {

/// Two doubles processed together: one SSE2 register on baseline x86-64, and the widest
/// vector that passes in registers without AVX.
using DoubleLanes = double __attribute__((vector_size(16)));
/// The same lanes' bits, unsigned so that arithmetic on them wraps.
using BitLanes = std::uint64_t __attribute__((vector_size(16)));

inline constexpr std::size_t kLaneCount = 2;

/// Loads two doubles from any address.
inline DoubleLanes LoadLanes(const double* p) {
    DoubleLanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline BitLanes LaneBits(DoubleLanes v) {
    BitLanes bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

inline DoubleLanes LanesFromBits(BitLanes bits) {
    DoubleLanes v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

/// e^x in every lane, for x <= 709 (the solver only asks for x <= 0).
///
/// Within 1.5 units in the last place of the true value over that range, not correctly
/// rounded like the library's exp; callers that need exact results must carry an error
/// bound. Results below 2^-1022 (x < -708) are returned as 0, an absolute error under
/// 2.3e-308. NaN gives NaN. Branch-free, so a loop over entries runs without a library call
/// per entry.
inline DoubleLanes ExpLanes(DoubleLanes x) {
    // x = n ln2 + r with |r| <= ln2 / 2; ln2 is split so that n * kLn2Hi is exact.
    constexpr double kLog2e = 0x1.71547652b82fep0;
    constexpr double kRoundShift = 0x1.8p52;  // adding it rounds to an integer in the low bits
    constexpr double kLn2Hi = 0x1.62e42feep-1;
    constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
    const DoubleLanes shifted = x * kLog2e + kRoundShift;
    const DoubleLanes n = shifted - kRoundShift;
    const DoubleLanes r = (x - n * kLn2Hi) - n * kLn2Lo;

    // e^r = 1 + r + r^2 q(r), q the Taylor series to r^13 (truncation below 2^-57 for
    // |r| <= ln2/2), evaluated in a tree (Estrin) rather than a chain so that the lanes'
    // multiplications overlap; 1 + r is added last so that r keeps its low bits.
    const DoubleLanes r2 = r * r;
    const DoubleLanes r4 = r2 * r2;
    const DoubleLanes r8 = r4 * r4;
    const DoubleLanes q01 = 0.5 + r * 0x1.5555555555555p-3;
    const DoubleLanes q23 = 0x1.5555555555555p-5 + r * 0x1.1111111111111p-7;
    const DoubleLanes q45 = 0x1.6c16c16c16c17p-10 + r * 0x1.a01a01a01a01ap-13;
    const DoubleLanes q67 = 0x1.a01a01a01a01ap-16 + r * 0x1.71de3a556c734p-19;
    const DoubleLanes q89 = 0x1.27e4fb7789f5cp-22 + r * 0x1.ae64567f544e4p-26;
    const DoubleLanes q1011 = 0x1.1eed8eff8d898p-29 + r * 0x1.6124613a86d09p-33;
    const DoubleLanes q03 = q01 + r2 * q23;
    const DoubleLanes q47 = q45 + r2 * q67;
    const DoubleLanes q811 = q89 + r2 * q1011;
    const DoubleLanes q = (q03 + r4 * q47) + r8 * q811;
    const DoubleLanes p = 1.0 + (r + r2 * q);

    // 2^n from its bits: the low bits of `shifted` hold n.
    const BitLanes scaleBits = (LaneBits(shifted) - LaneBits(DoubleLanes{} + kRoundShift) + 1023) << 52;
    const DoubleLanes result = p * LanesFromBits(scaleBits);

    // Below the normal range the scale bits would wrap: flush to zero.
    const BitLanes tiny = static_cast<BitLanes>(x < -708.0);
    return LanesFromBits(LaneBits(result) & ~tiny);
}

}  // namespace kestrin
