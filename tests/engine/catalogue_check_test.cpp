#include "engine/catalogue_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrin {
namespace {

struct Edit {
    ShipIndex ship;
    ShipField field;
    const char* text;
};

struct CheckCase {
    const char* name;
    std::vector<Edit> edits;             // applied to the default table
    std::vector<std::string> problems;   // exactly, in order
    std::vector<Edit> repairs;           // what the check must change back
};

constexpr ShipIndex kHarpy = 0, kPhoenix = 1, kDemeter = 7, kHydra = 8, kSyren = 9,
                    kDragon = 11, kSpider = 12, kVsharrak = 24;

const std::string kInitiativeReset =
    "Initiative: every unit type uses its built-in value, since each of 0 to 53 must be held "
    "by exactly one";

ShipCatalogue Edited(ShipCatalogue catalogue, const std::vector<Edit>& edits) {
    for (const Edit& edit : edits) catalogue.ships[edit.ship][edit.field] = edit.text;
    return catalogue;
}

const std::string kLongGuns = std::string(45, '7') + std::string(3000, 'x');

TEST(CatalogueCheckTest, ReplacesUnusableValuesAndNamesThem) {
    using F = ShipField;
    const CheckCase cases[] = {
        {"default table", {}, {}, {}},
        {"usable edits kept",
         {{kHarpy, F::Agility, "37.5"}, {kHarpy, F::Fuel, "lots"}, {kHarpy, F::Initiative, "16"},
          {kPhoenix, F::Initiative, "11"}, {kSpider, F::Power, "0"},
          {kDragon, F::T1, "-"}, {kDragon, F::T2, "-"}, {kDragon, F::Power, "0"}},
         {}, {}},
        {"bad integer", {{kHarpy, F::Guns, "abc"}},
         {"Harpy: Guns 'abc' is not a valid integer value"}, {{kHarpy, F::Guns, "3"}}},
        {"integer out of range", {{kHarpy, F::Metal, "2147483648"}},
         {"Harpy: Metal '2147483648' is not a valid integer value"}, {{kHarpy, F::Metal, "1250"}}},
        {"bad decimal", {{kHarpy, F::Agility, "3,5"}},
         {"Harpy: Agility '3,5' is not a valid floating point value"},
         {{kHarpy, F::Agility, "38"}}},
        {"duplicated initiative resets every type",
         {{kHarpy, F::Initiative, "16"}, {kPhoenix, F::Initiative, "11"},
          {kSyren, F::Initiative, "32"}},
         {"Hydra, Syren: Initiative 32 is held by more than one unit type",
          "Initiative 33 is held by no unit type", kInitiativeReset},
         {{kHarpy, F::Initiative, "11"}, {kPhoenix, F::Initiative, "16"},
          {kSyren, F::Initiative, "33"}}},
        {"initiative with leading zero", {{kVsharrak, F::Initiative, "07"}},
         {"VsharrakFighter: Initiative '07' is not a whole number from 0 to 53",
          "Initiative 7 is held by no unit type", kInitiativeReset},
         {{kVsharrak, F::Initiative, "7"}}},
        {"zero power with targets", {{kHarpy, F::Power, "0"}},
         {"Harpy: Power '0' must be above 0 for a unit type that fires"},
         {{kHarpy, F::Power, "1"}}},
        {"bad power is converted once", {{kHydra, F::Power, "x"}},
         {"Hydra: Power 'x' is not a valid integer value"}, {{kHydra, F::Power, "16"}}},
        {"targets given to a type built without power", {{kDemeter, F::T1, "Fi"}},
         {"Demeter: Power '0' must be above 0 for a unit type that fires; reset as well, as its "
          "built-in Power is 0: T1"},
         {{kDemeter, F::T1, "-"}}},
        {"no armour gives infinite kill rates", {{kHarpy, F::Armor, "0"}, {kDragon, F::Armor, "-3"}},
         {"Harpy: Armor '0' must be above 0", "Dragon: Armor '-3' must be above 0"},
         {{kHarpy, F::Armor, "5"}, {kDragon, F::Armor, "500"}}},
        {"beyond the double range", {{kHarpy, F::WpnSpd, "1e4000"}, {kSpider, F::EMPRes, "-1e4000"}},
         {"Harpy: WpnSpd '1e4000' is out of range", "Spider: EMPRes '-1e4000' is out of range"},
         {{kHarpy, F::WpnSpd, "37"}, {kSpider, F::EMPRes, "65"}}},
        {"long value quoted by its start", {{kHarpy, F::Guns, kLongGuns.c_str()}},
         {"Harpy: Guns '" + std::string(40, '7') + "...' is not a valid integer value"},
         {{kHarpy, F::Guns, "3"}}},
        {"shared names reset every name",
         {{kPhoenix, F::Name, "Harpy"}, {kHydra, F::Name, "Beetle"}, {kSyren, F::Name, "Beetle"}, {kDragon, F::Name, "Wyrm"}},
         {"Harpy, Phoenix: Name 'Harpy' is held by more than one unit type",
          "Hydra, Syren, Beetle: Name 'Beetle' is held by more than one unit type",
          "Name: every unit type uses its built-in name, since each must have a name of its own"},
         {{kPhoenix, F::Name, "Phoenix"}, {kHydra, F::Name, "Hydra"}, {kSyren, F::Name, "Syren"},
          {kDragon, F::Name, "Dragon"}}},
        {"EMP type made to destroy", {{kSpider, F::ShipType, "Normal"}},
         {"Spider: Power '0' must be above 0 for a unit type that fires; reset as well, as its "
          "built-in Power is 0: ShipType"},
         {{kSpider, F::ShipType, "EMP"}}},
    };
    for (const CheckCase& c : cases) {
        const ShipCatalogue input = Edited(DefaultShipCatalogue(), c.edits);
        const CatalogueCheck check = CheckShipCatalogue(input);
        EXPECT_EQ(check.problems, c.problems) << c.name;
        const ShipCatalogue expected = Edited(input, c.repairs);
        for (ShipIndex ship = 0; ship < kShipCount; ++ship)
            EXPECT_EQ(check.catalogue[ship].fields, expected[ship].fields)
                << c.name << ", ShipIndex " << ship;
    }
}

TEST(CatalogueCheckTest, MessageListsEveryProblem) {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    catalogue.ships[kHarpy][ShipField::Guns] = "abc";
    catalogue.ships[kDragon][ShipField::EMPRes] = "high";
    EXPECT_EQ(CatalogueProblemsMessage(CheckShipCatalogue(catalogue).problems),
              "The statistics file has values the battle rules cannot use; the built-in values "
              "are used instead:\n"
              "  Harpy: Guns 'abc' is not a valid integer value\n"
              "  Dragon: EMPRes 'high' is not a valid floating point value");
    EXPECT_EQ(CatalogueProblemsMessage({}), "");
}

}  // namespace
}  // namespace kestrin
