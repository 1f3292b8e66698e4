#include "battle_generators.h"

#include <algorithm>
#include <cmath>

#include "engine/number_text.h"
#include "engine/saturating.h"

namespace kestrin {

namespace {

using namespace sheet;

// Caps that keep every written count a 32-bit sheet count (twice the firers) and the sum
// of shots needed far from overflow, whatever kill rates the catalogue gives.
constexpr std::int64_t kMaxFirers = std::int64_t{1} << 30;
constexpr std::int64_t kMaxShotsPerTarget = std::int64_t{1} << 40;

// The statistic naming the firer's target class 1, 2 or 3.
ShipField TargetField(int targetClass) {
    return targetClass == 1 ? ShipField::T1 : targetClass == 2 ? ShipField::T2 : ShipField::T3;
}

// Whether a pass with this firer can come to a battle: a pass ends at once on a target
// class the catalogue marks "-".
bool HasTargetClass(const ShipCatalogue& catalogue, ShipIndex firer) {
    for (int targetClass = 1; targetClass <= 3; ++targetClass)
        if (catalogue.Field(firer, TargetField(targetClass)) != "-") return true;
    return false;
}

}  // namespace

BattleGenerators::BattleGenerators(const BattleRules& rules, BattleSheet& sheet, std::uint64_t seed)
    : rules_(rules), sheet_(sheet), random_(seed) {}

std::int64_t BattleGenerators::Random(std::int64_t low, std::int64_t high) {
    return std::uniform_int_distribution<std::int64_t>(low, high)(random_);
}

void BattleGenerators::WriteRandomBattle() {
    const std::int64_t defender = Random(0, 8);
    const std::int64_t attacker = Random(0, 8);
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        for (auto [col, emptyBelow] : {std::pair{kDefShips, defender}, {kAttShips, attacker}}) {
            const std::int64_t draw = Random(0, 9);
            sheet_.SetCell(col, UnitRow(t), emptyBelow < draw ? CountText(Random(0, 9999)) : std::string());
        }
    }
}

std::optional<BattleGenerators::ShipPass> BattleGenerators::BeginShipPass(std::optional<int> step) {
    const auto& order = rules_.tables.initiativeOrder;
    const auto steps = static_cast<std::int64_t>(order.size());
    if (steps == 0) return std::nullopt;
    ShipPass pass;
    const std::int64_t chosen = step ? *step : Random(0, steps - 1);
    if (chosen < 0 || chosen >= steps) return std::nullopt;
    pass.step = static_cast<int>(chosen);
    pass.firer = order[static_cast<std::size_t>(chosen)];
    // A chosen ship fires from the defender's side at targets in the attacker's column.
    pass.firing = step || Random(0, 99) > 49 ? Side::Defender : Side::Attacker;
    pass.targetClass = static_cast<int>(Random(1, 3));
    // "-" is the catalogue's marker for no class.
    if (rules_.catalogue.Field(pass.firer, TargetField(pass.targetClass)) == "-") return std::nullopt;
    const std::int64_t need = FillTargets(pass.firer, pass.targetClass, ShipsColumn(Other(pass.firing)));
    const int firingColumn = ShipsColumn(pass.firing);
    for (ShipIndex t = 0; t < kShipCount; ++t) sheet_.SetCell(firingColumn, UnitRow(t), "");
    pass.maxFirers = MaxFirers(need, pass.firer);
    sheet_.SetCell(firingColumn, UnitRow(pass.firer), "1");
    return pass;
}

void BattleGenerators::WriteShipBattle(const ShipPass& pass) {
    sheet_.SetCell(ShipsColumn(pass.firing), UnitRow(pass.firer), CountText(2 * Random(0, pass.maxFirers - 1)));
}

std::string BattleGenerators::WhyNoShipBattle(std::optional<int> step) const {
    const auto& order = rules_.tables.initiativeOrder;
    if (!step) {
        for (const ShipIndex firer : order)
            if (HasTargetClass(rules_.catalogue, firer)) return {};
        return "No unit type has a target class (T1, T2 and T3 are all \"-\"): there is no battle to run.";
    }
    if (*step < 0 || *step >= static_cast<int>(order.size())) return "Choose the ship to test first.";
    const ShipIndex firer = order[static_cast<std::size_t>(*step)];
    if (HasTargetClass(rules_.catalogue, firer)) return {};
    return rules_.catalogue.Name(firer) + " has no target class (T1, T2 and T3 are all \"-\"): it can fight no battle.";
}

// Random counts for every target type of the class; returns the shots that would kill
// them all.
std::int64_t BattleGenerators::FillTargets(ShipIndex firer, int targetClass, int targetColumn) {
    std::int64_t need = 0;
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        if (rules_.tables.targetClass[firer][t] != targetClass) {
            sheet_.SetCell(targetColumn, UnitRow(t), "");
            continue;
        }
        const std::int64_t count = Random(0, 999);
        sheet_.SetCell(targetColumn, UnitRow(t), CountText(count));
        const double rate = rules_.tables.killRate[firer][t];
        if (rate > 0)
            need += std::min(SaturatingInt64(Ceil(static_cast<Extended>(count) / rate)), kMaxShotsPerTarget);
    }
    return need;
}

// The count range of a pass: twice a random share of the firers that could kill every
// target, so that about half the battles need the solver's search.
std::int64_t BattleGenerators::MaxFirers(std::int64_t need, ShipIndex firer) const {
    const std::int32_t guns = LenientInt32(rules_.catalogue.Field(firer, ShipField::Guns));
    // A type without guns fires nothing whatever its count; one gun per ship still gives the
    // run a range of counts to try, and no division by zero.
    const std::int64_t gunsPerShip = guns > 0 ? guns : 1;
    return std::min(need / gunsPerShip + 1, kMaxFirers);
}

}  // namespace kestrin
