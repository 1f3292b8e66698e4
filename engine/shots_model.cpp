#include "shots_model.h"

#include <cmath>

#include "lane_exp.h"
#include "saturating.h"

namespace kestrin {

namespace {

// Relative error allowance of the fast evaluation. Per term the double path (log, one
// product, the lanes' exp within 2 units, subtraction, product) stays within 9 units of
// 2^-53 of the term's weight, and each of the two sums adds at most one rounding of the
// partial sum per entry whatever the order of addition; the extended reference errs far
// less. (n + 8) * 2^-50 of the weights covers all of it with room to spare.
constexpr double kUnit = 0x1p-50;
// Absolute floor for results that underflow in double but not in extended precision.
constexpr double kTiny = 1e-290;

std::size_t PaddedSize(std::size_t n) { return (n + kLaneCount - 1) / kLaneCount * kLaneCount; }

// Entries i and i + 1 at ln G, in double.
DoubleLanes FastEntryShots(const SmallBuffer<double>& exponent,
                           const SmallBuffer<double>& weight, std::size_t i, double lnG) {
    return (1.0 - ExpLanes(LoadLanes(&exponent[i]) * lnG)) * LoadLanes(&weight[i]);
}

}  // namespace

ShotsModel::ShotsModel(const SmallBuffer<double>& ships, const SmallBuffer<double>& rates,
                       const SmallBuffer<double>& damage, double scale)
    : n_(ships.size()),
      scale_(scale),
      rate_(n_),
      remaining_(n_),
      exponentD_(PaddedSize(n_)),
      weightD_(PaddedSize(n_)),
      slopeD_(PaddedSize(n_)) {
    // Zero-rate entries and the padding add exactly 0 to the lanes' sums: (1 - e^0) * 0.
    for (std::size_t i = n_; i < exponentD_.size(); ++i) exponentD_[i] = weightD_[i] = slopeD_[i] = 0;
    fastValid_ = std::isfinite(scale) && scale > 0;
    for (std::size_t i = 0; i < n_; ++i) {
        const double k = rates[i];
        rate_[i] = k;
        remaining_[i] = static_cast<Extended>(ships[i]) - damage[i];
        if (!std::isfinite(k) || k < 0 || !std::isfinite(static_cast<double>(remaining_[i])))
            fastValid_ = false;
        if (k == 0) {
            exponentD_[i] = weightD_[i] = slopeD_[i] = 0;
            zeroRemaining_ += remaining_[i];
            zeroRemainingAbs_ += std::fabs(static_cast<double>(remaining_[i]));
            continue;
        }
        // Double divisions: the fast path's bound allows for their roundings.
        exponentD_[i] = k / scale;
        weightD_[i] = (ships[i] - damage[i]) / k;
        weightAbs_ += std::fabs(weightD_[i]);
        slopeD_[i] = weightD_[i] * exponentD_[i];
        slopeAtZero_ += slopeD_[i];
        if (remaining_[i] < 0) monotone_ = false;
    }
    if (!std::isfinite(weightAbs_) || !std::isfinite(zeroRemainingAbs_)) fastValid_ = false;
    monotone_ = monotone_ && fastValid_ && zeroRemainingAbs_ == 0 && std::isfinite(slopeAtZero_);
}

Extended ShotsModel::EntryShots(std::size_t i, double g) const {
    const double k = rate_[i];
    if (k == 0) return (-Log(static_cast<Extended>(g)) * remaining_[i]) / scale_;
    // The exponent k / scale unrounded, as the power receives it.
    return ((1 - RealPower(g, static_cast<Extended>(k) / scale_)) * remaining_[i]) / k;
}

double ShotsModel::ResultingShots(double g) const {
    double sum = 0;
    for (std::size_t i = 0; i < n_; ++i) sum = static_cast<double>(sum + EntryShots(i, g));
    return sum;
}

ShotsModel::Approximation ShotsModel::FastResultingShots(double g) const {
    const double lnG = std::log(g);
    DoubleLanes lanes{};
    for (std::size_t i = 0; i < exponentD_.size(); i += kLaneCount)
        lanes += FastEntryShots(exponentD_, weightD_, i, lnG);
    double sum = lanes[0] + lanes[1];
    double scaleOfSums = weightAbs_;
    if (zeroRemainingAbs_ != 0) {
        sum += (-lnG * static_cast<double>(zeroRemaining_)) / scale_;
        scaleOfSums += std::fabs(lnG) * zeroRemainingAbs_ / scale_;
    }
    return {sum, scaleOfSums * static_cast<double>(n_ + 8) * kUnit + kTiny};
}

ShotsModel::Probe ShotsModel::FastProbe(double g) const {
    const double lnG = std::log(g);
    DoubleLanes shots{}, tail{}, slope{};
    for (std::size_t i = 0; i < exponentD_.size(); i += kLaneCount) {
        const DoubleLanes left = ExpLanes(LoadLanes(&exponentD_[i]) * lnG);
        shots += (1.0 - left) * LoadLanes(&weightD_[i]);
        tail += left * LoadLanes(&weightD_[i]);
        slope += left * LoadLanes(&slopeD_[i]);
    }
    Probe probe;
    probe.shots = {shots[0] + shots[1], weightAbs_ * static_cast<double>(n_ + 8) * kUnit + kTiny};
    probe.lnG = lnG;
    probe.tail = tail[0] + tail[1];
    probe.tailSlope = -(slope[0] + slope[1]);
    return probe;
}

void ShotsModel::RoundedShots(double g, std::span<std::int64_t> shots) const {
    const double lnG = std::log(g);
    for (std::size_t i = 0; i < n_; i += kLaneCount) {
        const DoubleLanes fast = FastEntryShots(exponentD_, weightD_, i, lnG);
        // Below 2^51, adding and taking away 1.5 * 2^52 rounds to the nearest integer,
        // halves to even.
        const DoubleLanes nearest = (fast + 0x1.8p52) - 0x1.8p52;
        for (std::size_t lane = 0; lane < kLaneCount && i + lane < n_; ++lane)
            shots[i + lane] = RoundedEntryShots(i + lane, fast[lane], nearest[lane], g);
    }
}

std::int64_t ShotsModel::RoundedEntryShots(std::size_t i, double fast, double nearest,
                                           double g) const {
    if (rate_[i] != 0 && std::fabs(fast) < 0x1p51) {
        const double bound = std::fabs(weightD_[i]) * 16 * kUnit + kTiny;
        // Rounding changes only at odd multiples of one half; away from them the double
        // value rounds exactly as the extended one does.
        const double distanceToHalf = 0.5 - std::fabs(fast - nearest);
        if (distanceToHalf > bound) return static_cast<std::int64_t>(nearest);
    }
    return SaturatingInt64(RoundHalfEven(EntryShots(i, g)));
}

}  // namespace kestrin
