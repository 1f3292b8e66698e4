#include "planner_json.h"

#include "planner/fleet_outcome_text.h"
#include "planner/planner_fields.h"
#include "planner/sweep_axes.h"
#include "planner/sweep_input.h"
#include "sheet/battle_file.h"
#include "sheet/row_captions.h"
#include "sheet/sheet_inputs.h"

namespace kestrin {

namespace {

constexpr std::array<const char*, kFindingCount> kFindingKeys{"mostRoids", "lowestLossPerRoid", "defenderWiped"};
constexpr std::array<const char*, kPlotModeCount> kPlotKeys{"whole", "last"};

// One point's figures in kSweepFigures order; with `gaps`, null where a figure has no value
// (a chart breaks its line there; Best Fleet's table shows the panel's figure).
PageJson FiguresJson(const SweepFigures& figures, bool gaps = true) {
    PageJson json = PageJson::array();
    for (int f = 0; f < kSweepFigureCount; ++f)
        json.push_back(!gaps || FigureDefined(f, figures) ? PageJson(kSweepFigures[f].value(figures)) : PageJson(nullptr));
    return json;
}

PageJson AxisJson(const AxisScale& scale) {
    PageJson ticks = PageJson::array();
    for (double tick : ScaleTicks(scale)) ticks.push_back({{"value", tick}, {"label", AxisLabel(tick, kPageLocale)}});
    return {{"min", scale.min}, {"max", scale.max}, {"step", scale.step}, {"ticks", std::move(ticks)}};
}

std::string InputCaption(const BattleRules& rules, const SweepInput& input) {
    return std::string(input.side == Side::Attacker ? "Attacker " : "Defender ") +
           std::string(RowCaption(rules.catalogue, input.side, input.row));
}

// How `mode` plots the view: the figures per point, each figure's axis, the findings.
PageJson PlotJson(const BattleRules& rules, const SweepView& view, PlotMode mode) {
    std::vector<SweepFigures> plotted;
    PageJson figures = PageJson::array();
    for (const SweepPoint& point : view.points) {
        plotted.push_back(PlottedFigures(point, mode));
        figures.push_back(FiguresJson(plotted.back()));
    }
    const SweepFindings findings = view.tally.Findings(mode);
    PageJson axes = PageJson::array();
    for (int f = 0; f < kSweepFigureCount; ++f) axes.push_back(AxisJson(FiguresAxis(plotted, std::span(&f, 1), findings)));
    const std::string caption = InputCaption(rules, view.request.input);
    PageJson found = PageJson::array();
    for (int k = 0; k < kFindingCount; ++k) {
        const auto kind = static_cast<FindingKind>(k);
        PageJson finding{{"key", kFindingKeys[k]}, {"text", FindingText(kind, findings[k], caption, kPageLocale)},
                         {"figure", FindingFigure(kind)}};
        const SweepPoint* point = view.tally.Point(mode, kind);
        finding["value"] = findings[k] ? PageJson(findings[k]->value) : PageJson(nullptr);
        // The finding's point may lie between the chart's: its figures come with it, as each
        // plot shows them (the readout follows the plot).
        finding["figures"] = PageJson(nullptr);
        if (point != nullptr)
            for (int m = 0; m < kPlotModeCount; ++m)
                finding["figures"][kPlotKeys[m]] = FiguresJson(PlottedFigures(*point, static_cast<PlotMode>(m)));
        found.push_back(std::move(finding));
    }
    const int ticks = view.request.ticks;
    const std::string tickWord = std::to_string(ticks) + (ticks == 1 ? " tick" : " ticks");
    return {{"title", caption + (mode == PlotMode::WholeBattle ? ": whole battle of " + tickWord
                                                               : ": at the last tick (tick " + std::to_string(ticks) + ")")},
            {"when", mode == PlotMode::WholeBattle ? "whole battle" : "at the last tick"},
            {"figures", std::move(figures)},
            {"axes", std::move(axes)},
            {"findings", std::move(found)}};
}

PageJson FigureListJson() {
    PageJson list = PageJson::array();
    for (const SweepFigureInfo& figure : kSweepFigures)
        list.push_back({{"key", figure.key}, {"title", figure.title}, {"roids", figure.roids}});
    return list;
}

}  // namespace

PageJson ErrorJson(std::string_view text) { return {{"error", text}}; }

PageJson PlannerFormJson(const BattleRules& rules, std::string_view battle) {
    PageJson rows;
    for (Side side : {Side::Attacker, Side::Defender}) {
        PageJson list = PageJson::array();
        for (const SweepRow& row : SweepableRows(rules.catalogue, side)) list.push_back({{"row", row.row}, {"caption", row.caption}});
        rows[side == Side::Attacker ? "attacker" : "defender"] = std::move(list);
    }
    const BattleFileInputs inputs = ReadBattleBytesInputs(battle);
    PageJson fleetRows = PageJson::array();
    for (const SweepRow& row : SweepableRows(rules.catalogue, Side::Attacker)) {
        if (!IsUnitRow(row.row)) continue;
        const std::int32_t count = inputs.outcome.ok() ? inputs.battle.Ships[Idx(Side::Attacker)][UnitAt(row.row)] : 0;
        fleetRows.push_back({{"row", row.row}, {"caption", row.caption}, {"count", std::max(0, count)}});
    }
    // Each goal with the fields it reads: a field no goal of the moment reads is not shown.
    PageJson goals = PageJson::array();
    for (const FleetGoalChoice& choice : kFleetGoalChoices) {
        PageJson fields = PageJson::array({"maxLoss", "ticks", "evaluations"});
        if (GoalUsesMinRoids(choice.goal)) fields.push_back("minRoids");
        goals.push_back({{"name", choice.name}, {"title", choice.title}, {"fields", std::move(fields)}});
    }
    return {{"figures", FigureListJson()},
            {"goals", std::move(goals)},
            {"noValue", "(no asteroid captured)"},
            {"rows", std::move(rows)},
            {"fleetRows", std::move(fleetRows)},
            {"bestFleetHint", kBestFleetHint},
            {"sweepOutOfDate", kSweepOutOfDate},
            {"fleetOutOfDate", kFleetOutOfDate},
            {"sweepRunning", OtherRunningText("sweep")},
            {"searchRunning", OtherRunningText("search")}};
}

PageJson SweepViewJson(const BattleRules& rules, const SweepView& view) {
    PageJson points = PageJson::array();
    std::vector<std::int64_t> values;
    for (const SweepPoint& point : view.points) {
        PageJson ticks = PageJson::array();
        for (const SweepFigures& tick : point.ticks) ticks.push_back(FiguresJson(tick));
        points.push_back({{"value", point.value}, {"ticks", std::move(ticks)}});
        values.push_back(point.value);
    }
    PageJson json{{"input", {{"side", view.request.input.side == Side::Attacker ? "attacker" : "defender"},
                             {"row", view.request.input.row},
                             {"caption", InputCaption(rules, view.request.input)}}},
                  {"ticks", view.request.ticks},
                  {"figures", FigureListJson()},
                  {"points", std::move(points)}};
    if (values.empty()) return json;
    json["xAxis"] = AxisJson(NiceScale(static_cast<double>(values.front()), static_cast<double>(values.back())));
    json["exact"] = view.exact;
    json["pending"] = view.pending;
    json["scope"] = "Findings, " + (view.pending ? FindingsPendingText(values, kPageLocale)
                                                 : FindingsScopeText(view.exact, values, kPageLocale));
    for (int m = 0; m < kPlotModeCount; ++m) json["plots"][kPlotKeys[m]] = PlotJson(rules, view, static_cast<PlotMode>(m));
    return json;
}

PageJson FleetViewJson(const BattleRules& rules, const FleetView& view) {
    const FleetSearchResult& result = view.result;
    const FleetOutcomeWords words = FleetOutcomeText(result, view.request.rows, kPageLocale);
    PageJson json{{"outcome", {{"lead", words.lead}, {"rest", words.rest}, {"noFleet", words.noFleet}}},
                  {"exhaustive", result.exhaustive},
                  {"figures", FigureListJson()}};
    // A fleet that keeps no limit is neither shown nor used.
    if (words.noFleet) return json;
    PageJson rows = PageJson::array();
    for (std::size_t i = 0; i < view.request.rows.size(); ++i) {
        const int row = view.request.rows[i].row;
        rows.push_back({{"row", row},
                        {"caption", RowCaption(rules.catalogue, Side::Attacker, row)},
                        {"best", result.best.counts[i]},
                        {"grid", view.grid.counts[i]}});
    }
    PageJson periods = PageJson::array();
    periods.push_back({{"name", "Whole battle"}, {"best", FiguresJson(result.best.summed, false)}, {"grid", FiguresJson(view.grid.summed, false)}});
    for (std::size_t t = 0; t < result.best.ticks.size(); ++t)
        periods.push_back({{"name", "Tick " + std::to_string(t + 1)},
                           {"best", FiguresJson(result.best.ticks[t], false)},
                           {"grid", FiguresJson(view.grid.ticks[t], false)}});
    json["rows"] = std::move(rows);
    json["periods"] = std::move(periods);
    return json;
}

}  // namespace kestrin
