// kestrin-cli optimise end to end: its answer against calc, its output shape, its refusals.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_runner.h"

namespace kestrin::testing {
namespace {

using nlohmann::json;

std::string Raid() { return std::string(" '") + KESTRIN_EXAMPLES_DIR + "/raid.kbf'"; }

// The raid's pods (default bound: the 120 on the grid) and Centaurs up to 300: a space of
// 121 x 301 fleets, tried whole. The fleet's ticks are what calc prints for it.
TEST(OptimiseCommand, PrintsTheFleetWithTheTicksCalcGivesIt) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "optimise" + Raid() + " --vary attacker:AstroPod,attacker:4=300 "
                                              "--goal smallest-fleet --ticks 2" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    const json answer = json::parse(run.out);
    EXPECT_EQ(answer["exhaustive"], true);
    EXPECT_EQ(answer["evaluations"], 121 * 301);
    EXPECT_EQ(answer["space"], 121 * 301);
    ASSERT_EQ(answer["fleet"].size(), 2u);
    const int pods = answer["fleet"]["AstroPod"], centaurs = answer["fleet"]["Centaur"];
    EXPECT_LE(pods, 120);
    EXPECT_GT(answer["summed"]["initRoidsCaptured"].get<int>(), 0);
    EXPECT_EQ(answer["summed"]["initRoidsCaptured"], answer["ticks"][0]["figures"]["initRoidsCaptured"].get<int>() +
                                                         answer["ticks"][1]["figures"]["initRoidsCaptured"].get<int>());
    // The same fleet typed into the battle file (line 2r holds the attacker's row r) and calculated.
    std::vector<std::string> lines;
    std::istringstream file(ReadBytes(std::filesystem::path(KESTRIN_EXAMPLES_DIR) / "raid.kbf"));
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    lines[2 * 49 - 1] = std::to_string(pods);
    lines[2 * 4 - 1] = std::to_string(centaurs);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    const std::filesystem::path battle = folder.Path() / "fleet.kbf";
    WriteBytes(battle, text);
    const ProgramRun calc = RunProgram(folder, "calc '" + battle.string() + "' --ticks 2" + Stats(folder));
    ASSERT_EQ(calc.status, 0) << calc.err;
    const std::size_t lineEnd = calc.out.find('\n');
    EXPECT_EQ(answer["ticks"][0]["panel"], json::parse(calc.out.substr(0, lineEnd))["panel"]);
    EXPECT_EQ(answer["ticks"][1]["panel"], json::parse(calc.out.substr(lineEnd + 1))["panel"]);
}

TEST(OptimiseCommand, BadRequestsAreOneLineErrorsWithoutOutput) {
    TempFolder folder;
    for (const char* arguments : {
             "--vary attacker:Harpie --goal roids", "--vary defender:Harpy --goal roids", "--vary Harpy --goal roids",
             "--vary attacker:Harpy,Harpy --goal roids", "--vary attacker:Harpy=-3 --goal roids",
             "--vary attacker:Harpy=3000000000 --goal roids", "--vary attacker:\"Planet Score\" --goal roids",
             "--vary attacker:Harpy --goal most", "--vary attacker:Harpy --goal roids --evaluations 0",
             "--vary attacker:Harpy --goal roids --max-loss -5", "--vary attacker:Harpy --goal roids --ticks 101",
             "--goal roids", "--vary attacker:Harpy --goal loss-per-roid --min-roids 100000000", "--vary --goal roids"}) {
        SCOPED_TRACE(arguments);
        const ProgramRun run = RunProgram(folder, "optimise" + Raid() + " " + arguments + Stats(folder));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
}

// No fleet keeps the limits: whether every fleet was tried decides what can be said.
TEST(OptimiseCommand, NoFleetWithinTheLimitsSaysHowManyOfTheSpaceWereTried) {
    TempFolder folder;
    const std::string limits = " --goal loss-per-roid --min-roids 100000000" + Stats(folder);
    const ProgramRun part = RunProgram(folder, "optimise" + Raid() + " --vary attacker:AstroPod=400,4=300 --evaluations 50" + limits);
    EXPECT_EQ(part.status, 2);
    EXPECT_NE(part.err.find("none found in 50 of 120701 fleets"), std::string::npos) << part.err;
    const ProgramRun whole = RunProgram(folder, "optimise" + Raid() + " --vary attacker:AstroPod=40,4=30" + limits);
    EXPECT_EQ(whole.status, 2);
    EXPECT_NE(whole.err.find("all 1271 fleets were tried"), std::string::npos) << whole.err;
    const ProgramRun bare = RunProgram(folder, "optimise" + Raid() + " --vary --goal roids" + Stats(folder));
    EXPECT_NE(bare.err.find("--vary"), std::string::npos) << bare.err;
}

}  // namespace
}  // namespace kestrin::testing
