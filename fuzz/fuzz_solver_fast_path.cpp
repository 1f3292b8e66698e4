// Any solver call the simulation can make: the fast double-precision path must give exactly
// what the extended evaluation gives, in every output, for both variants.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/shot_solver.h"

namespace {

struct Outcome {
    std::vector<std::int64_t> kills, allocated;
    std::vector<double> damage;
    std::int64_t shots = 0;
    int cycles = 0;
    double g = 0;
};

Outcome Solve(bool reference, kestrin::SolverVariant variant, const std::vector<double>& ships,
              const std::vector<double>& rates, const std::vector<double>& damage,
              std::int64_t shots) {
    Outcome o{std::vector<std::int64_t>(ships.size()), std::vector<std::int64_t>(ships.size()),
              damage, shots};
    kestrin::SolverSettings settings;
    settings.variant = variant;
    (reference ? kestrin::AllocateShotsReference : kestrin::AllocateShots)(
        ships, rates, o.kills, o.damage, o.shots, o.cycles, o.g, o.allocated, settings);
    return o;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const auto n = in.ConsumeIntegralInRange<std::size_t>(1, 54);
    const auto shots = in.ConsumeIntegralInRange<std::int64_t>(1, INT64_MAX);
    std::vector<double> ships(n), rates(n), damage(n);
    for (std::size_t i = 0; i < n; ++i) {
        // What the simulation passes: whole ships, damage in [0, 1), finite rates >= 0.
        ships[i] = in.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
        damage[i] = in.ConsumeProbability<double>() * 0.999999;
        const double rate = std::fabs(in.ConsumeFloatingPoint<double>());
        rates[i] = std::isfinite(rate) ? rate : 1;
    }
    for (const auto variant : {kestrin::SolverVariant::New, kestrin::SolverVariant::Old}) {
        const Outcome fast = Solve(false, variant, ships, rates, damage, shots);
        const Outcome exact = Solve(true, variant, ships, rates, damage, shots);
        bool same = fast.kills == exact.kills && fast.allocated == exact.allocated &&
                    fast.shots == exact.shots && fast.cycles == exact.cycles && SameBits(fast.g, exact.g);
        for (std::size_t i = 0; i < n; ++i) same = same && SameBits(fast.damage[i], exact.damage[i]);
        if (!same) std::abort();
    }
    return 0;
}
