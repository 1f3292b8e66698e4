#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"

namespace kestrin::testing {
namespace {

TEST(TablesCommand, PrintsTheTablesOfANewStatisticsFile) {
    TempFolder folder;
    const auto stats = folder.Path() / "ShipStats.ini";
    const ProgramRun run = RunProgram(folder, "tables --stats '" + stats.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(std::filesystem::exists(stats));  // written with the built-in table
    ASSERT_TRUE(IsOneLine(run.out));
    const auto tables = nlohmann::ordered_json::parse(run.out);
    std::vector<std::string> keys;
    for (const auto& item : tables.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"paBattleConstant", "initiativeOrder", "targetClass",
                                              "killRate", "unitTables"}));
    EXPECT_EQ(tables["paBattleConstant"], 25);
    ASSERT_EQ(tables["initiativeOrder"].size(), 54u);
    EXPECT_EQ(tables["initiativeOrder"][0], 12);
    EXPECT_EQ(tables["initiativeOrder"][1], 14);
    EXPECT_EQ(tables["initiativeOrder"][2], 16);
    for (const char* key : {"targetClass", "killRate"}) {
        ASSERT_EQ(tables[key].size(), 54u) << key;
        for (const auto& row : tables[key]) EXPECT_EQ(row.size(), 54u) << key;
    }
    EXPECT_EQ(tables["killRate"][0][0].get<double>(), 0.048);  // Harpy on Harpy
    EXPECT_EQ(tables["targetClass"][0][1], 2);                 // Harpy: Co is its T2
    ASSERT_EQ(tables["unitTables"].size(), 55u);
    EXPECT_EQ(tables["unitTables"][1][1], "14.4");
    EXPECT_EQ(tables["unitTables"][0][1], "Harpy");
}

TEST(TablesCommand, ReadsAnExistingStatisticsFile) {
    TempFolder folder;
    const auto stats = folder.Path() / "ShipStats.ini";
    WriteBytes(stats, "[General]\nPaBattleConstant=30\n[Harpy]\nName=Sky Harpy\n");
    const ProgramRun run = RunProgram(folder, "tables --stats '" + stats.string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto tables = nlohmann::json::parse(run.out);
    EXPECT_EQ(tables["paBattleConstant"], 30);
    EXPECT_EQ(tables["unitTables"][0][1], "Sky Harpy");
    EXPECT_EQ(ReadBytes(stats), "[General]\nPaBattleConstant=30\n[Harpy]\nName=Sky Harpy\n");
}

TEST(TablesCommand, StatisticsProblemsAreErrorsWithoutOutput) {
    TempFolder folder;
    const auto badStats = folder.Path() / "ShipStats.ini";
    WriteBytes(badStats, "[Harpy]\nPower=strong\n");
    const auto unwritable = folder.Path() / "missing" / "ShipStats.ini";
    for (const auto& stats : {badStats, unwritable}) {
        const ProgramRun run = RunProgram(folder, "tables --stats '" + stats.string() + "'");
        EXPECT_EQ(run.status, 2) << stats;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        if (stats == unwritable) {
            EXPECT_EQ(run.err, "Unable to write to " + stats.string() + "\n");
        } else {  // says what is wrong and that, unlike the desktop program, nothing was computed
            EXPECT_EQ(run.err, "The statistics file " + stats.string() +
                                   " has values the battle rules cannot use, so nothing was computed: "
                                   "Harpy: Power 'strong' is not a valid integer value\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(unwritable));
}

TEST(CommandLine, UsageErrorsExitWithTwoAndOneLine) {
    TempFolder folder;
    for (const std::string arguments :
         {"", "frobnicate", "tables --bogus", "calc --ticks 0", "calc --solver fast",
          "parse", "parse report", "parse military --fleets home,4", "parse scan --side both"}) {
        const ProgramRun run = RunProgram(folder, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_TRUE(IsOneLine(run.err)) << arguments << ": " << run.err;
    }
    EXPECT_EQ(folder.Count(), 0);
}

TEST(CommandLine, VersionIsTheProjectsOwn) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "--version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "kestrin-cli " KESTRIN_VERSION "\n");
    EXPECT_EQ(folder.Count(), 0);
}

// A copy in an installed layout (bin/ beside share/applications/ with the desktop entry)
// keeps its default statistics file in the user's configuration folder.
TEST(CommandLine, InstalledCopyKeepsItsStatisticsInTheUsersConfiguration) {
    TempFolder folder;
    const auto bin = folder.Path() / "usr" / "bin";
    const auto entry = folder.Path() / "usr" / "share" / "applications" / KESTRIN_APP_ID ".desktop";
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(entry.parent_path());
    WriteBytes(entry, "[Desktop Entry]\n");
    std::filesystem::copy_file(KESTRIN_CLI_PATH, bin / "kestrin-cli");
    const auto home = folder.Path() / "home";
    const std::string command = "cd '" + folder.Path().string() + "' && env -u XDG_CONFIG_HOME HOME='" +
                                home.string() + "' '" + (bin / "kestrin-cli").string() + "' tables > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(std::filesystem::exists(home / ".config" / "Kestrin" / "ShipStats.ini"));
    EXPECT_FALSE(std::filesystem::exists(bin / "ShipStats.ini"));
}

}  // namespace
}  // namespace kestrin::testing
