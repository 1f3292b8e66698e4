#include "sweep_command.h"

#include <mutex>
#include <optional>

#include "cli_output.h"
#include "battle_inputs.h"
#include "cli_rules.h"
#include "planner/battle_sweep.h"
#include "planner/sweep_csv.h"
#include "planner/sweep_findings.h"
#include "planner/sweep_range.h"
#include "save_temporaries.h"
#include "sweep_json.h"

namespace kestrin {

const char* const kSweepOutputHelp =
    "Output: one JSON line per value, in value order, each written as soon as it and every\n"
    "value before it are computed:\n"
    "  {\"value\": V, \"ticks\": [{\"tick\": 1, \"panel\": {...}, \"figures\": {...}}, ...]}\n"
    "\"panel\" holds the results panel's texts as calc prints them; \"figures\" the same\n"
    "figures as numbers: defenderFleetChange, attackerFleetChange, uninitRoidsLost,\n"
    "metalRoidsLost, crystalRoidsLost, eoniumRoidsLost, roidsLost, initRoidsCaptured,\n"
    "attackerChangePerInitRoid, metalSalvage, crystalSalvage, eoniumSalvage (with the\n"
    "panel's signs), defenderValueLeft, attackerValueLeft. Each further tick is what the\n"
    "Tick button makes of the one before. With --csv: a header line, then one line per\n"
    "value and tick with these figures. Unlike the other commands, sweep streams: a failure\n"
    "after output began (out of memory, a closed output) ends it after its last complete\n"
    "line, with one line on standard error and exit status 1.\n"
    "With --findings: instead of the points, one JSON object with the planner's findings over\n"
    "the whole battle (the ticks summed), taken over every whole value from A to B when there\n"
    "are at most 100000 of them, whatever --points says (else over the points, \"exact\": false):\n"
    "  {\"mostRoids\": {\"value\": V, \"initRoidsCaptured\": R},\n"
    "   \"lowestLossPerRoid\": {\"value\": V, \"attackerChangePerInitRoid\": X} | null,\n"
    "   \"defenderWipedOut\": {\"value\": V} | null, \"evaluations\": N, \"exact\": true}\n"
    "Ties go to the smallest value; a value that captures no initiated asteroid has no loss per\n"
    "asteroid (the loss per asteroid is compared as an exact fraction; X is the panel's whole\n"
    "figure); when no value captures one, mostRoids is the first value with 0.";

namespace {

// The sweep the options ask for on `battle`, or why it cannot run.
struct SweepPlan {
    SweepRequest request;
    std::string error;
};

std::optional<Side> SideNamed(std::string_view name) {
    if (name == "defender") return Side::Defender;
    if (name == "attacker") return Side::Attacker;
    return std::nullopt;
}

// Every whole value of the range, when --points is not given (the check refuses too many).
std::int64_t DefaultPoints(const SweepOptions& options) {
    if (options.to < options.from) return 0;
    // The span in unsigned arithmetic: it may exceed the 64-bit signed range.
    const std::uint64_t span = static_cast<std::uint64_t>(options.to) - static_cast<std::uint64_t>(options.from);
    return span < static_cast<std::uint64_t>(kMaxSweepPoints) ? static_cast<std::int64_t>(span) + 1 : kMaxSweepPoints + 1;
}

SweepPlan Plan(const BattleRules& rules, const BattleState& battle, const SweepOptions& options) {
    SweepPlan plan;
    const std::size_t colon = options.vary.find(':');
    const std::optional<Side> side = SideNamed(options.vary.substr(0, colon));
    if (colon == std::string::npos || !side) {
        plan.error = "--vary takes SIDE:ROW with SIDE defender or attacker, not '" + options.vary + "'";
        return plan;
    }
    const SweepInputFound found = FindSweepInput(rules.catalogue, *side, options.vary.substr(colon + 1));
    if (!found.input) {
        plan.error = found.error;
        return plan;
    }
    // Findings are stated over every whole value when there are few enough of them.
    const std::uint64_t whole = WholeValuesInRange(options.from, options.to);
    const bool everyValue = options.findings && whole >= 2 && whole <= kMaxExactFindingValues;
    const SweepRange range{options.from, options.to,
                           everyValue ? static_cast<std::int64_t>(whole) : options.points.value_or(DefaultPoints(options))};
    if (!options.points && range.points > kMaxSweepPoints) {
        plan.error = "The range has more than " + std::to_string(kMaxSweepPoints) + " whole values: give --points";
        return plan;
    }
    plan.error = CheckSweepRange(range, found.input->row);
    if (plan.error.empty()) plan.error = CheckSweepTicks(options.ticks);
    if (!plan.error.empty()) return plan;
    plan.request = {battle, *found.input, SweepValues(range), options.ticks, options.solver};
    return plan;
}

std::string JsonLine(const SweepPoint& point) {
    return DumpJson(Json{{"value", point.value}, {"ticks", TicksJson(point.ticks)}}) + "\n";
}

// Standard output refused a line: the sweep stops.
struct OutputRefused {};

// The findings over the whole battle as --findings prints them.
std::string FindingsJson(const SweepRequest& request, const FindingsPass& pass) {
    const SweepFindings found = pass.tally.Findings(PlotMode::WholeBattle);
    const auto& [most, perRoid, wiped] = found;
    // The most captured is 0 when nothing is: first reached at the first value.
    const SweepFinding mostRoids = most.value_or(SweepFinding{request.values.front(), 0});
    Json json{{"mostRoids", {{"value", mostRoids.value}, {"initRoidsCaptured", mostRoids.figure}}}};
    json["lowestLossPerRoid"] =
        perRoid ? Json{{"value", perRoid->value}, {"attackerChangePerInitRoid", perRoid->figure}} : Json(nullptr);
    json["defenderWipedOut"] = wiped ? Json{{"value", wiped->value}} : Json(nullptr);
    json["evaluations"] = pass.tally.Added();
    // Every whole value of the range was a point.
    json["exact"] = request.values.size() == WholeValuesInRange(request.values.front(), request.values.back());
    return DumpJson(json) + "\n";
}

// --findings: every value's battle folded into the findings, one object printed at the end.
int PrintFindings(const BattleRules& rules, const SweepRequest& request, std::ostream& out, std::ostream& err) {
    const FindingsPass pass = RunFindingsPass(rules, request, {});
    return WriteOutput(out, err, FindingsJson(request, pass));
}

}  // namespace

int RunSweepCommand(const SweepOptions& options, const std::filesystem::path& statsPath,
                    std::ostream& out, std::ostream& err, SaveTemporaries* temporaries) {
    const CliRules rules = LoadCliRules(statsPath, err);
    if (!rules.error.empty()) return ReportError(err, rules.error, kExitUsage);
    const BattleFileInputs battle = OpenBattleInputs(options.battlePath);
    if (!battle.outcome.ok()) return ReportError(err, battle.outcome.message, kExitUsage);
    ReportBattleFileProblems(err, options.battlePath, battle.outcome.problems);
    const SweepPlan plan = Plan(rules.rules, battle.battle, options);
    if (!plan.error.empty()) return ReportError(err, plan.error, kExitUsage);
    if (options.findings) return PrintFindings(rules.rules, plan.request, out, err);
    // Each point's lines go out as soon as it and every point before it are finished, so
    // the memory held does not grow with the range; a failure after that ends the output
    // after its last complete line.
    // A signal that ends the sweep waits for the line being written (a long one goes out in
    // several writes): only whole lines are left. Its thread starts before the workers', so
    // that they inherit the signals blocked.
    if (temporaries != nullptr) (void)temporaries->Hold();
    bool began = false;
    SweepControl control;
    control.pointFinished = [&](const SweepPoint& point) {
        std::string text = began || !options.csv ? std::string() : SweepCsvHeader();
        text += options.csv ? SweepCsvLines(point) : JsonLine(point);
        std::unique_lock<std::mutex> whole;
        if (temporaries != nullptr) whole = temporaries->Hold();
        out << text;
        out.flush();
        if (!out) throw OutputRefused{};
        began = true;
    };
    try {
        RunSweep(rules.rules, plan.request, control);
    } catch (const OutputRefused&) {
        return ReportOutputFailure(out, err);
    }
    return kExitOk;
}

}  // namespace kestrin
