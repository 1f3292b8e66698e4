#include "engine/ship_stats_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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
