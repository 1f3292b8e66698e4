#include "unit_tables.h"

#include <cmath>
#include <cstdint>

#include "engine/extended_math.h"
#include "engine/fixed_format.h"
#include "engine/number_text.h"

namespace kestrin {

namespace {

// Metal + Crystal + Eonium, each read leniently as a 32-bit integer. Summed in 64 bits:
// three 32-bit costs can exceed the 32-bit range together.
std::int64_t UnitCost(const ShipCatalogue& catalogue, ShipIndex ship) {
    return std::int64_t{LenientInt32(catalogue.Field(ship, ShipField::Metal))} +
           LenientInt32(catalogue.Field(ship, ShipField::Crystal)) +
           LenientInt32(catalogue.Field(ship, ShipField::Eonium));
}

}  // namespace

std::string UnitTablesCell(const BattleRules& rules, ShipIndex firer, ShipIndex target,
                           char decimalSeparator) {
    if (rules.tables.targetClass[firer][target] == 0) return {};
    const ShipCatalogue& catalogue = rules.catalogue;
    // Targets one firing unit removes each time it fires.
    const double removed = static_cast<double>(
        static_cast<Extended>(LenientInt32(catalogue.Field(firer, ShipField::Guns))) *
        rules.tables.killRate[firer][target]);
    const auto firerCost = static_cast<Extended>(UnitCost(catalogue, firer));
    const double value = static_cast<double>(
        static_cast<Extended>(UnitCost(catalogue, target)) * removed / firerCost * 100);
    // A firing type that costs nothing has no finite share of its own cost.
    if (!std::isfinite(value)) return "-";
    return FormatFixedRounded(value, 4, 1, decimalSeparator);
}

std::vector<std::vector<std::string>> UnitTablesTexts(const BattleRules& rules,
                                                      char decimalSeparator) {
    std::vector<std::vector<std::string>> texts(kUnitTablesSize,
                                                std::vector<std::string>(kUnitTablesSize));
    for (ShipIndex ship = 0; ship < kShipCount; ++ship) {
        texts[0][ship + 1] = rules.catalogue.Name(ship);
        texts[ship + 1][0] = rules.catalogue.Name(ship);
    }
    for (ShipIndex firer = 0; firer < kShipCount; ++firer)
        for (ShipIndex target = 0; target < kShipCount; ++target)
            texts[target + 1][firer + 1] = UnitTablesCell(rules, firer, target, decimalSeparator);
    return texts;
}

std::string UnitTablesReadout(const BattleRules& rules, int col, int row, char decimalSeparator) {
    if (col < 0 || row < 0 || col >= kUnitTablesSize || row >= kUnitTablesSize || (col == 0 && row == 0)) return {};
    const auto name = [&](int index) { return rules.catalogue.Field(static_cast<ShipIndex>(index - 1), ShipField::Name); };
    if (row == 0) return name(col) + " firing";
    if (col == 0) return name(row) + " as the target";
    const std::string text =
        UnitTablesCell(rules, static_cast<ShipIndex>(col - 1), static_cast<ShipIndex>(row - 1), decimalSeparator);
    if (text.empty()) return name(col) + " cannot fire on " + name(row);
    return name(col) + " firing on " + name(row) + ": " + text + "% of the " + name(col) + "'s cost per firing";
}

}  // namespace kestrin
