#include "panel_entries.h"

namespace kestrin {

std::vector<PanelEntry> PanelEntries(const ResultsPanel& p) {
    const auto figure = [](std::string_view key, const std::string& text, const std::string& full) {
        return PanelEntry{key, text, full, false};
    };
    const auto label = [](std::string_view key, const std::string& text) { return PanelEntry{key, text, {}, true}; };
    return {figure("DLoss", p.DLoss, p.DLoss),
            figure("ALoss", p.ALoss, p.ALoss),
            figure("UR", p.UR, p.UR),
            figure("MR", p.MR, p.MR),
            figure("CR", p.CR, p.CR),
            figure("ER", p.ER, p.ER),
            figure("TR", p.TR, p.TR),
            figure("TIR", p.TIR, p.TIR),
            figure("ALossPerRoid", p.ALossPerRoid, p.ALossPerRoidFull),
            figure("MSalvage", p.MSalvage, p.MSalvageFull),
            figure("CSalvage", p.CSalvage, p.CSalvageFull),
            figure("ESalvage", p.ESalvage, p.ESalvageFull),
            label("DefLossGainLbl", p.DefLossGainLbl),
            label("AttLossGainLbl", p.AttLossGainLbl),
            label("RoidLossGainLbl", p.RoidLossGainLbl),
            figure("TickIndicator", p.TickIndicator, p.TickIndicator)};
}

std::map<std::string, std::string> PanelTexts(const ResultsPanel& panel) {
    std::map<std::string, std::string> texts;
    for (PanelEntry& entry : PanelEntries(panel)) texts.emplace(entry.key, std::move(entry.text));
    return texts;
}

}  // namespace kestrin
