#include "cli_output.h"

#include <ostream>

namespace kestrin {

std::string DumpJson(const Json& value) {
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string OneLine(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') {
            line += text[i];
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == '\n' || text[i + 1] == '\r' ||
                                       text[i + 1] == ' ' || text[i + 1] == '\t'))
            ++i;
        line += "; ";
    }
    return line;
}

int ReportError(std::ostream& err, std::string_view message, int status) {
    err << OneLine(message) << '\n';
    err.flush();
    return status;
}

void ReportWarning(std::ostream& err, std::string_view message) {
    err << kWarningPrefix << OneLine(message) << '\n';
    err.flush();
}

int WriteOutput(std::ostream& out, std::ostream& err, const std::string& text) {
    out << text;
    out.flush();
    if (!out) return ReportError(err, "Unable to write the output", kExitFailure);
    return kExitOk;
}

}  // namespace kestrin
