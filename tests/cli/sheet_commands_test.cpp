// kestrin-cli calc and parse end to end on the examples, their JSON read back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <csignal>
#include <sstream>

#include "cli_runner.h"

namespace kestrin::testing {
namespace {

using nlohmann::json;

std::vector<json> JsonLines(const std::string& text) {
    std::vector<json> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) objects.push_back(json::parse(line));
    return objects;
}

std::string Example(const char* name) { return std::string("'") + KESTRIN_EXAMPLES_DIR + "/" + name + "'"; }

TEST(CalcCommand, PrintsOneTickObjectPerTickWithSheetAndPanel) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "calc " + Example("fleet_battle.kbf") + " --ticks 3" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto ticks = JsonLines(run.out);
    ASSERT_EQ(ticks.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(ticks[i]["tick"], i + 1);
        EXPECT_EQ(ticks[i]["panel"]["TickIndicator"], "Tick " + std::to_string(i + 1));
        EXPECT_EQ(ticks[i]["cells"].size(), 66u);
        EXPECT_EQ(ticks[i]["cells"][0].size(), 12u);
        EXPECT_FALSE(ticks[i].contains("log"));
    }
    EXPECT_EQ(ticks[0]["cells"][0][5], "Left");
    // The survivors of one tick are the next tick's ships.
    for (int row = 1; row <= 54; ++row) {
        EXPECT_EQ(ticks[1]["cells"][row][1], ticks[0]["cells"][row][5]);
        EXPECT_EQ(ticks[1]["cells"][row][7], ticks[0]["cells"][row][11]);
    }
}

// What was read in a way a player would not expect goes to standard error, one "warning: "
// line each; the output and the exit status are those of the same battle without it.
TEST(CalcCommand, WarningsGoToStandardErrorAndLeaveTheOutputAndStatus) {
    TempFolder folder;
    const std::string raid = ReadBytes(std::filesystem::path(KESTRIN_EXAMPLES_DIR) / "raid.kbf");
    ASSERT_EQ(raid.rfind("180\r\n420\r\n", 0), 0u);
    const auto bad = folder.Path() / "bad.kbf", clean = folder.Path() / "clean.kbf";
    WriteBytes(bad, "180\r\n9.000\r\n" + raid.substr(10));  // the attacker's Harpy: no count
    WriteBytes(clean, "180\r\n\r\n" + raid.substr(10));
    const std::string badWarning = "warning: " + bad.string() +
                                   ": line 2 (attacker's Harpy): '9.000' is not a count: it counts as 0 and the "
                                   "cell was emptied\n";
    const ProgramRun expected = RunProgram(folder, "calc '" + clean.string() + "' --ticks 2" + Stats(folder));
    const ProgramRun warned = RunProgram(folder, "calc '" + bad.string() + "' --ticks 2" + Stats(folder));
    EXPECT_EQ(expected.err, "");
    EXPECT_EQ(warned.err, badWarning);
    EXPECT_EQ(warned.status, expected.status);
    EXPECT_EQ(warned.out, expected.out);

    // The planner's commands read the battle without a sheet, and tell the same.
    const std::string vary = " --vary defender:Harpy --from 0 --to 2 --points 3";
    const ProgramRun sweptClean = RunProgram(folder, "sweep '" + clean.string() + "'" + vary + Stats(folder));
    const ProgramRun swept = RunProgram(folder, "sweep '" + bad.string() + "'" + vary + Stats(folder));
    EXPECT_EQ(swept.err, badWarning);
    EXPECT_EQ(swept.status, 0);
    EXPECT_EQ(swept.out, sweptClean.out);

    // A report's count written with a separator is read whole and told, after the battle's line.
    const ProgramRun parsedClean = RunProgram(folder, "parse scan --in '" + clean.string() + "'" + Stats(folder), "Beetle 1000\n");
    const ProgramRun parsed = RunProgram(folder, "parse scan --in '" + bad.string() + "'" + Stats(folder), "Beetle 1,000\n");
    EXPECT_EQ(parsed.err, badWarning + "warning: line 1: Beetle: '1,000' read as 1000\n");
    EXPECT_EQ(parsed.status, 0);
    EXPECT_EQ(parsed.out, parsedClean.out);

    // A battle-file count written as a player types one is read as the grid reads it, and told.
    const auto typed = folder.Path() / "typed.kbf", plain = folder.Path() / "plain.kbf";
    WriteBytes(typed, "180\r\n9,000\r\n" + raid.substr(10));
    WriteBytes(plain, "180\r\n9000\r\n" + raid.substr(10));
    const ProgramRun typedRun = RunProgram(folder, "calc '" + typed.string() + "' --ticks 2" + Stats(folder));
    EXPECT_EQ(typedRun.err, "warning: " + typed.string() + ": line 2 (attacker's Harpy): '9,000' is read as 9000\n");
    EXPECT_EQ(typedRun.out, RunProgram(folder, "calc '" + plain.string() + "' --ticks 2" + Stats(folder)).out);

    // A statistic the file's own rule replaces by its built-in value.
    const auto stats = folder.Path() / "odd.ini";
    std::string text = ReadBytes(folder.Path() / "ShipStats.ini");
    text.replace(text.find("=25"), 3, "=30x");
    WriteBytes(stats, text);
    const ProgramRun oddStats = RunProgram(folder, "calc '" + clean.string() + "' --ticks 2 --stats '" + stats.string() + "'");
    EXPECT_EQ(oddStats.err, "warning: " + stats.string() +
                                ": [General] PaBattleConstant '30x' is not a whole number: 25 is used\n");
    EXPECT_EQ(oddStats.status, 0);
    EXPECT_EQ(oddStats.out, expected.out);
}

