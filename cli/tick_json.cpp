#include "tick_json.h"

#include <algorithm>
#include <string_view>

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

namespace {

// A text as a JSON string. Printable ASCII without quote or backslash, nearly every text of a
// sheet, is written as it stands; any other goes through the library, which escapes it and
// replaces bytes that are not UTF-8.
void AppendString(std::string& out, std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c <= 0x7E && c != '"' && c != '\\';
    });
    if (!plain) {
        out += DumpJson(Json(std::string(text)));
        return;
    }
    out += '"';
    out += text;
    out += '"';
}

void AppendStrings(std::string& out, const std::vector<std::string>* texts, std::size_t count) {
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out += ',';
        AppendString(out, texts != nullptr && i < texts->size() ? std::string_view((*texts)[i]) : std::string_view());
    }
    out += ']';
}

}  // namespace

// Written directly rather than built as a Json value and dumped: printing the sheet was the
// largest part of a short command's time. The text is exactly DumpJson(TickJson(report)).
std::string TickJsonLine(const TickReport& report) {
    std::string out;
    out.reserve(4096);
    out += "{\"tick\":" + std::to_string(report.tick);
    out += report.reportView ? ",\"reportView\":true" : ",\"reportView\":false";
    out += ",\"cells\":[";
    for (std::size_t row = 0; row < kTickRows; ++row) {
        if (row > 0) out += ',';
        AppendStrings(out, row < report.cells.size() ? &report.cells[row] : nullptr, kTickColumns);
    }
    out += "],\"panel\":{";
    // By position: whether two equal literals share one address is up to the compiler (they
    // do not under AddressSanitizer).
    for (std::size_t k = 0; k < kPanelKeys.size(); ++k) {
        const char* key = kPanelKeys[k];
        if (k > 0) out += ',';
        AppendString(out, key);
        out += ':';
        const auto found = report.panel.find(key);
        AppendString(out, found != report.panel.end() ? std::string_view(found->second) : std::string_view());
    }
    out += "},\"bailouts\":" + std::to_string(report.bailouts);
    if (report.log) {
        out += ",\"log\":";
        AppendStrings(out, &*report.log, report.log->size());
    }
    out += "}\n";
    return out;
}

}  // namespace kestrin
