#include "military_scan.h"

#include "engine/number_text.h"
#include "ship_names.h"
#include "tokenizer.h"

namespace kestrin {

MilitaryScan ReadMilitaryScan(TextLines lines, const ShipCatalogue& catalogue, ReportNotes* notes) {
    MilitaryScan scan;
    std::array<std::int32_t, kShipCount>* columns[] = {&scan.Home, &scan.Fleet1, &scan.Fleet2, &scan.Fleet3};
    constexpr const char* kColumnNames[] = {" (Home)", " (Fleet 1)", " (Fleet 2)", " (Fleet 3)"};
    int lineNumber = 0;
    for (std::string_view line : lines) {
        ++lineNumber;
        LineTokens tokens(line);
        std::string_view token;
        if (!tokens.Next(token)) continue;
        // The unit name must open the line.
        const ShipIndex k = MatchShipName(token, catalogue);
        if (k < 0) continue;
        for (std::size_t c = 0; c < 4 && tokens.Next(token); ++c) {
            if (!IsDigitToken(token)) {
                (*columns[c])[k] = LenientInt32(token);
                continue;
            }
            const ReportCount count =
                ReadReportCount(lineNumber, line, token, catalogue.Name(k) + kColumnNames[c], false, false, notes);
            (*columns[c])[k] = static_cast<std::int32_t>(count.value);
            tokens.SkipTo(count.end);
        }
    }
    return scan;
}

std::array<std::int64_t, kShipCount> ChosenFleets(const MilitaryScan& scan, const FleetChoice& choice) {
    std::array<std::int64_t, kShipCount> sum{};
    for (int i = 0; i < kShipCount; ++i) {
        if (choice.home) sum[i] += scan.Home[i];
        if (choice.fleet1) sum[i] += scan.Fleet1[i];
        if (choice.fleet2) sum[i] += scan.Fleet2[i];
        if (choice.fleet3) sum[i] += scan.Fleet3[i];
    }
    return sum;
}

}  // namespace kestrin
