#include "search_regions.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace kestrin {

namespace {

// Newton's method on ln S converges from the start at t = 0 in a handful of steps; a call
// that needs more is left to the plain bisection.
constexpr int kProbeLimit = 8;
// The probes on each side of the root stand this many tolerance widths away from it.
constexpr double kSideDistance = 1.25;

// Fifty cycles halve [0, 1] down to 2^-50: in units of 2^-50 every end and midpoint of
// the bisection is a whole number, and the cycle that first visits a number is fixed by
// its lowest set bit (the midpoint 2^49 comes first, then the odd multiples of 2^48, ...).
constexpr double kUnitsPerOne = 0x1p50;

// The largest whole number of units at or below G (-1 below 0).
std::int64_t UnitsAtOrBelow(double g) {
    return g < 0 ? -1 : static_cast<std::int64_t>(std::floor(std::min(g, 1.0) * kUnitsPerOne));
}

// The smallest whole number of units at or above G (just past 1 when above 1).
std::int64_t UnitsAtOrAbove(double g) {
    return g > 1 ? static_cast<std::int64_t>(kUnitsPerOne) + 1
                 : static_cast<std::int64_t>(std::ceil(std::max(g, 0.0) * kUnitsPerOne));
}

// The number in [first, last] (first >= 1) divisible by the highest power of two, which a
// bisection visits before every other number of the range.
std::uint64_t MostEvenIn(std::uint64_t first, std::uint64_t last) {
    if (first == last) return first;
    const int bit = std::bit_width(first ^ last) - 1;  // the highest bit where they differ
    const std::uint64_t below = (std::uint64_t{1} << (bit + 1)) - 1;
    if ((first & below) == 0) return first;  // first is a multiple of 2^(bit + 1)
    return last >> bit << bit;
}

}  // namespace

void SkipDecidedCycles(const KnownRegions& known, double& lo, double& hi, int& counter) {
    const auto low = static_cast<std::int64_t>(lo * kUnitsPerOne);
    const auto high = static_cast<std::int64_t>(hi * kUnitsPerOne);
    // The undecided midpoints still to come.
    const std::int64_t first = std::max(low + 1, UnitsAtOrBelow(known.ShortUpTo()) + 1);
    const std::int64_t last = std::min(high - 1, UnitsAtOrAbove(known.SpareFrom()) - 1);
    if (first > last) return;
    const std::uint64_t next = MostEvenIn(static_cast<std::uint64_t>(first), static_cast<std::uint64_t>(last));
    const int half = std::countr_zero(next);  // the interval around it is next -+ 2^half
    const int skipped = std::countr_zero(static_cast<std::uint64_t>(high - low)) - 1 - half;
    if (skipped <= 0) return;
    lo = static_cast<double>(next - (std::uint64_t{1} << half)) / kUnitsPerOne;
    hi = static_cast<double>(next + (std::uint64_t{1} << half)) / kUnitsPerOne;
    counter -= skipped;
}

void KnownRegions::Learn(double g, const ShotsModel::Approximation& shots, double a,
                         double threshold) {
    // The probe errs by at most the bound, and so does the reference at any other G: two
    // bounds, plus the rounding of A and its tolerance in double.
    const double slack = 2 * shots.bound + 0x1p-50 * (std::fabs(shots.shots) + a);
    if (!std::isfinite(shots.shots)) return;
    if (shots.shots - a > threshold + slack) shortUpTo_ = std::max(shortUpTo_, g);
    if (a - shots.shots > threshold + slack) spareFrom_ = std::min(spareFrom_, g);
}

KnownRegions ProbeAroundRoot(const ShotsModel& model, double a, double threshold) {
    KnownRegions regions;
    if (!model.Monotone()) return regions;
    // At the root the entries still hold S = W - A shots.
    const double rootTail = model.TotalWeight() - a;
    if (!(rootTail > 0) || !(model.SlopeAtZero() > 0)) return regions;
    auto probe = [&](double t) {
        if (!(t > 0)) return ShotsModel::Probe{};
        const double g = std::exp(-t);
        const ShotsModel::Probe p = model.FastProbe(g);
        regions.Learn(g, p.shots, a, threshold);
        return p;
    };
    // ln S is convex and falls in t, so Newton's steps from t = 0 approach the root from
    // below without passing it. The first step needs no probe: S(0) = W.
    double t = std::log(model.TotalWeight() / rootTail) * model.TotalWeight() / model.SlopeAtZero();
    for (int i = 0; i < kProbeLimit && std::isfinite(t) && t > 0; ++i) {
        const ShotsModel::Probe p = probe(t);
        if (!(p.tail > 0) || !(p.tailSlope < 0)) break;
        const double here = -p.lnG;
        const double step = std::log(p.tail / rootTail) * p.tail / -p.tailSlope;
        const double width = threshold / -p.tailSlope;  // how far t moves ResultingShots by the threshold
        if (std::fabs(step) < width) {
            const double root = here + step;
            probe(root - kSideDistance * width - std::fabs(step));
            probe(root + kSideDistance * width + std::fabs(step));
            break;
        }
        t = here + step;
    }
    return regions;
}

}  // namespace kestrin
