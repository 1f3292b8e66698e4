#include "fleet_ledger.h"

#include <set>

namespace kestrin {

FleetLedger::FleetLedger(FleetEvaluator& evaluator, const FleetSearchRequest& request,
                         const FleetSearchControl& control, std::int64_t planned)
    : evaluator_(evaluator), request_(request), control_(control), planned_(planned) {}

bool FleetLedger::Cancelled() const { return control_.cancel != nullptr && control_.cancel->load(); }

bool FleetLedger::Done() const { return evaluations_ >= planned_ || Cancelled(); }

std::vector<std::optional<FleetOutcome>> FleetLedger::Try(const std::vector<Fleet>& fleets) {
    // The fleets not tried yet, each once, as many as the budget allows.
    std::vector<Fleet> fresh;
    std::set<Fleet> taken;
    for (const Fleet& fleet : fleets) {
        if (evaluations_ + static_cast<std::int64_t>(fresh.size()) >= planned_) break;
        if (!tried_.contains(fleet) && taken.insert(fleet).second) fresh.push_back(fleet);
    }
    // The very first fleet is evaluated even when cancelled, so that there is an answer.
    const std::atomic<bool>* cancel = best_ ? control_.cancel : nullptr;
    const std::vector<std::optional<FleetOutcome>> outcomes = evaluator_.Outcomes(fresh, cancel);
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        if (!outcomes[i]) continue;
        tried_.emplace(fresh[i], *outcomes[i]);
        ++evaluations_;
    }
    std::vector<std::optional<FleetOutcome>> result(fleets.size());
    for (std::size_t i = 0; i < fleets.size(); ++i) {
        const auto found = tried_.find(fleets[i]);
        if (found == tried_.end()) continue;
        result[i] = found->second;
        Consider(fleets[i], found->second);
    }
    if (control_.progress) control_.progress(evaluations_, planned_);
    return result;
}

void FleetLedger::Consider(const Fleet& fleet, const FleetOutcome& outcome) {
    if (!best_ || BetterOutcome(request_.aim, outcome, bestOutcome_)) {
        best_ = fleet;
        bestOutcome_ = outcome;
    }
}

}  // namespace kestrin
