#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "extended_math.h"
#include "small_buffer.h"

namespace kestrin {

/// The even-fire model of one solver call: the shots each target entry absorbs at a given G
/// (the surviving fraction of the entry with the lowest kill rate, `scale`).
///
/// An entry with kill rate k > 0 absorbs (1 - G^(k/scale)) (N - D) / k shots; one with kill
/// rate 0 (allowed only in the "New" variant) absorbs -ln(G) (N - D) / scale, the limit of the
/// first formula. The reference evaluation works in extended precision as the rules state.
/// The fast evaluation works in double with an error bound against the reference, so a
/// caller can decide a comparison from it whenever the bound allows and fall back otherwise.
class ShotsModel {
public:
    /// Entries in call order; `ships`, `rates`, `damage` are the working values of the call.
    ShotsModel(const SmallBuffer<double>& ships, const SmallBuffer<double>& rates,
               const SmallBuffer<double>& damage, double scale);

    /// ResultingShots(G) exactly as the rules compute it: extended-precision terms summed in
    /// a double in entry order.
    double ResultingShots(double g) const;

    /// Shots entry i absorbs at G, in extended precision.
    Extended EntryShots(std::size_t i, double g) const;

    /// Whether the fast evaluation may be used for this call (finite, non-negative rates).
    bool FastPathValid() const { return fastValid_; }

    /// A double-precision ResultingShots(G) and a bound on its distance from the reference.
    struct Approximation {
        double shots = 0;
        double bound = 0;
    };

    /// Fast ResultingShots(G); requires FastPathValid().
    Approximation FastResultingShots(double g) const;

    /// Whether ResultingShots falls as G rises for this call, with an error bound that does
    /// not grow as G falls: no entry has more damage than ships and none has kill rate 0.
    /// Then one probe's certain comparison holds for every G beyond it.
    bool Monotone() const { return monotone_; }

    /// In t = -ln G, the shots the entries would still absorb beyond G is
    /// S(t) = sum of w e^(-x t) over the entries (w = (N - D) / k, x = k / scale), and
    /// ResultingShots = W - S(t) with W = S(0).
    double TotalWeight() const { return weightAbs_; }
    /// -S'(0) = sum of w x: the initial rate at which ResultingShots grows with t.
    double SlopeAtZero() const { return slopeAtZero_; }

    /// One pass at G: ResultingShots with its bound, and S and S' at t = -ln G in double,
    /// for a root search; requires Monotone().
    struct Probe {
        Approximation shots;
        double lnG = 0;
        double tail = 0;       // S(t)
        double tailSlope = 0;  // S'(t), negative
    };
    Probe FastProbe(double g) const;

    /// Every entry's absorbed shots rounded half to even, decided in double when the bound
    /// allows and otherwise from the extended evaluation; requires FastPathValid().
    void RoundedShots(double g, std::span<std::int64_t> shots) const;

private:
    std::int64_t RoundedEntryShots(std::size_t i, double fast, double nearest, double g) const;

    std::size_t n_;
    double scale_;
    SmallBuffer<double> rate_;
    SmallBuffer<Extended> remaining_;   // N - D
    SmallBuffer<double> exponentD_;     // the same in double for the fast path, 0 for rate 0,
    SmallBuffer<double> weightD_;       // (N - D) / k in double, 0 for rate 0; both padded
                                        // with zeros to whole lanes
    SmallBuffer<double> slopeD_;        // weight times exponent, in double
    double slopeAtZero_ = 0;            // sum of slopeD_
    bool monotone_ = true;
    Extended zeroRemaining_ = 0;        // sum of N - D over zero-rate entries
    double weightAbs_ = 0;              // sum of |(N - D) / k|, for the error bound
    double zeroRemainingAbs_ = 0;       // sum of |N - D| over zero-rate entries
    bool fastValid_ = true;
};

}  // namespace kestrin
