#include "sweep_json.h"

#include "tick_json.h"

namespace kestrin {

Json FiguresJson(const SweepFigures& figures) {
    Json json = Json::object();
    for (const SweepFigureInfo& figure : kSweepFigures) json[figure.key] = figure.value(figures);
    return json;
}

Json TicksJson(const std::vector<SweepFigures>& ticks) {
    Json json = Json::array();
    for (std::size_t t = 0; t < ticks.size(); ++t) {
        const int tick = static_cast<int>(t + 1);
        json.push_back({{"tick", tick},
                        {"panel", PanelJson(PanelTexts(SweepPanel(ticks[t], tick, kCliLocale)))},
                        {"figures", FiguresJson(ticks[t])}});
    }
    return json;
}

}  // namespace kestrin
