#include <gtest/gtest.h>

#include "engine/combat_tables.h"

namespace kestrin {
namespace {

constexpr ShipIndex kHarpy = 0, kCentaur = 3, kChimera = 4, kDrake = 5, kPegasus = 6, kSpider = 12,
                    kAvenger = 20, kVulture = 28, kValaerian = 35, kCorsair = 36, kClipper = 43,
                    kAstroPod = 48, kMesonic = 49, kIon = 53, kDemeter = 7, kMantis = 21;

class DefaultTables : public ::testing::Test {
protected:
    CombatTablesBuild build = BuildCombatTables(DefaultShipCatalogue());
    const CombatTables& t = build.tables;
};

TEST_F(DefaultTables, WorkedKillRates) {
    ASSERT_EQ(build.error, "");
    EXPECT_EQ(t.targetClass[kHarpy][kHarpy], 1);
    EXPECT_EQ(t.killRate[kHarpy][kHarpy], 0.048);  // 5 hits, exact multiple not rounded up
    EXPECT_EQ(t.targetClass[kChimera][kCentaur], 1);
    EXPECT_EQ(t.killRate[kChimera][kCentaur], static_cast<double>(27.0L / 700.0L));  // 25 / 4 -> 7 hits
    EXPECT_EQ(t.targetClass[kSpider][kHarpy], 2);
    EXPECT_EQ(t.killRate[kSpider][kHarpy], 0.35);
    EXPECT_EQ(t.targetClass[kMesonic][kHarpy], 2);
    EXPECT_EQ(t.killRate[kMesonic][kHarpy], 0.27);
}

TEST_F(DefaultTables, ClassesFollowTheLowestNamedSlot) {
    // Chimera: T1 Fr, T2 De, T3 All.
    EXPECT_EQ(t.targetClass[kChimera][kCentaur], 1);  // frigate
    EXPECT_EQ(t.targetClass[kChimera][kPegasus], 2);  // destroyer
    EXPECT_EQ(t.targetClass[kChimera][kHarpy], 3);    // fighter, through All
    EXPECT_EQ(t.targetClass[kChimera][kIon], 3);      // PDS too
    EXPECT_EQ(t.targetClass[kDrake][kPegasus], 1);
}

TEST_F(DefaultTables, StructuresAreOutOfReachOfEmpStealersAndOtherStructures) {
    EXPECT_EQ(t.targetClass[kSpider][kMesonic], 0);  // T1 Co matches, but EMP cannot hold PDS
    EXPECT_EQ(t.killRate[kSpider][kMesonic], 0.0);
    EXPECT_EQ(t.targetClass[kIon][kMesonic], 0);
    EXPECT_EQ(t.targetClass[39][kMesonic], 0);  // Thief
}

TEST_F(DefaultTables, ZeroRatesKeepTheirClass) {
    for (ShipIndex firer : {kAvenger, kClipper, kIon}) {
        EXPECT_EQ(t.targetClass[firer][kCorsair], 3);
        EXPECT_EQ(t.killRate[firer][kCorsair], 0.0);
    }
    EXPECT_EQ(t.targetClass[kValaerian][kCorsair], 2);
    EXPECT_EQ(t.killRate[kValaerian][kCorsair], 0.0);
}

TEST_F(DefaultTables, SpecialTypesFireOnNothingAndRatesNeedAClass) {
    for (ShipIndex special : {kDemeter, kMantis, kVulture, kAstroPod})
        for (ShipIndex target = 0; target < kShipCount; ++target) {
            EXPECT_EQ(t.targetClass[special][target], 0);
            EXPECT_EQ(t.killRate[special][target], 0.0);
        }
    for (ShipIndex a = 0; a < kShipCount; ++a)
        for (ShipIndex b = 0; b < kShipCount; ++b) {
            EXPECT_GE(t.killRate[a][b], 0.0);
            if (t.killRate[a][b] > 0) {
                EXPECT_GT(t.targetClass[a][b], 0);
            }
        }
}

TEST_F(DefaultTables, InitiativeOrderNamesEveryTypeOnce) {
    ASSERT_EQ(t.initiativeOrder.size(), 54u);
    const std::vector<ShipIndex> head(t.initiativeOrder.begin(), t.initiativeOrder.begin() + 7);
    EXPECT_EQ(head, (std::vector<ShipIndex>{12, 14, 16, 17, 23, 19, 13}));
    EXPECT_EQ(t.initiativeOrder[52], kVulture);
    EXPECT_EQ(t.initiativeOrder[53], kMantis);
    EXPECT_EQ(t.units[39].mode, CombatMode::Steal);
    EXPECT_EQ(t.units[kSpider].mode, CombatMode::Emp);
    EXPECT_EQ(t.units[kAstroPod].mode, CombatMode::RoidCapture);
    EXPECT_EQ(t.units[kMesonic].mode, CombatMode::Normal);
}

TEST(CombatTablesBuild, ConversionErrorsStopTheBuildWithTheirMessage) {
    struct Case { ShipIndex type; ShipField field; const char* text; const char* message; };
    const Case cases[] = {
        {kHarpy, ShipField::WpnSpd, "fast", "'fast' is not a valid floating point value"},
        {kHarpy, ShipField::Agility, "1,5", "'1,5' is not a valid floating point value"},
        {kHarpy, ShipField::Armor, "5.0", "'5.0' is not a valid integer value"},
        {kHarpy, ShipField::Power, "0", "Division by zero"},
        {kHarpy, ShipField::Armor, "0", "The kill rate of Harpy on Harpy is not a finite number"},
        {kSpider, ShipField::Power, "x", ""},  // EMP rates never read Power
        {kSpider, ShipField::Guns, "two", "'two' is not a valid integer value"},  // the tick needs them
        {kSpider, ShipField::Eonium, "x", "'x' is not a valid integer value"},    // and the cost
    };
    for (const Case& c : cases) {
        ShipCatalogue catalogue = DefaultShipCatalogue();
        catalogue.ships[c.type][c.field] = c.text;
        EXPECT_EQ(BuildCombatTables(catalogue).error, c.message) << c.text;
    }
}

TEST(CombatTablesBuild, InitiativeGapsHoldZeroAndSharedValuesKeepTheHigherIndex) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    catalogue.ships[kMantis][ShipField::Initiative] = "51";  // shares Demeter's 51; 53 unused
    catalogue.ships[kVulture][ShipField::Initiative] = "052";  // not the plain form: never recorded
    const CombatTables t = BuildCombatTables(catalogue).tables;
    EXPECT_EQ(t.initiativeOrder.size(), 51u + 1);
    EXPECT_EQ(t.initiativeOrder[51], kMantis);
}

TEST(CombatTablesBuild, PaBattleConstantRaisesHitChance) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    catalogue.paBattleConstant = 30;
    EXPECT_EQ(BuildCombatTables(catalogue).tables.killRate[kHarpy][kHarpy],
              static_cast<double>(29.0L / 100 / 5));
}

}  // namespace
}  // namespace kestrin
