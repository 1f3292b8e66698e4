#pragma once

#include "shots_model.h"

namespace kestrin {

/// The stretches of G at both ends where the search's cycles are decided in advance.
///
/// ResultingShots falls as G rises, so a probe at G that is certain, error bounds included,
/// to lie beyond the tolerance on one side decides every cycle further out on that side. The
/// bisection only ever evaluates between the two stretches, and a root search puts them close
/// around the root.
class KnownRegions {
public:
    /// Every cycle at G <= ShortUpTo() finds ResultingShots > A beyond the stopping
    /// tolerance: G rises.
    double ShortUpTo() const { return shortUpTo_; }
    /// Every cycle at G >= SpareFrom() finds ResultingShots < A beyond the stopping
    /// tolerance: G falls.
    double SpareFrom() const { return spareFrom_; }

    /// Widens the stretches by a probe at `g`. `threshold` is the distance from A beyond
    /// which a cycle neither stops nor may round onto A.
    void Learn(double g, const ShotsModel::Approximation& shots, double a, double threshold);

private:
    double shortUpTo_ = -1;
    double spareFrom_ = 2;
};

/// Moves a bisection on [0, 1] past the cycles that `known` decides, up to the next cycle
/// whose midpoint it leaves undecided: `lo`, `hi` and the cycles left in `counter` become
/// what those cycles would have made them. Nothing moves when no such cycle is left.
/// Requires the state of an unbroken bisection with counter = 50 at its start.
void SkipDecidedCycles(const KnownRegions& known, double& lo, double& hi, int& counter);

/// Probes a monotone model close around the root of ResultingShots(G) = A (Newton's method
/// on ln S(t)) and returns what the probes decided; nothing when the model is not monotone.
KnownRegions ProbeAroundRoot(const ShotsModel& model, double a, double threshold);

}  // namespace kestrin
