#include "shots_model.h"

#include <cmath>

namespace kestrin {

namespace {

// Relative error allowance of the fast evaluation. Per term the double path (log, one
// product, exp, subtraction, product) stays within 7 units of 2^-53 of the term's weight,
// and each of the two sums adds at most one rounding of the partial sum per entry; the
// extended reference errs far less. (n + 8) * 2^-50 of the weights covers all of it with
// room to spare.
constexpr double kUnit = 0x1p-50;
// Absolute floor for results that underflow in double but not in extended precision.
constexpr double kTiny = 1e-290;

}  // namespace

ShotsModel::ShotsModel(const SmallBuffer<double>& ships, const SmallBuffer<double>& rates,
                       const SmallBuffer<double>& damage, double scale)
    : n_(ships.size()),
      scale_(scale),
      rate_(n_),
      exponent_(n_),
      remaining_(n_),
      exponentD_(n_),
      weightD_(n_) {
    fastValid_ = std::isfinite(scale) && scale > 0;
    for (std::size_t i = 0; i < n_; ++i) {
        const double k = rates[i];
        rate_[i] = k;
        remaining_[i] = static_cast<Extended>(ships[i]) - damage[i];
        if (!std::isfinite(k) || k < 0 || !std::isfinite(static_cast<double>(remaining_[i])))
            fastValid_ = false;
        if (k == 0) {
            zeroRemaining_ += remaining_[i];
            zeroRemainingAbs_ += std::fabs(static_cast<double>(remaining_[i]));
            continue;
        }
        exponent_[i] = static_cast<Extended>(k) / scale;
        exponentD_[i] = static_cast<double>(exponent_[i]);
        weightD_[i] = static_cast<double>(remaining_[i] / k);
        weightAbs_ += std::fabs(weightD_[i]);
    }
    if (!std::isfinite(weightAbs_) || !std::isfinite(zeroRemainingAbs_)) fastValid_ = false;
}

Extended ShotsModel::EntryShots(std::size_t i, double g) const {
    const double k = rate_[i];
    if (k == 0) return (-std::log(static_cast<Extended>(g)) * remaining_[i]) / scale_;
    return ((1 - RealPower(g, exponent_[i])) * remaining_[i]) / k;
}

double ShotsModel::ResultingShots(double g) const {
    double sum = 0;
    for (std::size_t i = 0; i < n_; ++i) sum = static_cast<double>(sum + EntryShots(i, g));
    return sum;
}

ShotsModel::Approximation ShotsModel::FastResultingShots(double g) const {
    const double lnG = std::log(g);
    double sum = 0;
    for (std::size_t i = 0; i < n_; ++i) {
        if (rate_[i] == 0) continue;
        sum += (1.0 - std::exp(exponentD_[i] * lnG)) * weightD_[i];
    }
    double scaleOfSums = weightAbs_;
    if (zeroRemainingAbs_ != 0) {
        sum += (-lnG * static_cast<double>(zeroRemaining_)) / scale_;
        scaleOfSums += std::fabs(lnG) * zeroRemainingAbs_ / scale_;
    }
    return {sum, scaleOfSums * static_cast<double>(n_ + 8) * kUnit + kTiny};
}

std::int64_t ShotsModel::RoundedEntryShots(std::size_t i, double g) const {
    if (fastValid_ && rate_[i] != 0) {
        const double shots = (1.0 - std::exp(exponentD_[i] * std::log(g))) * weightD_[i];
        const double bound = std::fabs(weightD_[i]) * 16 * kUnit + kTiny;
        // Rounding changes only at odd multiples of one half; away from them the double
        // value rounds exactly as the extended one does.
        const double distanceToHalf = std::fabs(shots - std::floor(shots) - 0.5);
        if (std::fabs(shots) < 0x1p51 && distanceToHalf > bound)
            return static_cast<std::int64_t>(std::rint(shots));
    }
    return SaturatingInt64(RoundHalfEven(EntryShots(i, g)));
}

}  // namespace kestrin
