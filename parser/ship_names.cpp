#include "ship_names.h"

#include "engine/number_text.h"

namespace kestrin {

const std::array<ShipAlias, kShipAliasSlots>& ShipAliases() {
    static constexpr std::array<ShipAlias, kShipAliasSlots> kAliases = {{
        {"UniPOD", "7"},
        {"WidowMaker", "18"},
        {"VsharrackFighter", "24"},
        {"MegaPOD", "21"},
        {"Dreadnought", "35"},
        {"ManoWar", "47"},
        {"Mano'War", "47"},
        {"ManO'War", "47"},
    }};
    return kAliases;
}

ShipIndex MatchShipName(std::string_view token, const ShipCatalogue& catalogue) {
    for (ShipIndex i = kShipCount - 1; i >= 0; --i)
        if (catalogue.Name(i) == token) return i;
    ShipIndex result = -1;
    for (const ShipAlias& slot : ShipAliases()) {
        // Empty slots hold no alias; an empty token cannot name a type through them.
        if (slot.alias.empty() || slot.alias != token) continue;
        result = ParseInt32(slot.shipIndex).value_or(-1);
    }
    return result;
}

}  // namespace kestrin