TEST(CalcCommand, LogAndCycleNotesFollowTheSheet) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "calc " + Example("raid.kbf") + " --log --cycles --ticks 2" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto ticks = JsonLines(run.out);
    ASSERT_EQ(ticks.size(), 2u);
    for (const json& tick : ticks) {
        ASSERT_TRUE(tick.contains("log"));
        ASSERT_FALSE(tick["log"].empty());
        EXPECT_NE(tick["log"][0].get<std::string>().find("Initiatve Step  "), std::string::npos);
        bool noted = false;
        for (const auto& line : tick["log"]) noted = noted || line.get<std::string>().find("(Cycles used = ") != std::string::npos;
        EXPECT_TRUE(noted);
    }
}

TEST(CalcCommand, SaveWritesTheLastTicksInputs) {
    TempFolder folder;
    const auto out = folder.Path() / "out.kbf";
    const ProgramRun run = RunProgram(folder, "calc " + Example("raid.kbf") + " --ticks 2 --save '" + out.string() + "'" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto ticks = JsonLines(run.out);
    const std::string saved = ReadBytes(out);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 130);
    EXPECT_EQ(saved.substr(0, saved.find("\r\n")), ticks[1]["cells"][1][1].get<std::string>());
}

TEST(CalcCommand, BadBattleFilesFailWithTheirMessageAndNoOutput) {
    TempFolder folder;
    WriteBytes(folder.Path() / "short.kbf", "1\r\n2\r\n");
    struct Case { std::string file; const char* message; };
    for (const Case& c : {Case{"'" + (folder.Path() / "none.kbf").string() + "'", "That File Dosn't Exist !!!\n"},
                          Case{"'" + (folder.Path() / "short.kbf").string() + "'", "Incorrect File Length !!!\n"}}) {
        const auto save = folder.Path() / "never.kbf";
        const ProgramRun run = RunProgram(folder, "calc " + c.file + " --save '" + save.string() + "'" + Stats(folder));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.message);
        EXPECT_FALSE(std::filesystem::exists(save));
    }
}

TEST(CalcCommand, AFailedOutputLeavesNoSavedFile) {
    TempFolder folder;
    const ProgramRun run = RunShell(folder, "\"$CLI\" calc " + Example("raid.kbf") + " --save out.kbf" + Stats(folder) + " > /dev/full");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.kbf"));
    EXPECT_EQ(folder.Count(), 1);  // the statistics file, no temporary
}

