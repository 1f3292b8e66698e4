#include "point_battle.h"

#include "engine/battle_simulation.h"
#include "sheet/result_rows.h"

namespace kestrin {

namespace {

constexpr int kDef = Idx(Side::Defender), kAtt = Idx(Side::Attacker);

}  // namespace

BattleState PointStart(const BattleState& sheetInputs, const SweepInput& input, std::int64_t value) {
    using namespace sheet;
    BattleState start = sheetInputs;
    const int s = Idx(input.side);
    const auto count = static_cast<std::int32_t>(value);
    if (input.row >= kFirstUnitRow && input.row <= kLastUnitRow) {
        start.Ships[s][input.row - kFirstUnitRow] = count;
    } else if (input.row >= kFirstRoidRow && input.row < kEoniumRow) {
        start.Roids[input.row - kFirstRoidRow] = count;
    } else if (input.row == kEoniumRow) {
        start.DefenderEonium = count;
    } else if (input.row == kScoreRow) {
        (input.side == Side::Defender ? start.DefenderScore : start.AttackerScore) = value;
    }
    return start;
}

PointBattle::PointBattle(const BattleRules& rules, const FleetCosts& costs, SolverVariant solver)
    : rules_(rules), costs_(costs) {
    context_.SolverVariant = solver;
}

void PointBattle::Run(BattleState state, int count, std::vector<SweepFigures>& ticks) {
    ticks.clear();
    for (int tick = 1; tick <= count; ++tick) {
        if (tick > 1) CarryToNextTick(state);
        state.AttackerFleetValue = FleetValue(state.Ships[kAtt], costs_).value;
        state.PrepareTick();
        SimulateTick(state, rules_, context_);
        AddStolenToLeft(state);
        ticks.push_back(Figures(state));
    }
}

// What the cells of rows 56..59 would show after this recalculation, into the panel's formula.
SweepFigures PointBattle::Figures(const BattleState& state) const {
    const FleetFigures defLeft = ShownFleetFigures(FleetValue(state.Left[kDef], costs_));
    const FleetFigures attLeft = ShownFleetFigures(FleetValue(state.Left[kAtt], costs_));
    const FleetFigures defLost = ShownFleetFigures(FleetValue(state.Lost[kDef], costs_));
    PanelSources sources;
    sources.defShipsValue = FleetValue(state.Ships[kDef], costs_).value;
    sources.defLeftValue = defLeft.value;
    sources.attShipsValue = state.AttackerFleetValue;
    sources.attLeftValue = attLeft.value;
    sources.defLostMetal = defLost.metal;
    sources.defLostCrystal = defLost.crystal;
    sources.defLostEonium = defLost.eonium;
    sources.roidsCaptured = state.RoidsCaptured;
    return {ComputeResultFigures(sources), defLeft.value, attLeft.value};
}

}  // namespace kestrin
