#include "combat_tables.h"

#include <cmath>

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

// The statistics a kill rate reads, converted strictly once per unit type rather than once
// per pair: a conversion is the costly part of the build.
struct RateFigures {
    std::optional<std::int32_t> armor, power;
    std::optional<long double> wpnSpd, agility, empRes;
};

RateFigures RateFiguresOf(const ShipRecord& record) {
    return {ParseInt32(record[ShipField::Armor]), ParseInt32(record[ShipField::Power]),
            ParseDecimal(record[ShipField::WpnSpd]), ParseDecimal(record[ShipField::Agility]),
            ParseDecimal(record[ShipField::EMPRes])};
}

// A figure that did not convert records the message of its text and reports false.
template <typename T, typename Value>
bool Take(const std::optional<Value>& figure, const ShipRecord& record, ShipField field,
          std::string (*message)(std::string_view), T& out, std::string& error) {
    if (!figure) {
        error = message(record[field]);
        return false;
    }
    out = *figure;
    return true;
}

struct RatePair {
    const ShipRecord& firer;
    const ShipRecord& target;
    const RateFigures& firerFigures;
    const RateFigures& targetFigures;
};

bool KillRateOf(const RatePair& p, int paBattleConstant, double& rate, std::string& error) {
    Extended value = 0;
    if (p.firer[ShipField::ShipType] == "EMP") {
        Extended resist = 0;
        if (!Take(p.targetFigures.empRes, p.target, ShipField::EMPRes, NotAFloatMessage, resist, error))
            return false;
        value = (100 - resist) / 100;
    } else {
        std::int64_t armor = 0, power = 0;
        Extended wpnSpd = 0, agility = 0;
        // In this order, so that the first text that fails names the error.
        if (!Take(p.targetFigures.armor, p.target, ShipField::Armor, NotAnIntegerMessage, armor, error) ||
            !Take(p.firerFigures.power, p.firer, ShipField::Power, NotAnIntegerMessage, power, error) ||
            !Take(p.firerFigures.wpnSpd, p.firer, ShipField::WpnSpd, NotAFloatMessage, wpnSpd, error) ||
            !Take(p.targetFigures.agility, p.target, ShipField::Agility, NotAFloatMessage, agility, error))
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
    // No armour (zero hits) or statistics beyond the double range: such a rate cannot be used.
    if (!std::isfinite(rate)) {
        error = "The kill rate of " + p.firer[ShipField::Name] + " on " + p.target[ShipField::Name] +
                " is not a finite number";
        return false;
    }
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
    std::array<RateFigures, kShipCount> figures;
    for (int i = 0; i < kShipCount; ++i) {
        t.units[i] = FiguresOf(catalogue[i]);
        figures[i] = RateFiguresOf(catalogue[i]);
    }
    for (int a = 0; a < kShipCount; ++a) {
        for (int target = 0; target < kShipCount; ++target) {
            const std::int32_t cls = TargetClassOf(catalogue[a], catalogue[target]);
            t.targetClass[a][target] = cls;
            if (cls == 0) continue;
            const RatePair pair{catalogue[a], catalogue[target], figures[a], figures[target]};
            if (!KillRateOf(pair, catalogue.paBattleConstant, t.killRate[a][target], build.error))
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