// A save over the command's own standard output (its file reached through /dev/stdout or
// /proc/self/fd/1) would have the battle file replace the JSON, or the JSON cut the battle file:
// refused before anything is written, and a file appended to keeps what it held.
TEST(CalcCommand, ASaveOverItsOwnStandardOutputIsRefused) {
    TempFolder folder;
    for (const std::string target : {"/dev/stdout", "/proc/self/fd/1"}) {
        WriteBytes(folder.Path() / "out.json", "kept\n");
        const ProgramRun run = RunShell(folder, "\"$CLI\" calc " + Example("raid.kbf") + " --save " + target + Stats(folder) +
                                                    " >> out.json");
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.err, "Unable to save to " + target + ": it is the command's standard output\n");
        EXPECT_EQ(ReadBytes(folder.Path() / "out.json"), "kept\n");
    }
    EXPECT_EQ(folder.Count(), 2);  // the statistics file and the output, no temporary
}

// Ended by a signal while its output waits on a reader, or past a file-size limit: the
// temporary of --save is gone.
TEST(CalcCommand, ASaveEndedBySignalOrFileSizeLimitLeavesNoTemporary) {
    TempFolder folder;
    for (const std::string signal : {"INT", "TERM", "HUP"}) {
        // A shell starts a background command ignoring SIGINT, and the test may itself run
        // ignoring SIGHUP (under nohup): env gives the program the default actions back.
        const ProgramRun run = RunShell(folder, "mkfifo pipe; env --default-signal=INT,TERM,HUP \"$CLI\" calc " + Example("fleet_battle.kbf") +
            " --ticks 300 --save out.kbf" + Stats(folder) + " > pipe & cli=$!; exec 3< pipe; n=0; "
            "while [ -z \"$(ls out.kbf.tmp* 2>/dev/null)\" ] && [ $n -lt 3000 ]; do sleep 0.01; n=$((n+1)); done; "
            "kill -" + signal + " $cli; wait $cli; echo $?; exec 3<&-; rm pipe");
        EXPECT_EQ(run.out, std::to_string(128 + (signal == "INT" ? SIGINT : signal == "TERM" ? SIGTERM : SIGHUP)) + "\n");
        EXPECT_EQ(folder.Count(), 1) << signal;  // the statistics file only
    }
    const ProgramRun limited = RunShell(folder, "ulimit -f 1; exec \"$CLI\" calc " + Example("fleet_battle.kbf") +
                                                " --save out.kbf" + Stats(folder));
    EXPECT_EQ(limited.status, 1);  // a write fails, no signal ends it
    EXPECT_EQ(limited.err, "Unable to write the output: File too large; the output file was cut back to where the command began\n");
    EXPECT_EQ(limited.out, "");  // no cut JSON
    EXPECT_EQ(folder.Count(), 1);
}

TEST(CalcCommand, TicksAreDecimalDigitsUpToTenThousandAndStatsNeedsAName) {
    TempFolder folder;
    for (const char* ticks : {"0x10", "+3", "' 3'", "0", "10001", "2147483647"}) {
        const ProgramRun run = RunProgram(folder, std::string("calc --ticks ") + ticks + Stats(folder));
        EXPECT_EQ(run.status, 2) << ticks;
        EXPECT_EQ(run.out, "") << ticks;
        EXPECT_TRUE(IsOneLine(run.err)) << ticks << ": " << run.err;
    }
    EXPECT_EQ(RunProgram(folder, "calc --ticks 2" + Stats(folder)).status, 0);
    const ProgramRun run = RunProgram(folder, "calc --stats ''");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(IsOneLine(run.err)) << run.err;
}

TEST(CalcCommand, AnExistingFileThatCannotBeOpenedGivesTheSystemsReason) {
    TempFolder folder;
    const std::string name = std::string(300, 'n') + ".kbf";
    const ProgramRun run = RunProgram(folder, "calc " + name + Stats(folder));
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Unable to read " + name + ": File name too long\n");
}

TEST(ParseCommand, AStandardInputThatCannotBeReadIsAnError) {
    TempFolder folder;
    const ProgramRun run = RunShell(folder, "\"$CLI\" parse scan" + Stats(folder) + " < .");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Unable to read the standard input: Is a directory\n");
}

// A report is read as views into its text: 16 MB of empty lines stay within three times
// their size, the program included.
TEST(ParseCommand, AReportsLinesAreNotCopied) {
    if (kSanitized) GTEST_SKIP() << "a sanitizer's memory is no measure of the program's";
    TempFolder folder;
    ProgramRun run;
    const long peakKiB = PeakResidentKiBOf(folder, "head -c 16000000 /dev/zero | tr '\\0' '\\n' | \"$CLI\" parse scan" + Stats(folder), run);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_GT(peakKiB, 0);
    EXPECT_LT(peakKiB, 48000);
}

