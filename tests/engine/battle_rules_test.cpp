#include <gtest/gtest.h>

#include "engine/battle_rules.h"
#include "temp_folder.h"

namespace kestrin {
namespace {

TEST(BattleRules, BrokenStatisticsAreReportedInOneMessageAndReplaced) {
    testing::TempFolder folder;
    const auto path = folder.Path() / "ShipStats.ini";
    testing::WriteBytes(path,
                        "[Harpy]\r\nGuns=many\r\nInitiative=12\r\n"  // 12 is Cutlass's
                        "[Phoenix]\r\nPower=0\r\n");
    const BattleRulesLoad load = LoadBattleRules(path);
    ASSERT_EQ(load.Messages().size(), 1u);
    for (const char* word : {"Harpy", "Guns", "Initiative", "Phoenix", "Power"})
        EXPECT_NE(load.Messages()[0].find(word), std::string::npos) << word;
    EXPECT_EQ(load.rules.catalogue.Field(0, ShipField::Guns), "3");
    EXPECT_EQ(load.rules.tables.initiativeOrder.size(), 54u);
    EXPECT_EQ(load.rules.tables.initiativeOrder[11], 0);  // every type back on its own initiative
    EXPECT_GT(load.rules.tables.killRate[1][1], 0.0);
}

TEST(BattleRules, UnwritableStatisticsFileStillGivesTheBuiltInRules) {
    testing::TempFolder folder;
    testing::WriteBytes(folder.Path() / "file", "");
    const auto path = folder.Path() / "file" / "ShipStats.ini";
    const BattleRulesLoad load = LoadBattleRules(path);
    ASSERT_EQ(load.Messages().size(), 1u);
    EXPECT_EQ(load.Messages()[0], "Unable to write to " + path.string());
    EXPECT_EQ(load.rules.tables.killRate[0][0], 0.048);
}

}  // namespace
}  // namespace kestrin
