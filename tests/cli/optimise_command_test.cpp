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

// Each bad request is refused for its own reason: a case that failed for another (a missing
// file, an earlier option) would not pass.
TEST(OptimiseCommand, BadRequestsAreOneLineErrorsWithoutOutput) {
    TempFolder folder;
    const struct {
        const char* arguments;
        const char* reason;
    } cases[] = {
        {"--vary attacker:Harpie --goal roids", "The attacker has no row 'Harpie'"},
        {"--vary defender:Harpy --goal roids", "varies attacker rows only, not 'defender:Harpy'"},
        {"--vary Harpy --goal roids", "--vary takes attacker:ROW[=MAX],..., not 'Harpy'"},
        {"--vary attacker:Harpy,Harpy --goal roids", "The row 'Harpy' is varied twice"},
        {"--vary attacker:Harpy=-3 --goal roids", "'attacker:Harpy=-3' must be a whole number from 0 to 2147483647"},
        {"--vary attacker:Harpy=3000000000 --goal roids", "'attacker:Harpy=3000000000' must be a whole number"},
        {"--vary attacker:\"Planet Score\" --goal roids", "is not a unit row of the attacker"},
        {"--vary attacker:Harpy --goal most", "--goal: most not in {roids,loss-per-roid,smallest-fleet}"},
        {"--vary attacker:Harpy --goal roids --evaluations 0", "from 1 to 1000000 evaluations, not 0"},
        {"--vary attacker:Harpy --goal roids --max-loss -5", "The most fleet value to lose cannot be below 0"},
        {"--vary attacker:Harpy --goal roids --ticks 101", "--ticks: expected a whole number from 1 to 100"},
        {"--goal roids", "--vary is required"},
        {"--vary attacker:Harpy --goal loss-per-roid --min-roids 100000000", "No fleet keeps the limits (--min-roids, --max-loss): all 421 fleets were tried"},
        {"--vary --goal roids", "--vary needs a row"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.arguments);
        const ProgramRun run = RunProgram(folder, "optimise" + Raid() + " " + bad.arguments + Stats(folder));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
        EXPECT_NE(run.err.find(bad.reason), std::string::npos) << run.err;
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

// Two unit types of one Name would be one key of "fleet": such statistics are unusable, named
// as the desktop program names them at start-up, and nothing is computed.
TEST(OptimiseCommand, UnitTypesSharingANameAreUnusableStatistics) {
    TempFolder folder;
    (void)Stats(folder);
    std::string stats = ReadBytes(folder.Path() / "ShipStats.ini");
    stats.replace(stats.find("Name=Phoenix"), 12, "Name=Harpy");
    WriteBytes(folder.Path() / "shared.ini", stats);
    const ProgramRun run = RunProgram(folder, "optimise" + Raid() + " --vary attacker:Harpy=10 --vary attacker:Gryphon=10"
                                              " --goal roids --stats '" + (folder.Path() / "shared.ini").string() + "'");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find("has values the battle rules cannot use, so nothing was computed: Harpy, Phoenix: Name 'Harpy' "
                           "is held by more than one unit type"), std::string::npos) << run.err;
}

// Bounds at the largest count a cell holds, on one row and on two: the search spends exactly
// its evaluations and ends.
TEST(OptimiseCommand, BoundsAtTheLargestCountEndWithinTheEvaluations) {
    TempFolder folder;
    for (const std::string vary : {" --vary attacker:Harpy=2147483647", " --vary attacker:Harpy=2147483647,attacker:Roach=100",
                                   " --vary attacker:Harpy=2147483647,attacker:Roach=2147483647"}) {
        const ProgramRun run = RunProgram(folder, "optimise" + Raid() + vary + " --goal roids --evaluations 300" + Stats(folder));
        ASSERT_EQ(run.status, 0) << vary << run.err;
        const json answer = json::parse(run.out);
        EXPECT_EQ(answer["evaluations"], 300) << vary;
        EXPECT_FALSE(answer["exhaustive"].get<bool>());
    }
}

}  // namespace
}  // namespace kestrin::testing
