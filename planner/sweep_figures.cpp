#include "sweep_figures.h"

#include <cassert>
#include <utility>

#include "engine/saturating.h"

namespace kestrin {

const std::array<SweepFigureInfo, kSweepFigureCount> kSweepFigures{{
    {"defenderFleetChange", "Defender fleet change", [](const SweepFigures& f) { return f.results.DLoss; }},
    {"attackerFleetChange", "Attacker fleet change", [](const SweepFigures& f) { return f.results.ALoss; }},
    {"uninitRoidsLost", "Uninit. roids lost", [](const SweepFigures& f) { return f.results.UR; }, true},
    {"metalRoidsLost", "Metal roids lost", [](const SweepFigures& f) { return f.results.MR; }, true},
    {"crystalRoidsLost", "Crystal roids lost", [](const SweepFigures& f) { return f.results.CR; }, true},
    {"eoniumRoidsLost", "Eonium roids lost", [](const SweepFigures& f) { return f.results.ER; }, true},
    {"roidsLost", "Roids lost", [](const SweepFigures& f) { return f.results.TR; }, true},
    {"initRoidsCaptured", "Init. roids captured", [](const SweepFigures& f) { return f.results.TIR; }, true},
    {"attackerChangePerInitRoid", "Attacker change per init. roid",
     [](const SweepFigures& f) { return f.results.ALossPerRoid; }},
    {"metalSalvage", "Metal salvage", [](const SweepFigures& f) { return f.results.MSalvage; }},
    {"crystalSalvage", "Crystal salvage", [](const SweepFigures& f) { return f.results.CSalvage; }},
    {"eoniumSalvage", "Eonium salvage", [](const SweepFigures& f) { return f.results.ESalvage; }},
    {"defenderValueLeft", "Defender fleet value left", [](const SweepFigures& f) { return f.defenderValueLeft; }},
    {"attackerValueLeft", "Attacker fleet value left", [](const SweepFigures& f) { return f.attackerValueLeft; }},
}};

bool FigureDefined(int figure, const SweepFigures& figures) {
    return figure != kAttackerPerRoidFigure || figures.results.TIR >= 1;
}

SweepFigures WholeBattleFigures(std::span<const SweepFigures> ticks) {
    assert(!ticks.empty());
    SweepFigures whole;
    ResultFigures& w = whole.results;
    for (const SweepFigures& tick : ticks) {
        const ResultFigures& r = tick.results;
        for (auto [sum, add] : {std::pair{&w.DLoss, r.DLoss}, {&w.ALoss, r.ALoss}, {&w.UR, r.UR},
                                {&w.MR, r.MR}, {&w.CR, r.CR}, {&w.ER, r.ER}, {&w.TR, r.TR},
                                {&w.TIR, r.TIR}, {&w.MSalvage, r.MSalvage},
                                {&w.CSalvage, r.CSalvage}, {&w.ESalvage, r.ESalvage}})
            *sum = SaturatingAdd(*sum, add);
    }
    // As the panel divides one tick's change by its asteroids.
    w.ALossPerRoid = w.TIR < 1 ? 0 : w.ALoss / w.TIR;
    whole.defenderValueLeft = ticks.back().defenderValueLeft;
    whole.attackerValueLeft = ticks.back().attackerValueLeft;
    return whole;
}

ResultsPanel SweepPanel(const SweepFigures& figures, int tick, const NumberLocale& locale) {
    ResultsPanel panel;
    FillResultsPanel(figures.results, locale, panel);
    panel.TickIndicator = TickIndicatorText(tick);
    return panel;
}

}  // namespace kestrin
