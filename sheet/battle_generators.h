#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "engine/battle_rules.h"
#include "sheet/battle_sheet.h"

namespace kestrin {

/// The debug window's generated battles, without the window: random fleets for the random
/// run, and for the ship test run passes of battles of one firing type against random targets
/// of one class. Each call writes one battle (or a pass's start) into the sheet's Ships
/// columns; the caller recalculates and decides when to stop. The rules and the sheet must
/// outlive it.
class BattleGenerators {
public:
    /// Battles a random run recalculates.
    static constexpr int kRandomBattles = 1000;
    /// Battles of one ship test pass at most.
    static constexpr int kBattlesPerPass = 50;

    /// Battles for `sheet`, drawn from the random sequence `seed` starts.
    BattleGenerators(const BattleRules& rules, BattleSheet& sheet, std::uint64_t seed);

    /// A random battle: each side draws a threshold, and the higher it is, the fewer of its
    /// unit types get 0 to 9,999 ships.
    void WriteRandomBattle();

    /// A ship test pass: the traced call (initiative step, firing side, target class) and
    /// the range of firing counts.
    struct ShipPass {
        int step = 0;
        ShipIndex firer = 0;
        Side firing = Side::Defender;
        int targetClass = 1;
        std::int64_t maxFirers = 1;
    };

    /// Starts a pass with the type of initiative step `step`, or with a random step and firing
    /// side when there is none: random counts (0 to 999) for every target type of a random
    /// class, an emptied firing column and one firer. Empty, with the sheet untouched, when
    /// the pass fights no battle: no such step, or a class the catalogue marks "-".
    std::optional<ShipPass> BeginShipPass(std::optional<int> step);

    /// Writes the firing count of the pass's next battle: an even count below twice the
    /// pass's range.
    void WriteShipBattle(const ShipPass& pass);

    /// Why every pass with `step` (or with random steps) would end before its first battle,
    /// or "": left alone, such a run would keep a processor busy and never fight.
    std::string WhyNoShipBattle(std::optional<int> step) const;

private:
    std::int64_t Random(std::int64_t low, std::int64_t high);
    std::int64_t FillTargets(ShipIndex firer, int targetClass, int targetColumn);
    std::int64_t MaxFirers(std::int64_t need, ShipIndex firer) const;

    const BattleRules& rules_;
    BattleSheet& sheet_;
    std::mt19937_64 random_;
};

}  // namespace kestrin
