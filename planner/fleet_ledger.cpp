#include "fleet_ledger.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace kestrin {

namespace {

std::uint64_t HashOf(std::span<const std::int32_t> fleet) {
    std::uint64_t h = 0x9e3779b97f4a7c15ULL;
    for (std::int32_t count : fleet) {
        h ^= static_cast<std::uint32_t>(count);
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 32;
    }
    return h;
}

// Fleets evaluated between two progress reports within one batch.
constexpr std::size_t kProgressFleets = 2048;

}  // namespace

FleetLedger::FleetLedger(std::size_t rows, const FleetAim& aim, FleetOutcomeSource evaluate, LedgerControl control,
                         std::int64_t planned)
    : rows_(std::max<std::size_t>(rows, 1)),
      aim_(aim),
      evaluate_(std::move(evaluate)),
      control_(std::move(control)),
      planned_(planned) {
    slots_.resize(std::bit_ceil(static_cast<std::size_t>(std::max<std::int64_t>(planned, 8)) * 2));
}

std::span<const std::int32_t> FleetLedger::Counts(std::uint32_t entry) const {
    return std::span(counts_).subspan(std::size_t{entry} * rows_, rows_);
}

std::size_t FleetLedger::SlotOf(std::span<const std::int32_t> fleet) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = HashOf(fleet) & mask;; slot = (slot + 1) & mask)
        if (slots_[slot] == 0 || std::equal(fleet.begin(), fleet.end(), Counts(slots_[slot] - 1).begin(), Counts(slots_[slot] - 1).end())) return slot;
}

std::optional<FleetOutcome> FleetLedger::Find(std::span<const std::int32_t> fleet) const {
    const std::uint32_t entry = slots_[SlotOf(fleet)];
    if (entry == 0) return std::nullopt;
    return outcomes_[entry - 1];
}

std::vector<std::optional<FleetOutcome>> FleetLedger::Try(std::span<const std::int32_t> fleets) {
    // The fleets not tried yet, each once, as many as the budget allows.
    std::vector<std::int32_t> fresh;
    std::vector<std::size_t> reserved;  // slots taken for them, freed again if not evaluated
    for (std::size_t f = 0; f * rows_ < fleets.size(); ++f) {
        if (evaluations_ + static_cast<std::int64_t>(reserved.size()) >= planned_) break;
        const auto fleet = fleets.subspan(f * rows_, rows_);
        const std::size_t slot = SlotOf(fleet);
        if (slots_[slot] != 0) continue;
        // A placeholder entry, so that a fleet given twice in one batch is evaluated once.
        slots_[slot] = static_cast<std::uint32_t>(outcomes_.size() + reserved.size() + 1);
        counts_.insert(counts_.end(), fleet.begin(), fleet.end());
        reserved.push_back(slot);
        fresh.insert(fresh.end(), fleet.begin(), fleet.end());
    }
    std::vector<std::optional<FleetOutcome>> outcomes(reserved.size());
    EvaluateInParts(fresh, outcomes);
    // A cancelled fleet leaves the table again; the batch's evaluated fleets come first, as the
    // workers take fleets in order, but their slots may not: rebuild the placeholders in order.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < reserved.size(); ++i) slots_[reserved[i]] = 0;
    const std::size_t before = outcomes_.size();
    counts_.resize(before * rows_);
    for (std::size_t i = 0; i < reserved.size(); ++i) {
        if (!outcomes[i]) continue;
        const auto fleet = std::span<const std::int32_t>(fresh).subspan(i * rows_, rows_);
        counts_.insert(counts_.end(), fleet.begin(), fleet.end());
        outcomes_.push_back(*outcomes[i]);
        slots_[SlotOf(fleet)] = static_cast<std::uint32_t>(before + ++kept);
    }
    evaluations_ += static_cast<std::int64_t>(kept);
    std::vector<std::optional<FleetOutcome>> result(fleets.size() / rows_);
    for (std::size_t f = 0; f < result.size(); ++f) {
        const auto fleet = fleets.subspan(f * rows_, rows_);
        result[f] = Find(fleet);
        if (result[f]) Consider(fleet, *result[f]);
    }
    if (control_.progress) control_.progress(evaluations_, planned_);
    return result;
}

void FleetLedger::TryFresh(std::span<const std::int32_t> fleets) {
    const std::size_t count =
        std::min<std::size_t>(fleets.size() / rows_, static_cast<std::size_t>(std::max<std::int64_t>(Left(), 0)));
    std::vector<std::optional<FleetOutcome>> outcomes(count);
    EvaluateInParts(fleets.first(count * rows_), outcomes);
    for (std::size_t f = 0; f < count; ++f) {
        if (!outcomes[f]) continue;
        ++evaluations_;
        Consider(fleets.subspan(f * rows_, rows_), *outcomes[f]);
    }
    if (control_.progress) control_.progress(evaluations_, planned_);
}

void FleetLedger::EvaluateInParts(std::span<const std::int32_t> fleets, std::span<std::optional<FleetOutcome>> outcomes) {
    for (std::size_t first = 0; first < outcomes.size(); first += kProgressFleets) {
        const std::size_t count = std::min(kProgressFleets, outcomes.size() - first);
        // Once cancelled, no part is handed to the evaluator: the search ends without waiting.
        if ((first > 0 || !best_.empty()) && Cancelled()) break;
        // The very first fleet is evaluated even when cancelled, so that there is an answer.
        evaluate_(fleets.subspan(first * rows_, count * rows_), outcomes.subspan(first, count),
                  best_.empty() && first == 0 ? nullptr : control_.cancel);
        if (control_.progress && first + count < outcomes.size()) {
            const auto found = outcomes.first(first + count);
            const auto done = std::count_if(found.begin(), found.end(), [](const auto& o) { return o.has_value(); });
            control_.progress(evaluations_ + done, planned_);
        }
    }
}

void FleetLedger::Consider(std::span<const std::int32_t> fleet, const FleetOutcome& outcome) {
    if (best_.empty() || BetterOutcome(aim_, outcome, bestOutcome_)) {
        best_.assign(fleet.begin(), fleet.end());
        bestOutcome_ = outcome;
    }
}

}  // namespace kestrin
