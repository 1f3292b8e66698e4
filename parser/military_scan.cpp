#include "military_scan.h"

#include "engine/number_text.h"
#include "ship_names.h"
#include "tokenizer.h"

namespace kestrin {

MilitaryScan ReadMilitaryScan(const std::vector<std::string>& lines, const ShipCatalogue& catalogue) {
    MilitaryScan scan;
    std::array<std::int32_t, kShipCount>* columns[] = {&scan.Home, &scan.Fleet1, &scan.Fleet2, &scan.Fleet3};
    for (const std::string& line : lines) {
        const std::vector<std::string> tokens = TokenizeLine(line);
        if (tokens.empty()) continue;
        // The unit name must open the line.
        const ShipIndex k = MatchShipName(tokens[0], catalogue);
        if (k < 0) continue;
        for (std::size_t c = 0; c < 4 && c + 1 < tokens.size(); ++c)
            (*columns[c])[k] = LenientInt32(tokens[c + 1]);
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
