#include "sweep_range.h"

#include "engine/saturating.h"

namespace kestrin {

namespace {

// The quotient n / d (d > 0, n >= 0) rounded to the nearest integer, halves to even.
Int128 RoundedQuotient(Int128 n, Int128 d) {
    const Int128 q = n / d;
    const Int128 twiceRemainder = 2 * (n % d);
    if (twiceRemainder > d || (twiceRemainder == d && q % 2 != 0)) return q + 1;
    return q;
}

}  // namespace

std::string CheckSweepRange(const SweepRange& range, int row) {
    if (range.from >= range.to)
        return "The range needs 'from' (" + std::to_string(range.from) + ") below 'to' (" +
               std::to_string(range.to) + ")";
    if (range.points < kMinSweepPoints || range.points > kMaxSweepPoints)
        return "A sweep takes from " + std::to_string(kMinSweepPoints) + " to " + std::to_string(kMaxSweepPoints) +
               " points, not " + std::to_string(range.points);
    if (range.from < SweepValueMin(row) || range.to > SweepValueMax(row))
        return "The values of this row lie from " + std::to_string(SweepValueMin(row)) + " to " +
               std::to_string(SweepValueMax(row));
    return {};
}

std::string CheckSweepTicks(int ticks) {
    if (ticks >= 1 && ticks <= kMaxSweepTicks) return {};
    return "A sweep follows from 1 to " + std::to_string(kMaxSweepTicks) + " ticks, not " + std::to_string(ticks);
}

std::vector<std::int64_t> SweepValues(const SweepRange& range) {
    // 128 bits: the span of a 64-bit range times 100,000 points does not fit in 64.
    const Int128 span = Int128{range.to} - range.from;
    const Int128 steps = range.points - 1;
    std::vector<std::int64_t> values;
    values.reserve(static_cast<std::size_t>(range.points));
    for (Int128 i = 0; i <= steps; ++i) {
        const auto value = static_cast<std::int64_t>(range.from + RoundedQuotient(i * span, steps));
        if (values.empty() || values.back() != value) values.push_back(value);
    }
    return values;
}

}  // namespace kestrin
