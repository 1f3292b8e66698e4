// Random battles checked against what every tick must respect, whatever the fleets.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "engine/battle_rules.h"
#include "engine/battle_simulation.h"

namespace kestrin {
namespace {

struct RandomBattles {
    std::mt19937_64 rng{20261207};

    std::int32_t Count() {
        switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
            case 0: case 1: return 0;
            case 2: return std::uniform_int_distribution<std::int32_t>(1, 20)(rng);
            case 3: return std::uniform_int_distribution<std::int32_t>(1, 10000)(rng);
            case 4: return std::uniform_int_distribution<std::int32_t>(1, 2000000)(rng);
            default: return std::uniform_int_distribution<std::int32_t>(1, 300)(rng);
        }
    }

    BattleState Next() {
        BattleState s;
        for (int side = 0; side < 2; ++side)
            for (int t = 0; t < kShipCount; ++t) s.Ships[side][t] = Count();
        for (auto& r : s.Roids) r = std::uniform_int_distribution<std::int32_t>(0, 3000)(rng) * (Count() > 0);
        s.DefenderEonium = Count();
        s.DefenderScore = std::uniform_int_distribution<std::int64_t>(0, 1'000'000'000)(rng) * (Count() > 0);
        s.AttackerFleetValue = std::uniform_int_distribution<std::int64_t>(0, 10'000'000'000)(rng);
        return s;
    }
};

// The capture limit worked out directly from the rule.
std::int64_t CaptureLimit(const BattleState& s) {
    long double rate = 0.15;
    if (s.DefenderScore != 0) {
        rate = static_cast<double>(static_cast<long double>(s.DefenderScore) /
                                   (static_cast<long double>(s.AttackerFleetValue) + 1) / 10);
        if (rate > 0.15) rate = 0.15;
    }
    std::int64_t limit = 0;
    for (std::int32_t r : s.Roids) limit += static_cast<std::int64_t>(std::floor(r * static_cast<double>(rate) * 1.0L));
    return limit;
}

void CheckTick(const BattleState& s) {
    for (int side = 0; side < 2; ++side) {
        for (int t = 0; t < kShipCount; ++t) {
            SCOPED_TRACE(::testing::Message() << "side " << side << " type " << t);
            ASSERT_GE(s.Left[side][t], 0);
            ASSERT_GE(s.Lost[side][t], 0);
            ASSERT_GE(s.Held[side][t], 0);
            ASSERT_GE(s.Stole[side][t], 0);
            ASSERT_LE(s.Held[side][t], s.Ships[side][t]);
            // Ships are conserved: the sheet shows Left + Stole, and Ships = Left - Stole + Lost.
            const std::int64_t shownLeft = std::int64_t{s.Left[side][t]} + s.Stole[side][t];
            ASSERT_EQ(s.Ships[side][t], shownLeft - s.Stole[side][t] + s.Lost[side][t]);
            ASSERT_LE(s.Stole[side][t], s.Lost[1 - side][t]);
        }
    }
    std::int64_t captured = 0;
    for (int k = 0; k < kRoidKinds; ++k) {
        ASSERT_GE(s.RoidsCaptured[k], 0);
        ASSERT_LE(s.RoidsCaptured[k], s.Roids[k]);
        if (s.Roids[k] < 7) {
            ASSERT_EQ(s.RoidsCaptured[k], 0);
        }
        captured += s.RoidsCaptured[k];
    }
    ASSERT_LE(captured, CaptureLimit(s));
    ASSERT_GE(s.EoniumCaptured, 0);
    ASSERT_LE(s.EoniumCaptured, std::int64_t{s.DefenderEonium} * 15 / 100);
}

void RunBattles(const ShipCatalogue& catalogue, int count) {
    const BattleRulesLoad load = MakeBattleRules(catalogue);
    SimulationContext context;
    RandomBattles battles;
    for (int i = 0; i < count; ++i) {
        BattleState s = battles.Next();
        s.PrepareTick();
        SimulateTick(s, load.rules, context);
        SCOPED_TRACE(::testing::Message() << "battle " << i);
        ASSERT_NO_FATAL_FAILURE(CheckTick(s));
    }
}

TEST(BattleInvariants, DefaultStatisticsKeepCountsConservedAndCapturesWithinLimits) {
    RunBattles(DefaultShipCatalogue(), 2500);
}

// Edited statistics may give more than one kill per shot, free stealers and Eonium
// capturers; the tick must still never take more ships than a side has.
TEST(BattleInvariants, EditedStatisticsNeverDriveCountsNegative) {
    ShipCatalogue edited = DefaultShipCatalogue();
    for (ShipIndex t : {0, 11, 22, 36, 41, 45}) edited.ships[t][ShipField::WpnSpd] = "900";
    edited.ships[13][ShipField::EMPRes] = "-300";  // Beetle is held at four per shot
    for (ShipField f : {ShipField::Metal, ShipField::Crystal}) edited.ships[39][f] = "0";  // free Thief
    edited.ships[47][ShipField::ShipType] = "Special";  // ManOWar captures Eonium
    for (ShipField f : {ShipField::T1, ShipField::T2, ShipField::T3}) edited.ships[47][f] = "-";
    RunBattles(edited, 800);
}

TEST(BattleInvariants, TicksAreIndependentAndRepeatable) {
    const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    SimulationContext context;
    RandomBattles battles;
    BattleState a = battles.Next();
    a.PrepareTick();
    BattleState b = a;
    SimulateTick(a, load.rules, context);
    SimulateTick(b, load.rules, context);
    EXPECT_EQ(a.Left, b.Left);
    EXPECT_EQ(a.Held, b.Held);
    EXPECT_EQ(a.RoidsCaptured, b.RoidsCaptured);
}

}  // namespace
}  // namespace kestrin
