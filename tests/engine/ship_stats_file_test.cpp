#include "engine/ship_stats_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/battle_rules.h"
#include "engine/ini_file.h"
#include "temp_folder.h"

namespace kestrin {
namespace {

using testing::ReadBytes;
using testing::TempFolder;
using testing::WriteBytes;

void ExpectCatalogue(const ShipCatalogue& actual, const ShipCatalogue& expected) {
    EXPECT_EQ(actual.paBattleConstant, expected.paBattleConstant);
    for (ShipIndex ship = 0; ship < kShipCount; ++ship)
        EXPECT_EQ(actual[ship].fields, expected[ship].fields) << "ShipIndex " << ship;
}

TEST(ShipStatsFileTest, MissingFileIsWrittenWithDefaultsAndReadBack) {
    TempFolder folder;
    const auto path = ShipStatsPath(folder.Path());
    const ShipStatsLoad load = LoadShipStats(path);
    EXPECT_EQ(load.error, "");
    EXPECT_EQ(load.notes, std::vector<std::string>{});
    ExpectCatalogue(load.catalogue, DefaultShipCatalogue());

    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.rfind("[General]\r\nPaBattleConstant=25\r\n[Harpy]\r\nName=Harpy\r\n"
                         "Race=Ter\r\n", 0), 0u);
    std::istringstream lines(text);
    int sections = 0, entries = 0;
    for (std::string line; std::getline(lines, line);) {
        sections += line.front() == '[';
        entries += line.find('=') != std::string::npos;
    }
    EXPECT_EQ(sections, 55);
    EXPECT_EQ(entries, 1027);
    EXPECT_NE(text.find("[IonLauncher]\r\nName=IonLauncher\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 14), "ShipType=PDS\r\n");
}

struct FileCase {
    const char* name;
    const char* text;
    int paBattleConstant;
    std::vector<std::pair<ShipField, const char*>> harpy;  // Harpy's texts unlike the defaults
};

TEST(ShipStatsFileTest, ExistingFileOverridesDefaultsAndIsNotWritten) {
    const FileCase cases[] = {
        {"only the constant", "[General]\r\nPaBattleConstant=30\r\n", 30, {}},
        {"constant of letters", "[General]\nPaBattleConstant=abc\n", 25, {}},
        {"section in lower case", "[harpy]\nguns=9\n", 25, {{ShipField::Guns, "9"}}},
        {"value stored unchecked", "[Harpy]\nPower=lots\n", 25, {{ShipField::Power, "lots"}}},
        {"first of a key wins, repeated sections count as one",
         "Guns=5\n[Harpy]\nGuns=9\n[General]\nPaBattleConstant=30\npabattleconstant=31\n"
         "[HARPY]\nguns=7\nPower=4\n",
         30, {{ShipField::Guns, "9"}, {ShipField::Power, "4"}}},
        {"renamed type keeps its section",
         "[Harpy]\nName=Star Harpy\n[Star Harpy]\nGuns=99\n", 25,
         {{ShipField::Name, "Star Harpy"}}},
    };
    for (const FileCase& c : cases) {
        TempFolder folder;
        const auto path = ShipStatsPath(folder.Path());
        WriteBytes(path, c.text);
        const ShipStatsLoad load = LoadShipStats(path);
        EXPECT_EQ(load.error, "") << c.name;
        ShipCatalogue expected = DefaultShipCatalogue();
        expected.paBattleConstant = c.paBattleConstant;
        for (const auto& [field, value] : c.harpy) expected.ships[0][field] = value;
        ExpectCatalogue(load.catalogue, expected);
        ExpectCatalogue(ReadShipStats(IniFile::Parse(c.text)), expected);  // parsed first: the same
        EXPECT_EQ(ReadBytes(path), c.text) << c.name;
    }
}

// The file's own rule stands (built-in values for what it lacks or cannot read), and each
// such value is told, also through the rules' start-up messages.
TEST(ShipStatsFileTest, WhatTheFileLacksOrCannotReadIsToldAndTheBuiltInValuesUsed) {
    TempFolder folder;
    const auto path = ShipStatsPath(folder.Path());
    ASSERT_EQ(WriteDefaultShipStats(path), "");
    const std::string full = ReadBytes(path);
    const std::string& last = DefaultShipCatalogue().Name(kShipCount - 1);
    const std::string& before = DefaultShipCatalogue().Name(kShipCount - 2);
    const std::string cutSection = "[" + before + "]\r\nName=" + before + "\r\n";
    std::string badConstant = full;
    badConstant.replace(badConstant.find("=25"), 3, "=30x");
    const struct {
        std::string text;
        std::vector<std::string> notes;
    } cases[] = {
        {badConstant, {"[General] PaBattleConstant '30x' is not a whole number: 25 is used"}},
        {"", {"it holds no statistics: every value is the built-in one"}},
        {"[General]\r\nPaBattleConstant=30\r\n",
         {"it holds no unit type's section: every unit type has its built-in statistics"}},
        {full.substr(0, full.find(cutSection) + cutSection.size()),
         {"[" + before + "] lacks Race, Class, T1, T2, T3, Initiative, Agility, WpnSpd, Guns, Power, Armor, "
          "EMPRes, Metal, Crystal, Eonium, Fuel, ETA, ShipType: the built-in values are used",
          "the section [" + last + "] is missing: its built-in statistics are used"}},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.text);
        const ShipStatsLoad load = LoadShipStats(path);
        EXPECT_EQ(load.notes, c.notes);
        ShipCatalogue expected = DefaultShipCatalogue();
        expected.paBattleConstant = c.text.starts_with("[General]\r\nPaBattleConstant=30\r\n") ? 30 : 25;
        ExpectCatalogue(load.catalogue, expected);
        EXPECT_EQ(ReadBytes(path), c.text);
    }
    WriteBytes(path, badConstant);
    const std::vector<std::string> messages = LoadBattleRules(path).Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("PaBattleConstant '30x' is not a whole number"), std::string::npos) << messages[0];
}

TEST(ShipStatsFileTest, UnwritableFolderGivesErrorAndDefaults) {
    TempFolder folder;
    // A regular file as the parent folder: not even root can create the file there.
    WriteBytes(folder.Path() / "file.txt", "");
    const auto path = folder.Path() / "file.txt" / "ShipStats.ini";
    const ShipStatsLoad load = LoadShipStats(path);
    EXPECT_EQ(load.error, "Unable to write to " + path.string());
    ExpectCatalogue(load.catalogue, DefaultShipCatalogue());
}

}  // namespace
}  // namespace kestrin
