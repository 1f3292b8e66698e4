#include "fleet_evaluator.h"

#include "sheet/sheet_layout.h"

namespace kestrin {

FleetEvaluator::FleetEvaluator(const BattleRules& rules, const FleetSearchRequest& request, int workers)
    : request_(request), costs_(FleetCosts::From(rules.catalogue)), pool_(std::max(workers, 1)) {
    for (int w = 0; w < pool_.Workers(); ++w) battles_.emplace_back(rules, costs_, request.solver);
    buffers_.resize(static_cast<std::size_t>(pool_.Workers()));
}

BattleState FleetEvaluator::Start(const std::vector<std::int32_t>& counts) const {
    BattleState start = request_.battle;
    for (std::size_t i = 0; i < counts.size(); ++i)
        start.Ships[Idx(Side::Attacker)][request_.rows[i].row - sheet::kFirstUnitRow] = counts[i];
    return start;
}

const std::vector<SweepFigures>& FleetEvaluator::Run(int worker, const std::vector<std::int32_t>& counts) {
    std::vector<SweepFigures>& ticks = buffers_[static_cast<std::size_t>(worker)];
    battles_[static_cast<std::size_t>(worker)].Run(Start(counts), request_.ticks, ticks);
    return ticks;
}

std::vector<std::optional<FleetOutcome>> FleetEvaluator::Outcomes(std::span<const std::vector<std::int32_t>> fleets,
                                                                  const std::atomic<bool>* cancel) {
    std::vector<std::optional<FleetOutcome>> outcomes(fleets.size());
    // Each slot is written by the one worker that took its index.
    pool_.Run(fleets.size(), [&](int worker, std::size_t index) {
        const std::vector<SweepFigures>& ticks = Run(worker, fleets[index]);
        const std::int64_t sent = FleetValue(Start(fleets[index]).Ships[Idx(Side::Attacker)], costs_).value;
        outcomes[index] = OutcomeOf(WholeBattleFigures(ticks), sent);
    }, cancel);
    return outcomes;
}

FleetBattle FleetEvaluator::Battle(const std::vector<std::int32_t>& counts) {
    FleetBattle battle;
    battle.counts = counts;
    battle.ticks = Run(0, counts);
    battle.summed = WholeBattleFigures(battle.ticks);
    battle.outcome = OutcomeOf(battle.summed, FleetValue(Start(counts).Ships[Idx(Side::Attacker)], costs_).value);
    return battle;
}

}  // namespace kestrin
