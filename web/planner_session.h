#pragma once

#include <nlohmann/json.hpp>

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/battle_rules.h"
#include "planner/battle_sweep.h"
#include "planner/fleet_search.h"
#include "planner/planner_fields.h"
#include "planner/sweep_findings.h"

namespace kestrin {

/// The page's planner, typed: requests come as data (the battle as its saved bytes, the
/// varied input by side and row, the fields as typed), results go out as the data the page
/// draws (web/planner_json.h). The two planner workers each run one module calling these.

/// The page reads and writes figures as kestrin-cli does.
inline const NumberLocale kPageLocale{",", '.'};

/// A sweep the page asks for.
struct SweepAsk {
    std::string battle;  ///< the battle file's bytes as the page's session saves them
    SweepInput input;
    SweepFieldTexts fields;
};

/// A sweep ready to run, or why not in the player's words.
struct SweepPlan {
    SweepRequest request;
    std::string error;
};

/// Reads the battle and the fields of `ask`.
SweepPlan PlanSweep(const BattleRules& rules, const SweepAsk& ask);

/// What the page's chart shows of one sweep: the chart's points, the findings over the
/// points or over every value of the range, and whether every value is still to be tried.
struct SweepView {
    SweepRequest request;  ///< the battle, the input and the chart's values
    std::vector<SweepPoint> points;
    FindingsTally tally;
    bool exact = false;    ///< the findings were taken over every whole value of the range
    bool pending = false;  ///< the other worker is trying every value for them
};

/// Whether the findings of `plan` are to be taken over every value by a second pass: the
/// range has few enough whole values and more than the chart's points.
bool NeedsFindingsPass(const SweepRequest& chart);

/// The chart's points of `plan`, with the findings over them.
SweepView RunSweepChart(const BattleRules& rules, const SweepRequest& chart);

/// Every whole value of the chart's range for exact findings; the chart's points are kept as
/// they pass by, so the view is whole.
SweepView RunSweepEveryValue(const BattleRules& rules, const SweepRequest& chart);

/// Best Fleet as the page asks for it.
struct FleetAsk {
    std::string battle;
    FleetGoal goal = FleetGoal::Roids;
    FleetFieldTexts fields;
};

/// A search ready to run, or why not in the player's words.
struct FleetPlan {
    FleetSearchRequest request;
    std::string error;
};

/// Reads the battle and the fields of `ask`.
FleetPlan PlanFleetSearch(const BattleRules& rules, const FleetAsk& ask);

/// A search's answer beside the grid's own fleet.
struct FleetView {
    FleetSearchRequest request;
    FleetSearchResult result;
    FleetBattle grid;
};

/// Told (evaluations done, planned) after each batch of a search; answers true once the player
/// has cancelled: the search then ends with the best fleet so far.
using FleetProgress = std::function<bool(std::int64_t done, std::int64_t planned)>;

/// Runs `request`, with `helper` (may be null) taking part of each batch.
FleetView RunFleetSearch(const BattleRules& rules, const FleetSearchRequest& request, FleetHelper* helper,
                         const FleetProgress& progress = {});

/// Whether a sweep of `input` run on the battle `ranOn` (bytes) still describes the battle
/// `now`: every input other than the varied one as it was.
bool SweepStillCurrent(std::string_view ranOn, std::string_view now, const SweepInput& input);

/// Whether a search over `rows` run on the battle `ranOn` still describes `now`: the varied
/// rows may hold any count (the fleet used among them), the rest as searched.
bool FleetStillCurrent(std::string_view ranOn, std::string_view now, const std::vector<int>& rows);

}  // namespace kestrin
