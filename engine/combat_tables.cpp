#include "combat_tables.h"

#include "extended_math.h"
#include "number_text.h"

namespace kestrin {

namespace {

// Steps run from T3 to T1, so a class named in several slots gets the lowest number, and
// "All" in T1 takes every target.
std::int32_t TargetClassOf(const ShipRecord& firer, const ShipRecord& target) {
    const std::string& cls = target[ShipField::Class];
    std::int32_t result = 0;
    if (cls == firer[ShipField::T3] || firer[ShipField::T3] == "All") result = 3;
    if (cls == firer[ShipField::T2] || firer[ShipField::T2] == "All") result = 2;
    if (cls == firer[ShipField::T1] || firer[ShipField::T1] == "All") result = 1;
    // Defence structures cannot be held, stolen, or fired on by other structures.
    const std::string& firerType = firer[ShipField::ShipType];
    if (target[ShipField::ShipType] == "PDS" &&
        (firerType == "EMP" || firerType == "PDS" || firerType == "Steal"))
        result = 0;
    return result;
}

// Converts strictly; on failure records the message and reports false.
template <typename T, typename Parse>
bool Convert(const std::string& text, Parse parse, std::string (*message)(std::string_view),
             T& out, std::string& error) {
    const auto value = parse(text);
    if (!value) {
        error = message(text);
        return false;
    }
    out = *value;
    return true;
}

bool KillRateOf(const ShipRecord& firer, const ShipRecord& target, int paBattleConstant,
                double& rate, std::string& error) {
    Extended value = 0;
    if (firer[ShipField::ShipType] == "EMP") {
        Extended resist = 0;
        if (!Convert(target[ShipField::EMPRes], ParseDecimal, NotAFloatMessage, resist, error)) return false;
        value = (100 - resist) / 100;
    } else {
        std::int64_t armor = 0, power = 0;
        Extended wpnSpd = 0, agility = 0;
        if (!Convert(target[ShipField::Armor], ParseInt32, NotAnIntegerMessage, armor, error) ||
            !Convert(firer[ShipField::Power], ParseInt32, NotAnIntegerMessage, power, error) ||
            !Convert(firer[ShipField::WpnSpd], ParseDecimal, NotAFloatMessage, wpnSpd, error) ||
            !Convert(target[ShipField::Agility], ParseDecimal, NotAFloatMessage, agility, error))
            return false;
        if (power == 0) {
            error = "Division by zero";
            return false;
        }
        // Hits needed per target: armour over power, rounded up.
        const std::int64_t hits = armor / power + (armor % power != 0 ? 1 : 0);
        value = ((wpnSpd + paBattleConstant) - agility) / 100 / hits;
    }
    rate = static_cast<double>(value);
    if (rate < 0) rate = 0.0;
    return true;
}

UnitFigures FiguresOf(const ShipRecord& record) {
    UnitFigures figures;
    figures.mode = CombatModeOf(record);
    figures.guns = ParseInt32(record[ShipField::Guns]);
    std::int64_t cost = 0;
    for (ShipField field : {ShipField::Metal, ShipField::Crystal, ShipField::Eonium}) {
        const auto part = ParseInt32(record[field]);
        if (!part) return figures;
        cost += *part;
    }
    figures.cost = cost;
    return figures;
}

}  // namespace

CombatMode CombatModeOf(const ShipRecord& record) {
    const std::string& type = record[ShipField::ShipType];
    if (type == "Special") return record[ShipField::Race] == "Zik" ? CombatMode::EoniumCapture
                                                                    : CombatMode::RoidCapture;
    if (type == "Steal") return CombatMode::Steal;
    if (type == "EMP") return CombatMode::Emp;
    return CombatMode::Normal;
}

CombatTablesBuild BuildCombatTables(const ShipCatalogue& catalogue) {
    CombatTablesBuild build;
    CombatTables& t = build.tables;
    for (int i = 0; i < kShipCount; ++i) t.units[i] = FiguresOf(catalogue[i]);
    for (int a = 0; a < kShipCount; ++a) {
        for (int target = 0; target < kShipCount; ++target) {
            const std::int32_t cls = TargetClassOf(catalogue[a], catalogue[target]);
            t.targetClass[a][target] = cls;
            if (cls == 0) continue;
            if (!KillRateOf(catalogue[a], catalogue[target], catalogue.paBattleConstant,
                            t.killRate[a][target], build.error))
                return build;
        }
    }
    for (int v = 0; v < kShipCount; ++v) {
        const std::string text = std::to_string(v);
        for (int c = 0; c < kShipCount; ++c) {
            if (catalogue[c][ShipField::Initiative] != text) continue;
            t.initiativeOrder.resize(v + 1, 0);
            t.initiativeOrder[v] = c;
        }
    }
    return build;
}

}  // namespace kestrin
