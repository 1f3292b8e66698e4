#include <gtest/gtest.h>

#include "cli/cli_runner.h"

namespace kestrin::testing {
namespace {

struct SolveCase {
    const char* name;
    const char* input;
    const char* output;  // exact output line, key order included
};

TEST(SolveCommand, WorkedCallsGiveTheirExactResults) {
    const SolveCase cases[] = {
        {"asteroid capture shape",
         R"({"ships":[0,120,40,0],"killRates":[1,1,1,1],"damage":[0,0,0,0],"shots":30})",
         R"({"kills":[0,22,8,0],"damage":[0.0,0.0,0.0,0.0],"shotsAllocated":[0,22,8,0],)"
         R"("availableShots":0,"cycles":4,"G":0.8125,"bailout":false})"},
        {"one entry, enough shots",
         R"({"ships":[10],"killRates":[0.5],"damage":[0],"shots":25})",
         R"({"kills":[10],"damage":[0.0],"shotsAllocated":[20],"availableShots":5,)"
         R"("cycles":0,"G":0.0,"bailout":false})"},
        {"one entry, too few shots",
         R"({"ships":[10],"killRates":[0.25],"damage":[0.5],"shots":9})",
         R"({"kills":[2],"damage":[0.75],"shotsAllocated":[9],"availableShots":0,)"
         R"("cycles":0,"G":0.0,"bailout":false})"},
        {"no shots: outputs as they came in",
         R"({"ships":[3,4],"killRates":[1,1],"damage":[0.25,0.5],"shots":0,"variant":"old"})",
         R"({"kills":[0,0],"damage":[0.25,0.5],"shotsAllocated":[0,0],"availableShots":0,)"
         R"("cycles":0,"G":0.0,"bailout":false})"},
        {"fifty cycles",
         R"({"ships":[2,0],"killRates":[0.25,0],"damage":[0,0],"shots":50,"variant":"new"})",
         R"({"kills":[2,0],"damage":[0.0,0.0],"shotsAllocated":[8,0],"availableShots":0,)"
         R"("cycles":50,"G":8.881784197001252e-16,"bailout":true})"},
        {"old variant stops when the rounded shots match (new needs 20 cycles)",
         R"({"ships":[100,100],"killRates":[0.1,0.2],"damage":[0,0],"shots":500,"variant":"old"})",
         R"({"kills":[26,46],"damage":[0.8000000000000007,0.4000000000000057],)"
         R"("shotsAllocated":[268,232],"availableShots":0,"cycles":11,"G":0.73193359375,)"
         R"("bailout":false})"},
    };
    TempFolder folder;
    for (const SolveCase& test : cases) {
        const ProgramRun run = RunProgram(folder, "solve", test.input);
        EXPECT_EQ(run.status, 0) << test.name << ": " << run.err;
        EXPECT_EQ(run.out, std::string(test.output) + "\n") << test.name;
        EXPECT_EQ(run.err, "") << test.name;
    }
}

TEST(SolveCommand, UnusableInputIsAUsageErrorWithoutOutput) {
    const char* inputs[] = {
        "",
        R"({"ships":[1],"killRates":[1],"damage":[0],"shots":5)",
        R"({"ships":[1,2],"killRates":[1],"damage":[0,0],"shots":5})",
        R"({"ships":["1"],"killRates":[1],"damage":[0],"shots":5})",
        R"({"ships":[1],"killRates":[1],"damage":[true],"shots":5})",
        R"({"ships":[1],"killRates":[1],"damage":[0],"shots":5.5})",
        R"({"ships":[1],"killRates":[1],"damage":[0],"shots":9223372036854775808})",
        R"({"ships":[1],"killRates":[1],"damage":[0]})",
        R"({"ships":[-1],"killRates":[1],"damage":[0],"shots":5})",
        R"({"ships":[1],"killRates":[-0.5],"damage":[0],"shots":5})",
        R"({"ships":[1],"killRates":[1],"damage":[0],"shots":5,"variant":"newer"})",
        R"({"ships":1,"killRates":[1],"damage":[0],"shots":5})",
    };
    TempFolder folder;
    for (const char* input : inputs) {
        const ProgramRun run = RunProgram(folder, "solve", input);
        EXPECT_EQ(run.status, 2) << input;
        EXPECT_EQ(run.out, "") << input;
        EXPECT_TRUE(IsOneLine(run.err)) << input << ": " << run.err;
    }
}

TEST(SolveCommand, InputNestedTooDeepIsRejectedWithoutCrashing) {
    TempFolder folder;
    const std::string deep = R"({"ships":[1],"killRates":[1],"damage":[0],"shots":5,"x":)" +
                             std::string(100000, '[') + std::string(100000, ']') + "}";
    const ProgramRun run = RunProgram(folder, "solve", deep);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(IsOneLine(run.err)) << run.err.substr(0, 200);
}

// Values the battle simulation never produces: each refused with a line naming its field.
TEST(SolveCommand, ValuesOutsideWhatTheSimulationPassesAreRejectedByField) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"ships":[1],"killRates":[1],"damage":[1e308],"shots":5})", "\"damage\""},
        {R"({"ships":[1],"killRates":[1],"damage":[1],"shots":5})", "\"damage\""},
        {R"({"ships":[1],"killRates":[1],"damage":[-0.5],"shots":5})", "\"damage\""},
        {R"({"ships":[1.5],"killRates":[1],"damage":[0],"shots":5})", "\"ships\""},
        {R"({"ships":[2147483648],"killRates":[1],"damage":[0],"shots":5})", "\"ships\""},
        {R"({"ships":[1],"killRates":[1],"damage":[0],"shots":-5})", "\"shots\""},
        {R"({"ships":[1],"killRates":[1],"damage":[0],"shots":5,"ships":[2]})", "\"ships\""},
    };
    TempFolder folder;
    for (const auto& [input, field] : cases) {
        const ProgramRun run = RunProgram(folder, "solve", input);
        EXPECT_EQ(run.status, 2) << input;
        EXPECT_EQ(run.out, "") << input;
        EXPECT_TRUE(IsOneLine(run.err)) << input << ": " << run.err;
        EXPECT_NE(run.err.find(field), std::string::npos) << input << ": " << run.err;
    }
}

}  // namespace
}  // namespace kestrin::testing
