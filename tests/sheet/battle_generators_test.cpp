// The debug window's generated battles without the window: what each call writes, and that a
// seed repeats its battles.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/number_text.h"
#include "sheet/battle_generators.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// Every input cell of a column is empty or a count from 0 to `most`.
void ExpectCountsUpTo(const BattleSheet& s, int col, std::int32_t most) {
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        const std::string& text = s.Cell(col, UnitRow(t));
        EXPECT_TRUE(text.empty() || (ParseInt32(text) && *ParseInt32(text) >= 0 && *ParseInt32(text) <= most)) << text;
    }
}

TEST(BattleGenerators, RandomBattlesFillBothSidesAndASeedRepeatsThem) {
    SheetFixture a, b;
    BattleGenerators first(DefaultRules(), a.sheet, 7), second(DefaultRules(), b.sheet, 7);
    bool someShips = false;
    for (int battle = 0; battle < 20; ++battle) {
        first.WriteRandomBattle();
        second.WriteRandomBattle();
        ASSERT_EQ(a.sheet.Cells(), b.sheet.Cells());
        for (int col : {kDefShips, kAttShips}) ExpectCountsUpTo(a.sheet, col, 9999);
        for (ShipIndex t = 0; t < kShipCount; ++t) someShips |= !a.sheet.Cell(kDefShips, UnitRow(t)).empty();
    }
    EXPECT_TRUE(someShips);
}

TEST(BattleGenerators, AShipPassFiresOneTypeAtOneClassFromTheDefendersSide) {
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kPhoenix), 5);  // the player's battle goes
    BattleGenerators generators(DefaultRules(), f.sheet, 11);
    const auto& order = DefaultRules().tables.initiativeOrder;
    const int step = static_cast<int>(std::find(order.begin(), order.end(), kHarpy) - order.begin());
    std::optional<BattleGenerators::ShipPass> pass;
    while (!pass) pass = generators.BeginShipPass(step);  // a class marked "-" fights no battle
    EXPECT_EQ(pass->firer, kHarpy);
    EXPECT_EQ(pass->firing, Side::Defender);
    for (ShipIndex t = 0; t < kShipCount; ++t) {
        EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(t)), t == kHarpy ? "1" : "");
        const bool target = DefaultRules().tables.targetClass[kHarpy][t] == pass->targetClass;
        if (!target) {
            EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(t)), "") << t;
        }
    }
    ExpectCountsUpTo(f.sheet, kAttShips, 999);
    for (int battle = 0; battle < BattleGenerators::kBattlesPerPass; ++battle) {
        generators.WriteShipBattle(*pass);
        const std::int64_t firers = LenientInt64(f.sheet.Cell(kDefShips, UnitRow(kHarpy)));
        EXPECT_TRUE(firers >= 0 && firers % 2 == 0 && firers < 2 * pass->maxFirers) << firers;
    }
}

TEST(BattleGenerators, ATypeWithoutTargetClassesIsSaidToFightNoBattle) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    for (ShipField field : {ShipField::T1, ShipField::T2, ShipField::T3}) catalogue.ships[kHarpy][field] = "-";
    const BattleRules rules = MakeBattleRules(catalogue).rules;
    SheetFixture f(rules);
    BattleGenerators generators(rules, f.sheet, 3);
    const auto& order = rules.tables.initiativeOrder;
    const int step = static_cast<int>(std::find(order.begin(), order.end(), kHarpy) - order.begin());
    EXPECT_EQ(generators.WhyNoShipBattle(step),
              "Harpy has no target class (T1, T2 and T3 are all \"-\"): it can fight no battle.");
    EXPECT_FALSE(generators.BeginShipPass(step));
    EXPECT_EQ(generators.WhyNoShipBattle(std::nullopt), "");  // other types have targets
    EXPECT_EQ(generators.WhyNoShipBattle(kShipCount), "Choose the ship to test first.");
}

}  // namespace
}  // namespace kestrin
