#pragma once

#include <string_view>

#include "engine/battle_rules.h"
#include "page_json.h"
#include "planner_session.h"

namespace kestrin {

/// The planner's form: the figures (key, title, asteroid count or not), the rows a sweep may
/// vary on each side, Best Fleet's rows with the battle's counts (`battle`: its bytes).
PageJson PlannerFormJson(const BattleRules& rules, std::string_view battle);

/// A sweep's chart: the points (value, each tick's figures), for each plot ("whole",
/// "last") the plotted figures, each figure's axis and the findings in words with their
/// values, the x axis and the findings' scope. A figure without a value is null.
PageJson SweepViewJson(const BattleRules& rules, const SweepView& view);

/// Best Fleet's answer: the outcome in words, the fleet's rows (row, caption, best, grid)
/// and every figure of the whole battle and of each tick, the best fleet's beside the grid's.
PageJson FleetViewJson(const BattleRules& rules, const FleetView& view);

/// {"error": text}: what the page tells the player instead of a result.
PageJson ErrorJson(std::string_view text);

}  // namespace kestrin
