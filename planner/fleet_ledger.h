#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "planner/fleet_goal.h"

namespace kestrin {

/// Runs the battles of fleets held flat (`rows` counts per fleet) and writes their outcomes,
/// fleet for fleet; a fleet left without one was stopped by `cancel`.
using FleetOutcomeSource = std::function<void(std::span<const std::int32_t> fleets,
                                              std::span<std::optional<FleetOutcome>> outcomes,
                                              const std::atomic<bool>* cancel)>;

/// How a ledger reports and stops. The callback's owner must outlive the ledger.
struct LedgerControl {
    /// Told (evaluations done, evaluations planned) after each batch, on the calling thread.
    std::function<void(std::int64_t done, std::int64_t planned)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

/// What a search has tried: each fleet evaluated with its outcome, the best so far and the
/// evaluations left. Fleets are evaluated in batches; the best is decided in the order the
/// fleets were given, so it never depends on the workers. Each fleet is remembered in a few
/// dozen bytes (its counts and outcome, and a slot of an open-addressed table), so a lookup
/// costs the same after a million fleets as after ten.
class FleetLedger {
public:
    FleetLedger(std::size_t rows, const FleetAim& aim, FleetOutcomeSource evaluate, LedgerControl control,
                std::int64_t planned);

    /// The outcomes of `fleets` (flat counts), fleet for fleet: those tried before from memory,
    /// the others evaluated while the budget lasts; none for a fleet beyond the budget or
    /// cancelled.
    std::vector<std::optional<FleetOutcome>> Try(std::span<const std::int32_t> fleets);
    /// Like Try for fleets the caller knows are distinct and never tried (a walk through the
    /// whole space): they are evaluated and weighed but not remembered.
    void TryFresh(std::span<const std::int32_t> fleets);

    /// The outcome of `fleet` if it was tried.
    std::optional<FleetOutcome> Find(std::span<const std::int32_t> fleet) const;

    /// No evaluation is left, or the caller cancelled.
    bool Done() const { return evaluations_ >= planned_ || Cancelled(); }
    bool Cancelled() const { return control_.cancel != nullptr && control_.cancel->load(); }
    std::int64_t Evaluations() const { return evaluations_; }
    std::int64_t Left() const { return planned_ - evaluations_; }
    /// The best fleet tried so far; empty before the first.
    std::span<const std::int32_t> Best() const { return best_; }
    const FleetOutcome& BestOutcome() const { return bestOutcome_; }
    const FleetAim& Aim() const { return aim_; }

private:
    // Evaluates `fleets` (at most what is left of the budget), weighs them in order and, when
    // `remember`, keeps them.
    void Evaluate(std::span<const std::int32_t> fleets, bool remember);
    // Runs evaluate_ on `fleets` a part at a time, reporting progress between the parts.
    void EvaluateInParts(std::span<const std::int32_t> fleets, std::span<std::optional<FleetOutcome>> outcomes);
    void Consider(std::span<const std::int32_t> fleet, const FleetOutcome& outcome);
    // The slot holding `fleet`, or the empty slot where it would go.
    std::size_t SlotOf(std::span<const std::int32_t> fleet) const;
    std::span<const std::int32_t> Counts(std::uint32_t entry) const;

    std::size_t rows_;
    FleetAim aim_;
    FleetOutcomeSource evaluate_;
    LedgerControl control_;
    std::int64_t planned_;
    std::int64_t evaluations_ = 0;
    std::vector<std::int32_t> counts_;    // the remembered fleets, rows_ counts each
    std::vector<FleetOutcome> outcomes_;  // their outcomes, entry for entry
    std::vector<std::uint32_t> slots_;    // entry + 1, or 0 when empty; at most half full
    std::vector<std::int32_t> best_;
    FleetOutcome bestOutcome_;
};

}  // namespace kestrin
