#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/cli_runner.h"

namespace kestrin::testing {
namespace {

TEST(TablesCommand, PrintsTheTablesOfTheBuiltInStatistics) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "tables" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
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
    const auto missing = folder.Path() / "ShipStatz.ini";  // a typo names no file: none is made
    for (const auto& stats : {badStats, missing}) {
        const ProgramRun run = RunProgram(folder, "tables --stats '" + stats.string() + "'");
        EXPECT_EQ(run.status, 2) << stats;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        if (stats == missing) {
            EXPECT_NE(run.err.find("the statistics file " + stats.string() + " does not exist"), std::string::npos) << run.err;
        } else {  // says what is wrong and that, unlike the desktop program, nothing was computed
            EXPECT_EQ(run.err, "The statistics file " + stats.string() +
                                   " has values the battle rules cannot use, so nothing was computed: "
                                   "Harpy: Power 'strong' is not a valid integer value\n");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(CommandLine, UsageErrorsExitWithTwoAndOneLine) {
    TempFolder folder;
    for (const std::string arguments :
         {"", "frobnicate", "tables --bogus", "calc --ticks 0", "calc --solver fast", "calc --save ''",
          "parse", "parse report", "parse military --fleets home,4", "parse scan --side both"}) {
        const ProgramRun run = RunProgram(folder, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
        EXPECT_TRUE(IsOneLine(run.err)) << arguments << ": " << run.err;
    }
    EXPECT_EQ(RunProgram(folder, "frobnicate").err,
              "Unknown command 'frobnicate': expected calc, parse, tables, solve, sweep or optimise\n");
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

    // A configuration folder that cannot be made: the built-in values, and why, in one line.
    const auto blocked = folder.Path() / "blocked";
    std::filesystem::create_directory(blocked);
    WriteBytes(blocked / ".config", "a file, not a folder");
    const ProgramRun run = RunShell(folder, "env -u XDG_CONFIG_HOME HOME='" + blocked.string() + "' '" +
                                            (bin / "kestrin-cli").string() + "' calc");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(IsOneLine(run.out));
    EXPECT_EQ(run.err, "warning: Unable to write to " + (blocked / ".config" / "Kestrin" / "ShipStats.ini").string() +
                           ", so the built-in statistics were used\n");
}

}  // namespace
}  // namespace kestrin::testing
