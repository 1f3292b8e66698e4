#include "combat_tables.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "extended_math.h"
#include "number_text.h"

namespace kestrin {

namespace {

// What the target class rule reads of a unit type, its texts numbered so that the 2,916
// pairs compare integers: equal numbers are exactly equal texts.
struct ClassFigures {
    int cls = 0;
    std::array<int, 3> targets{};        // T1, T2, T3
    std::array<bool, 3> targetsAll{};    // T1, T2, T3 is "All"
    bool pds = false, holdsOrSteals = false;
};

std::array<ClassFigures, kShipCount> ClassFiguresOf(const ShipCatalogue& catalogue) {
    std::vector<std::string_view> texts;
    const auto number = [&texts](std::string_view text) {
        const auto found = std::find(texts.begin(), texts.end(), text);
        if (found != texts.end()) return int(found - texts.begin());
        texts.push_back(text);
        return int(texts.size()) - 1;
    };
    std::array<ClassFigures, kShipCount> figures;
    for (ShipIndex i = 0; i < kShipCount; ++i) {
        const ShipRecord& record = catalogue[i];
        ClassFigures& f = figures[i];
        f.cls = number(record[ShipField::Class]);
        const ShipField slots[] = {ShipField::T1, ShipField::T2, ShipField::T3};
        for (int k = 0; k < 3; ++k) {
            f.targets[k] = number(record[slots[k]]);
            f.targetsAll[k] = record[slots[k]] == "All";
        }
        const std::string& type = record[ShipField::ShipType];
        f.pds = type == "PDS";
        f.holdsOrSteals = type == "EMP" || type == "Steal";
    }
    return figures;
}

// Steps run from T3 to T1, so a class named in several slots gets the lowest number, and
// "All" in T1 takes every target.
std::int32_t TargetClassOf(const ClassFigures& firer, const ClassFigures& target) {
    std::int32_t result = 0;
    for (int k = 2; k >= 0; --k)
        if (target.cls == firer.targets[k] || firer.targetsAll[k]) result = k + 1;
    // Defence structures cannot be held, stolen, or fired on by other structures.
    if (target.pds && (firer.holdsOrSteals || firer.pds)) result = 0;
    return result;
}

// The statistics a kill rate reads, converted strictly once per unit type rather than once
// per pair: a conversion is the costly part of the build.
struct RateFigures {
    std::optional<std::int32_t> armor, power;
    std::optional<Extended> wpnSpd, agility, empRes;
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

// Guns and the cost a type's statistics give it; false, with the message, when one of them
// is no integer.
bool FiguresOf(const ShipRecord& record, UnitFigures& figures, std::string& error) {
    figures.mode = CombatModeOf(record);
    const auto guns = ParseInt32(record[ShipField::Guns]);
    if (!guns) {
        error = NotAnIntegerMessage(record[ShipField::Guns]);
        return false;
    }
    figures.guns = *guns;
    figures.cost = 0;
    for (ShipField field : {ShipField::Metal, ShipField::Crystal, ShipField::Eonium}) {
        const auto part = ParseInt32(record[field]);
        if (!part) {
            error = NotAnIntegerMessage(record[field]);
            return false;
        }
        figures.cost += *part;
    }
    return true;
}

}  // namespace

std::optional<int> InitiativeSlot(std::string_view text) {
    if (text.empty() || text.size() > 2 || (text.size() == 2 && text[0] == '0')) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value >= kShipCount) return std::nullopt;
    return value;
}

CombatMode CombatModeOf(const ShipRecord& record) {
    const std::string& type = record[ShipField::ShipType];
    if (type == "Special") return record[ShipField::Race] == "Zik" ? CombatMode::EoniumCapture
                                                                    : CombatMode::RoidCapture;
    if (type == "Steal") return CombatMode::Steal;
    if (type == "EMP") return CombatMode::Emp;
    return CombatMode::Normal;
}

// Lists each firer's targets class by class, so that a firing visits only its own class.
void OrderTargetsByClass(CombatTables& t) {
    for (int a = 0; a < kShipCount; ++a) {
        int next = 0;
        for (int cls = 1; cls <= 3; ++cls) {
            t.classStart[a][cls - 1] = static_cast<std::uint8_t>(next);
            for (ShipIndex target = 0; target < kShipCount; ++target)
                if (t.targetClass[a][target] == cls) t.targetsByClass[a][next++] = target;
        }
        t.classStart[a][3] = static_cast<std::uint8_t>(next);
    }
}

CombatTablesBuild BuildCombatTables(const ShipCatalogue& catalogue) {
    CombatTablesBuild build;
    CombatTables& t = build.tables;
    std::array<RateFigures, kShipCount> figures;
    for (int i = 0; i < kShipCount; ++i) {
        if (!FiguresOf(catalogue[i], t.units[i], build.error)) return build;
        figures[i] = RateFiguresOf(catalogue[i]);
    }
    const std::array<ClassFigures, kShipCount> classes = ClassFiguresOf(catalogue);
    for (int a = 0; a < kShipCount; ++a)
        for (int target = 0; target < kShipCount; ++target)
            t.targetClass[a][target] = TargetClassOf(classes[a], classes[target]);
    OrderTargetsByClass(t);
    for (int a = 0; a < kShipCount; ++a) {
        for (int target = 0; target < kShipCount; ++target) {
            if (t.targetClass[a][target] == 0) continue;
            const RatePair pair{catalogue[a], catalogue[target], figures[a], figures[target]};
            if (!KillRateOf(pair, catalogue.paBattleConstant, t.killRate[a][target], build.error))
                return build;
        }
    }
    // Slot v holds the type whose Initiative is v; of types sharing a value the higher
    // index, and the order ends at the highest value held.
    std::array<ShipIndex, kShipCount> holder;
    holder.fill(-1);
    for (ShipIndex c = 0; c < kShipCount; ++c)
        if (const std::optional<int> v = InitiativeSlot(catalogue[c][ShipField::Initiative])) holder[*v] = c;
    for (int v = kShipCount - 1; v >= 0; --v) {
        if (holder[v] < 0) continue;
        t.initiativeOrder.assign(v + 1, 0);
        for (int u = 0; u <= v; ++u) t.initiativeOrder[u] = std::max(holder[u], 0);
        break;
    }
    return build;
}

}  // namespace kestrin