// Standard input is read up to 16 MiB, as files are; an endless one is refused unread.
TEST(ParseCommand, StandardInputPastSixteenMebibytesIsRefused) {
    TempFolder folder;
    for (const std::string& command : {"parse scan" + Stats(folder), std::string("solve")}) {
        const ProgramRun run = RunShell(folder, "yes 'Harpy 1' | \"$CLI\" " + command);
        EXPECT_EQ(run.status, 2) << command;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "The standard input is larger than 16 MiB\n");
    }
}

TEST(ParseCommand, ScansAddToTheChosenSideAndCombatReportsSetReportView) {
    TempFolder folder;
    ProgramRun run = RunProgram(folder, "parse scan --side attacker" + Stats(folder), "Harpy 100\nScore 900\n");
    ASSERT_EQ(run.status, 0) << run.err;
    json tick = json::parse(run.out);
    EXPECT_EQ(tick["cells"][1][7], "100");
    EXPECT_EQ(tick["cells"][65][7], "900");
    EXPECT_EQ(tick["reportView"], false);

    run = RunProgram(folder, "parse military --fleets 2,3" + Stats(folder), "Phoenix 1 2 3 4\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(json::parse(run.out)["cells"][2][1], "7");

    run = RunProgram(folder, "parse combat --in " + Example("raid.kbf") + Stats(folder),
                     "Harpy 20 1 0 10 2 0   \r\n");
    ASSERT_EQ(run.status, 0) << run.err;
    tick = json::parse(run.out);
    EXPECT_EQ(tick["reportView"], true);
    EXPECT_EQ(tick["cells"][0][5], "Lost");
    EXPECT_EQ(tick["cells"][1][1], "10");
    EXPECT_EQ(tick["cells"][2][1], "");  // the opened battle was replaced
}

// A byte-order mark before the first word is skipped. Text in which the reader finds no figure
// (UTF-16, binary bytes) still applies, changing nothing, but says so in a warning.
TEST(ParseCommand, SkipsAByteOrderMarkAndWarnsWhenItRecognisesNothing) {
    TempFolder folder;
    const ProgramRun plain = RunProgram(folder, "parse scan" + Stats(folder), "Harpy 100\n");
    const ProgramRun marked = RunProgram(folder, "parse scan" + Stats(folder), "\xEF\xBB\xBFHarpy 100\n");
    ASSERT_EQ(marked.status, 0) << marked.err;
    EXPECT_EQ(json::parse(marked.out)["cells"][1][1], "100");
    EXPECT_EQ(marked.out, plain.out);
    EXPECT_EQ(marked.err, "");

    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("Harpy 100 1 2 3\n")) utf16 += {c, '\0'};
    for (const std::string kind : {"scan", "military --fleets home", "combat"}) {
        for (const std::string& input : {utf16, std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10)}) {
            const ProgramRun run = RunProgram(folder, "parse " + kind + Stats(folder), input);
            EXPECT_EQ(run.status, 0) << kind;
            EXPECT_TRUE(run.err.starts_with("warning: ") && IsOneLine(run.err)) << kind << ": " << run.err;
            EXPECT_EQ(json::parse(run.out)["cells"][1][1], "") << kind;
        }
    }
}

TEST(ParseCommand, LogIsThatOfTheRecalculationAfterTheApply) {
    TempFolder folder;
    const auto saved = folder.Path() / "applied.kbf";
    const ProgramRun parsed = RunProgram(folder, "parse scan --side attacker --log --in " + Example("raid.kbf") +
                                                     " --save '" + saved.string() + "'" + Stats(folder),
                                         "Harpy 100\n");
    ASSERT_EQ(parsed.status, 0) << parsed.err;
    const ProgramRun opened = RunProgram(folder, "calc '" + saved.string() + "' --log" + Stats(folder));
    ASSERT_EQ(opened.status, 0) << opened.err;
    const json log = json::parse(parsed.out)["log"];
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(log, json::parse(opened.out)["log"]);
}

}  // namespace
}  // namespace kestrin::testing
