#include "planner_session.h"

#include "sheet/battle_file.h"
#include "sheet/sheet_inputs.h"

namespace kestrin {

SweepPlan PlanSweep(const BattleRules& rules, const SweepAsk& ask) {
    SweepPlan plan;
    const BattleFileInputs battle = ReadBattleBytesInputs(ask.battle);
    if (!battle.outcome.ok()) {
        plan.error = battle.outcome.message;
        return plan;
    }
    const SweepInputFound found = FindSweepInput(rules.catalogue, ask.input.side, std::to_string(ask.input.row));
    if (!found.input) {
        plan.error = found.error;
        return plan;
    }
    plan.request.battle = battle.battle;
    plan.request.input = *found.input;
    plan.error = ReadSweepFields(ask.fields, kPageLocale, plan.request);
    return plan;
}

bool NeedsFindingsPass(const SweepRequest& chart) {
    const std::uint64_t whole = WholeValuesInRange(chart.values.front(), chart.values.back());
    return whole <= kMaxExactFindingValues && whole > chart.values.size();
}

SweepView RunSweepChart(const BattleRules& rules, const SweepRequest& chart) {
    SweepView view{chart, RunSweep(rules, chart, {}).points, {}, false, NeedsFindingsPass(chart)};
    for (const SweepPoint& point : view.points) view.tally.Add(point);
    view.exact = view.points.size() == WholeValuesInRange(chart.values.front(), chart.values.back());
    return view;
}

SweepView RunSweepEveryValue(const BattleRules& rules, const SweepRequest& chart) {
    SweepView view{chart, {}, {}, true, false};
    SweepRequest every = chart;
    every.values.clear();
    for (std::int64_t value = chart.values.front(); value <= chart.values.back(); ++value) every.values.push_back(value);
    SweepControl control;
    // Handed on in value order, one at a time: the chart's values come up in their turn.
    control.pointFinished = [&view, &chart](const SweepPoint& point) {
        view.tally.Add(point);
        if (view.points.size() < chart.values.size() && chart.values[view.points.size()] == point.value)
            view.points.push_back(point);
    };
    RunSweep(rules, every, control);
    return view;
}

FleetPlan PlanFleetSearch(const BattleRules& rules, const FleetAsk& ask) {
    FleetPlan plan;
    const BattleFileInputs battle = ReadBattleBytesInputs(ask.battle);
    if (!battle.outcome.ok()) {
        plan.error = battle.outcome.message;
        return plan;
    }
    plan.request.battle = battle.battle;
    plan.request.aim.goal = ask.goal;
    plan.error = ReadFleetFields(rules.catalogue, ask.fields, kPageLocale, plan.request);
    return plan;
}

FleetView RunFleetSearch(const BattleRules& rules, const FleetSearchRequest& request, FleetHelper* helper,
                         const FleetProgress& progress) {
    std::atomic<bool> cancelled{false};
    FleetSearchControl control{.cancel = &cancelled, .helper = helper};
    if (progress)
        control.progress = [&progress, &cancelled](std::int64_t done, std::int64_t planned) {
            if (progress(done, planned)) cancelled = true;
        };
    FleetView view{request, FindBestFleet(rules, request, control), {}};
    // The grid's own fleet: the counts of the varied rows as the battle holds them.
    std::vector<std::int32_t> grid;
    for (const VariedRow& varied : request.rows)
        grid.push_back(std::max(0, request.battle.Ships[Idx(Side::Attacker)][UnitAt(varied.row)]));
    view.grid = EvaluateFleet(rules, request, grid);
    return view;
}

bool SweepStillCurrent(std::string_view ranOn, std::string_view now, const SweepInput& input) {
    const BattleFileInputs before = ReadBattleBytesInputs(ranOn), after = ReadBattleBytesInputs(now);
    return before.outcome.ok() && after.outcome.ok() && SameBattleApartFrom(before.battle, after.battle, input);
}

bool FleetStillCurrent(std::string_view ranOn, std::string_view now, const std::vector<int>& rows) {
    const BattleFileInputs before = ReadBattleBytesInputs(ranOn);
    BattleFileInputs after = ReadBattleBytesInputs(now);
    if (!before.outcome.ok() || !after.outcome.ok() || rows.empty()) return false;
    auto& attackers = after.battle.Ships[Idx(Side::Attacker)];
    for (int row : rows) {
        if (!IsUnitRow(row)) return false;
        attackers[UnitAt(row)] = before.battle.Ships[Idx(Side::Attacker)][UnitAt(row)];
    }
    return SameBattleApartFrom(before.battle, after.battle, {Side::Attacker, rows.front()});
}

}  // namespace kestrin
