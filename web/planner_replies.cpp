#include "planner_replies.h"

namespace kestrin {

namespace {

std::string Text(const PageJson& json, const char* key) {
    const auto at = json.find(key);
    return at != json.end() && at->is_string() ? at->get<std::string>() : std::string();
}

}  // namespace

SweepAsk ReadSweepAsk(std::string_view request, std::string_view battle) {
    const PageJson json = PageJson::parse(request);
    SweepAsk ask;
    ask.battle = battle;
    ask.input = {json.value("side", "attacker") == "defender" ? Side::Defender : Side::Attacker, json.value("row", 0)};
    ask.fields = {Text(json, "from"), Text(json, "to"), Text(json, "points"), Text(json, "ticks")};
    return ask;
}

FleetAsk ReadFleetAsk(std::string_view request, std::string_view battle) {
    const PageJson json = PageJson::parse(request);
    FleetAsk ask;
    ask.battle = battle;
    ask.goal = FleetGoalNamed(json.value("goal", "roids")).value_or(FleetGoal::Roids);
    for (const PageJson& row : json.value("rows", PageJson::array()))
        ask.fields.most.emplace_back(row.at(0).get<int>(), row.at(1).get<std::string>());
    ask.fields.minRoids = Text(json, "minRoids");
    ask.fields.maxLoss = Text(json, "maxLoss");
    ask.fields.ticks = Text(json, "ticks");
    ask.fields.evaluations = Text(json, "evaluations");
    return ask;
}

PageJson SweepChartReply(const BattleRules& rules, std::string_view request, std::string_view battle) {
    const SweepPlan plan = PlanSweep(rules, ReadSweepAsk(request, battle));
    if (!plan.error.empty()) return ErrorJson(plan.error);
    return SweepViewJson(rules, RunSweepChart(rules, plan.request));
}

PageJson SweepEveryValueReply(const BattleRules& rules, std::string_view request, std::string_view battle) {
    const SweepPlan plan = PlanSweep(rules, ReadSweepAsk(request, battle));
    if (!plan.error.empty()) return ErrorJson(plan.error);
    if (!NeedsFindingsPass(plan.request)) return {{"none", true}};
    return SweepViewJson(rules, RunSweepEveryValue(rules, plan.request));
}

PageJson BestFleetReply(const BattleRules& rules, std::string_view request, std::string_view battle,
                        FleetHelper* helper, const FleetProgress& progress) {
    const FleetPlan plan = PlanFleetSearch(rules, ReadFleetAsk(request, battle));
    if (!plan.error.empty()) return ErrorJson(plan.error);
    return FleetViewJson(rules, RunFleetSearch(rules, plan.request, helper, progress));
}

}  // namespace kestrin
