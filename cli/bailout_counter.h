#pragma once

#include <cstdint>

#include "engine/shot_solver.h"

namespace kestrin {

/// Counts the solver's bailout signals; the command line reports them instead of a message box.
class BailoutCounter : public BailoutSignal {
public:
    /// One more search reached the cycle limit.
    void OnBailout() override { ++count_; }
    /// Signals since construction or the last Reset.
    std::int64_t Count() const { return count_; }
    /// Starts counting again from zero.
    void Reset() { count_ = 0; }

private:
    std::int64_t count_ = 0;
};

}  // namespace kestrin
