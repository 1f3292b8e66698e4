#pragma once

#include <string_view>

#include "engine/battle_rules.h"
#include "planner/fleet_search.h"
#include "planner_json.h"

namespace kestrin {

/// The page's planner calls: each reads a request (JSON the page writes: the varied input
/// and the fields as typed) and the battle's bytes, runs, and answers with what the page
/// draws or {"error": text} in the player's words. The module's exports call these.

/// {"side": "attacker"|"defender", "row": R, "from", "to", "points", "ticks": typed texts}
SweepAsk ReadSweepAsk(std::string_view request, std::string_view battle);
/// {"goal": "roids"|"loss-per-roid"|"smallest-fleet", "rows": [[R, typed most], ...],
///  "minRoids", "maxLoss", "ticks", "evaluations": typed texts}
FleetAsk ReadFleetAsk(std::string_view request, std::string_view battle);

/// The chart's points (SweepViewJson).
PageJson SweepChartReply(const BattleRules& rules, std::string_view request, std::string_view battle);
/// Every value of the range for the findings (SweepViewJson); {"none": true} when the chart
/// already tried every value or the range has too many.
PageJson SweepEveryValueReply(const BattleRules& rules, std::string_view request, std::string_view battle);
/// Best Fleet (FleetViewJson), lending part of each batch to `helper` when not null, telling
/// `progress` after each batch (a cancelled search answers with its best fleet so far).
PageJson BestFleetReply(const BattleRules& rules, std::string_view request, std::string_view battle,
                        FleetHelper* helper, const FleetProgress& progress = {});

}  // namespace kestrin
