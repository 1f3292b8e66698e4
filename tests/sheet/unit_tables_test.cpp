#include "sheet/unit_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace kestrin {
namespace {

const BattleRules& Rules() {
    static const BattleRules rules = MakeBattleRules(DefaultShipCatalogue()).rules;
    return rules;
}

// The text of firing type `firer` against target type `target` in the full table.
const std::string& Cell(const std::vector<std::vector<std::string>>& texts, int firer, int target) {
    return texts[target + 1][firer + 1];
}

TEST(UnitTables, HeadingsAndWorkedValues) {
    const auto texts = UnitTablesTexts(Rules());
    ASSERT_EQ(texts.size(), 55u);
    for (const auto& row : texts) ASSERT_EQ(row.size(), 55u);
    EXPECT_EQ(texts[0][0], "");
    EXPECT_EQ(texts[0][1], "Harpy");
    EXPECT_EQ(texts[54][0], "IonLauncher");
    // 3 guns x 0.048 Harpy killed per shot, at equal cost: 14.4 % of its own cost.
    EXPECT_EQ(Cell(texts, 0, 0), "14.4");
    // Avenger on Corsair: class 3 with a kill rate of 0.
    EXPECT_EQ(Cell(texts, 20, 36), "0.0");
    EXPECT_EQ(UnitTablesCell(Rules(), 0, 0, ','), "14,4");
}

TEST(UnitTables, EmptyExactlyWhereTheFirerHasNoTargetClass) {
    const auto texts = UnitTablesTexts(Rules());
    for (int firer = 0; firer < kShipCount; ++firer)
        for (int target = 0; target < kShipCount; ++target)
            EXPECT_EQ(Cell(texts, firer, target).empty(),
                      Rules().tables.targetClass[firer][target] == 0)
                << firer << " on " << target;
    for (int capturer : {7, 21, 28, 48})  // Demeter, Mantis, Vulture, AstroPod
        for (int target = 0; target < kShipCount; ++target)
            EXPECT_EQ(Cell(texts, capturer, target), "");
    // EMP, stealing and PDS types never fire on PDS.
    for (int firer : {12, 13, 14, 16, 17, 19, 23, 39, 41, 44, 45, 46, 49, 50, 51, 52, 53})
        for (int pds = 49; pds <= 53; ++pds) EXPECT_EQ(Cell(texts, firer, pds), "") << firer;
}

// Three 32-bit costs of 2,000,000,000 add up beyond the 32-bit range; the share is shown
// rounded to four significant digits with one decimal place.
TEST(UnitTables, LargeCostsAreSummedWithoutOverflow) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    for (ShipField field : {ShipField::Metal, ShipField::Crystal, ShipField::Eonium})
        catalogue.ships[1][field] = "2000000000";  // Phoenix, a class 2 target of Harpy
    const BattleRules rules = MakeBattleRules(catalogue).rules;
    const double expected = 6e9 * (3 * rules.tables.killRate[0][1]) / 1250 * 100;
    const std::string text = UnitTablesCell(rules, 0, 1);
    EXPECT_NEAR(std::stod(text), expected, expected * 5e-4);
    EXPECT_EQ(text.substr(text.size() - 2), ".0");
    EXPECT_EQ(text.find_first_not_of("0", 4), text.size() - 2) << text;
}

TEST(UnitTables, FirerWithoutCostShowsADash) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    catalogue.ships[0][ShipField::Metal] = "0";  // Harpy costs nothing
    const BattleRules rules = MakeBattleRules(catalogue).rules;
    EXPECT_EQ(UnitTablesCell(rules, 0, 0), "-");  // 0 / 0
    EXPECT_EQ(UnitTablesCell(rules, 0, 1), "-");  // x / 0
    EXPECT_EQ(UnitTablesCell(rules, 1, 1), UnitTablesCell(Rules(), 1, 1));
}

}  // namespace
}  // namespace kestrin
