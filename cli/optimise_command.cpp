#include "optimise_command.h"

#include <algorithm>
#include <limits>

#include "battle_inputs.h"
#include "cli_rules.h"
#include "engine/number_text.h"
#include "planner/fleet_search.h"
#include "planner/sweep_input.h"
#include "sheet/row_captions.h"
#include "sheet/sheet_inputs.h"
#include "sweep_json.h"
#include "tick_json.h"

namespace kestrin {

const char* const kOptimiseOutputHelp =
    "Output: one JSON object:\n"
    "  {\"fleet\": {\"AstroPod\": 20, \"Harpy\": 12}, \"ticks\": [...], \"summed\": {...},\n"
    "   \"space\": S, \"evaluations\": N, \"exhaustive\": true}\n"
    "\"fleet\" holds the count of each varied row by its caption; \"ticks\" the fleet's ticks as\n"
    "sweep prints a value's ticks; \"summed\" the figures summed over the ticks (the change per\n"
    "initiated asteroid is the summed change div the summed asteroids; the values left are the\n"
    "last tick's). \"space\" is the number of fleets within the bounds. A space of at most\n"
    "100,000 fleets, or of no more than --evaluations, is tried whole (\"exhaustive\": true); a\n"
    "larger one is searched with exactly --evaluations fleets, and the answer is the best found.\n"
    "The same input and --seed give the same answer on any number of cores. When no fleet\n"
    "found keeps --min-roids and --max-loss, the command fails and says whether every fleet\n"
    "was tried.";

namespace {

// The search the options ask for on `battle`, or why it cannot run.
struct OptimisePlan {
    FleetSearchRequest request;
    std::string error;
};

// One --vary item: [attacker:]ROW[=MAX]; an item without a side continues the one before.
std::string ReadVariedRow(const BattleRules& rules, const BattleState& battle, const std::string& item, bool first,
                          VariedRow& varied) {
    std::string rest = item;
    const std::size_t colon = rest.find(':');
    if (colon != std::string::npos) {
        if (rest.substr(0, colon) != "attacker") return "The advisor varies attacker rows only, not '" + item + "'";
        rest = rest.substr(colon + 1);
    } else if (first) {
        return "--vary takes attacker:ROW[=MAX],..., not '" + item + "'";
    }
    const std::size_t equals = rest.rfind('=');
    const SweepInputFound found = FindSweepInput(rules.catalogue, Side::Attacker, rest.substr(0, equals));
    if (!found.input) return found.error;
    varied.row = found.input->row;
    // A row that holds no unit type (the planet's score) has no ships to start from; the
    // search's check refuses it.
    varied.most = IsUnitRow(varied.row) ? std::max(0, battle.Ships[Idx(Side::Attacker)][UnitAt(varied.row)]) : 0;
    if (equals == std::string::npos) return {};
    const std::optional<std::int64_t> most = ParseInt64(rest.substr(equals + 1));
    if (!most || *most < 0 || *most > std::numeric_limits<std::int32_t>::max())
        return "The most ships in '" + item + "' must be a whole number from 0 to 2147483647";
    varied.most = static_cast<std::int32_t>(*most);
    return {};
}

OptimisePlan Plan(const BattleRules& rules, const BattleState& battle, const OptimiseOptions& options) {
    OptimisePlan plan;
    FleetSearchRequest& request = plan.request;
    request.battle = battle;
    for (const std::string& item : options.vary) {
        VariedRow varied;
        plan.error = ReadVariedRow(rules, battle, item, request.rows.empty(), varied);
        if (!plan.error.empty()) return plan;
        request.rows.push_back(varied);
    }
    request.ticks = options.ticks;
    request.solver = options.solver;
    request.aim = {FleetGoalNamed(options.goal).value_or(FleetGoal::Roids), options.minRoids, options.maxLoss};
    request.evaluations = options.evaluations;
    request.seed = options.seed;
    plan.error = CheckFleetSearch(rules.catalogue, request);
    return plan;
}

std::string ResultJson(const ShipCatalogue& catalogue, const FleetSearchRequest& request,
                       const FleetSearchResult& result) {
    Json fleet = Json::object();
    for (std::size_t i = 0; i < request.rows.size(); ++i)
        fleet[std::string(RowCaption(catalogue, Side::Attacker, request.rows[i].row))] = result.best.counts[i];
    return DumpJson(Json{{"fleet", std::move(fleet)},
                         {"ticks", TicksJson(result.best.ticks)},
                         {"summed", FiguresJson(result.best.summed)},
                         {"evaluations", result.evaluations},
                         {"exhaustive", result.exhaustive},
                         {"space", result.space}}) +
           "\n";
}

// Whether no fleet keeps the limits at all, or none was found among those tried.
std::string NoFleetMessage(const FleetSearchResult& result) {
    const std::string limits = "No fleet keeps the limits (--min-roids, --max-loss): ";
    if (result.exhaustive) return limits + "all " + std::to_string(result.space) + " fleets were tried";
    return limits + "none found in " + std::to_string(result.evaluations) + " of " + std::to_string(result.space) +
           " fleets; more --evaluations may find one";
}

}  // namespace

int RunOptimiseCommand(const OptimiseOptions& options, const std::filesystem::path& statsPath,
                       std::ostream& out, std::ostream& err, const OptimiseHooks& hooks) {
    const CliRules rules = LoadCliRules(statsPath, err);
    if (!rules.error.empty()) return ReportError(err, rules.error, kExitUsage);
    const BattleFileInputs battle = OpenBattleInputs(options.battlePath);
    if (!battle.outcome.ok()) return ReportError(err, battle.outcome.message, kExitUsage);
    ReportBattleFileProblems(err, options.battlePath, battle.outcome.problems);
    const OptimisePlan plan = Plan(rules.rules, battle.battle, options);
    if (!plan.error.empty()) return ReportError(err, plan.error, kExitUsage);
    if (hooks.serve) {
        hooks.serve(rules.rules, plan.request);
        return kExitOk;
    }
    const FleetSearchResult result = FindBestFleet(rules.rules, plan.request, {.helper = hooks.helper});
    if (!result.meetsLimits) return ReportError(err, NoFleetMessage(result), kExitUsage);
    return WriteOutput(out, err, ResultJson(rules.rules.catalogue, plan.request, result));
}

}  // namespace kestrin
