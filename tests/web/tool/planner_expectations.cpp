// What the desktop's planner draws for a sweep, for the browser test to compare the page
// with: kestrin-cli sweep's points (JSON lines on standard input) summed into the whole
// battle, and each figure's axis, with the findings the desktop takes over every value.
// Usage: kestrin-cli sweep FILE --vary SIDE:ROW ... | planner_expectations FILE SIDE ROW
// Prints {"whole": [[figure or null, ...] per point], "axes": {"whole": [...], "last": [...]}}.
#include <nlohmann/json.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "planner/sweep_axes.h"
#include "planner/sweep_findings.h"
#include "sheet/battle_file.h"

using namespace kestrin;
using Json = nlohmann::ordered_json;

namespace {

// Where each figure of kestrin-cli's "figures" goes, in kSweepFigures order.
std::int64_t& FigureSlot(SweepFigures& f, int figure) {
    ResultFigures& r = f.results;
    std::int64_t* slots[kSweepFigureCount] = {&r.DLoss, &r.ALoss, &r.UR, &r.MR, &r.CR, &r.ER, &r.TR,
                                              &r.TIR, &r.ALossPerRoid, &r.MSalvage, &r.CSalvage, &r.ESalvage,
                                              &f.defenderValueLeft, &f.attackerValueLeft};
    return *slots[figure];
}

SweepPoint PointOf(const Json& line) {
    SweepPoint point{line.at("value").get<std::int64_t>(), {}};
    for (const Json& tick : line.at("ticks")) {
        SweepFigures figures;
        for (int f = 0; f < kSweepFigureCount; ++f) FigureSlot(figures, f) = tick.at("figures").at(kSweepFigures[f].key);
        point.ticks.push_back(figures);
    }
    return point;
}

Json FiguresJson(const SweepFigures& figures) {
    Json json = Json::array();
    for (int f = 0; f < kSweepFigureCount; ++f)
        json.push_back(FigureDefined(f, figures) ? Json(kSweepFigures[f].value(figures)) : Json(nullptr));
    return json;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: planner_expectations FILE SIDE ROW < sweep lines\n";
        return 2;
    }
    const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    std::vector<SweepPoint> points;
    for (std::string line; std::getline(std::cin, line);)
        if (!line.empty()) points.push_back(PointOf(Json::parse(line)));
    if (points.size() < 2) return 1;
    // The findings as the desktop takes them: over every value when there are few enough.
    const BattleFileInputs inputs = ReadBattleFileInputs(argv[1]);
    SweepRequest every{inputs.battle, {std::string(argv[2]) == "defender" ? Side::Defender : Side::Attacker, std::stoi(argv[3])},
                       {}, static_cast<int>(points.front().ticks.size())};
    const std::int64_t from = points.front().value, to = points.back().value;
    const bool exact = WholeValuesInRange(from, to) <= kMaxExactFindingValues;
    FindingsTally tally;
    if (exact) {
        for (std::int64_t v = from; v <= to; ++v) every.values.push_back(v);
        tally = RunFindingsPass(load.rules, every, {}).tally;
    } else {
        for (const SweepPoint& point : points) tally.Add(point);
    }
    Json out;
    for (const auto& [mode, name] : {std::pair{PlotMode::WholeBattle, "whole"}, {PlotMode::LastTick, "last"}}) {
        std::vector<SweepFigures> plotted;
        for (const SweepPoint& point : points) plotted.push_back(PlottedFigures(point, mode));
        if (mode == PlotMode::WholeBattle)
            for (const SweepFigures& figures : plotted) out["whole"].push_back(FiguresJson(figures));
        for (int f = 0; f < kSweepFigureCount; ++f) {
            const AxisScale scale = FiguresAxis(plotted, std::span(&f, 1), tally.Findings(mode));
            out["axes"][name].push_back({{"min", scale.min}, {"max", scale.max}, {"step", scale.step}});
        }
    }
    std::cout << out.dump() << "\n";
    return 0;
}
