#include "fleet_value.h"

#include "engine/number_text.h"
#include "engine/saturating.h"

namespace kestrin {

FleetCosts FleetCosts::From(const ShipCatalogue& catalogue) {
    FleetCosts costs;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        costs.cost[t] = {LenientInt64(catalogue.Field(t, ShipField::Metal)),
                         LenientInt64(catalogue.Field(t, ShipField::Crystal)),
                         LenientInt64(catalogue.Field(t, ShipField::Eonium))};
    }
    return costs;
}

FleetFigures FleetValue(std::span<const std::int32_t, kShipCount> counts, const FleetCosts& costs) {
    std::int64_t units = 0;
    std::array<Int128, 3> sums{};
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        const std::int32_t count = counts[t];
        if (count <= 0) continue;
        units += count;
        for (int r = 0; r < 3; ++r) sums[r] += Int128{count} * costs.cost[t][r];
    }
    FleetFigures figures;
    figures.units = units;
    figures.metal = SaturatingInt64(sums[0]);
    figures.crystal = SaturatingInt64(sums[1]);
    figures.eonium = SaturatingInt64(sums[2]);
    // Each term is at most 2^63 / 10 in magnitude: the sum of three cannot overflow.
    figures.value = figures.metal / 10 + figures.crystal / 10 + figures.eonium / 10;
    return figures;
}

FleetFigures FleetValue(std::span<const std::int32_t, kShipCount> counts, const ShipCatalogue& catalogue) {
    return FleetValue(counts, FleetCosts::From(catalogue));
}

FleetFigures ShownFleetFigures(const FleetFigures& figures) {
    return figures.value != 0 ? figures : FleetFigures{};
}

std::array<std::string, 5> FleetRowTexts(const FleetFigures& figures) {
    // A fleet worth something shows all five figures, a zero among them as "0" (a fleet
    // without Eonium costs still reads "0" there); a worthless one shows none.
    if (figures.value == 0) return {};
    return {std::to_string(figures.units), std::to_string(figures.metal), std::to_string(figures.crystal),
            std::to_string(figures.eonium), std::to_string(figures.value)};
}

void WriteFleetColumn(SheetCells& cells, int col, const FleetFigures& figures) {
    const std::array<std::string, 5> texts = FleetRowTexts(figures);
    for (int k = 0; k < 5; ++k) cells.Set(col, sheet::kTotalUnitsRow + k, texts[k]);
}

void WriteFleetRows(SheetCells& cells, const BattleState& state, const FleetCosts& costs) {
    for (Side side : {Side::Defender, Side::Attacker}) {
        const int s = Idx(side);
        const int first = sheet::ShipsColumn(side);
        WriteFleetColumn(cells, first + 0, FleetValue(state.Ships[s], costs));
        WriteFleetColumn(cells, first + 1, FleetValue(state.Held[s], costs));
        WriteFleetColumn(cells, first + 2, FleetValue(state.Lost[s], costs));
        WriteFleetColumn(cells, first + 3, FleetValue(state.Stole[s], costs));
        WriteFleetColumn(cells, first + 4, FleetValue(state.Left[s], costs));
    }
}

}  // namespace kestrin
