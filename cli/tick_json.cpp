#include "tick_json.h"

namespace kestrin {

namespace {

// Exactly 66 rows of 12 texts, whatever shape the caller's table has.
Json CellRows(const std::vector<std::vector<std::string>>& cells) {
    Json rows = Json::array();
    for (std::size_t row = 0; row < kTickRows; ++row) {
        Json texts = Json::array();
        for (std::size_t column = 0; column < kTickColumns; ++column) {
            const bool present = row < cells.size() && column < cells[row].size();
            texts.push_back(present ? cells[row][column] : std::string());
        }
        rows.push_back(std::move(texts));
    }
    return rows;
}

}  // namespace

std::map<std::string, std::string> PanelTexts(const ResultsPanel& p) {
    return {{"DLoss", p.DLoss}, {"ALoss", p.ALoss}, {"UR", p.UR}, {"MR", p.MR}, {"CR", p.CR},
            {"ER", p.ER}, {"TR", p.TR}, {"TIR", p.TIR}, {"ALossPerRoid", p.ALossPerRoid},
            {"MSalvage", p.MSalvage}, {"CSalvage", p.CSalvage}, {"ESalvage", p.ESalvage},
            {"DefLossGainLbl", p.DefLossGainLbl}, {"AttLossGainLbl", p.AttLossGainLbl},
            {"RoidLossGainLbl", p.RoidLossGainLbl}, {"TickIndicator", p.TickIndicator}};
}

Json PanelJson(const std::map<std::string, std::string>& panel) {
    Json texts = Json::object();
    for (const char* key : kPanelKeys) {
        const auto found = panel.find(key);
        texts[key] = found != panel.end() ? found->second : std::string();
    }
    return texts;
}

Json TickJson(const TickReport& report) {
    Json tick = Json::object();
    tick["tick"] = report.tick;
    tick["reportView"] = report.reportView;
    tick["cells"] = CellRows(report.cells);
    tick["panel"] = PanelJson(report.panel);
    tick["bailouts"] = report.bailouts;
    if (report.log) tick["log"] = *report.log;
    return tick;
}

std::string TickJsonLine(const TickReport& report) { return DumpJson(TickJson(report)) + "\n"; }

}  // namespace kestrin
