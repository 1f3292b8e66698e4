// kestrin-cli sweep end to end: its points against calc, its output shapes, its refusals.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "cli_runner.h"

namespace kestrin::testing {
namespace {

using nlohmann::json;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Raid() { return std::string(" '") + KESTRIN_EXAMPLES_DIR + "/raid.kbf'"; }

TEST(SweepCommand, ThePointOfTheFilesOwnValueIsWhatCalcPrints) {
    TempFolder folder;
    const ProgramRun calc = RunProgram(folder, "calc" + Raid() + " --ticks 2" + Stats(folder));
    ASSERT_EQ(calc.status, 0) << calc.err;
    const std::vector<std::string> calcLines = Lines(calc.out);
    const json tick1 = json::parse(calcLines[0]);
    int row = 1;
    while (tick1["cells"][row][7] == "") ++row;
    const long long own = std::stoll(tick1["cells"][row][7].get<std::string>());
    const ProgramRun sweep = RunProgram(folder, "sweep" + Raid() + " --vary attacker:" + std::to_string(row) +
                                                    " --from " + std::to_string(own - 2) + " --to " +
                                                    std::to_string(own + 2) + " --ticks 2" + Stats(folder));
    ASSERT_EQ(sweep.status, 0) << sweep.err;
    const std::vector<std::string> points = Lines(sweep.out);
    ASSERT_EQ(points.size(), 5u);
    const json mid = json::parse(points[2]);
    EXPECT_EQ(mid["value"], own);
    ASSERT_EQ(mid["ticks"].size(), 2u);
    for (int t = 0; t < 2; ++t) {
        const json calcTick = json::parse(calcLines[t]);
        EXPECT_EQ(mid["ticks"][t]["tick"], t + 1);
        EXPECT_EQ(mid["ticks"][t]["panel"], calcTick["panel"]);
        const json& figures = mid["ticks"][t]["figures"];
        ASSERT_EQ(figures.size(), 14u);
        EXPECT_EQ(figures["defenderValueLeft"].get<long long>(),
                  std::stoll("0" + calcTick["cells"][59][5].get<std::string>()));
    }
}

TEST(SweepCommand, CsvHasAHeaderAndOneLinePerValueAndTick) {
    TempFolder folder;
    const ProgramRun run = RunProgram(folder, "sweep" + Raid() + " --vary defender:\"Metal Roids\" --from 0 "
                                              "--to 1000 --points 11 --ticks 3 --csv --solver old" + Stats(folder));
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 11u * 3u);
    EXPECT_EQ(lines[0].rfind("value,tick,defenderFleetChange,", 0), 0u);
    EXPECT_EQ(lines[1].rfind("0,1,", 0), 0u);
    EXPECT_EQ(lines.back().rfind("1000,3,", 0), 0u);
}

TEST(SweepCommand, BadSweepsAreOneLineErrorsWithoutOutput) {
    TempFolder folder;
    for (const char* arguments : {
             "--vary attacker:Harpy --from 10 --to 5", "--vary attacker:Harpy --from 0 --to 5 --points 1",
             "--vary attacker:Harpy --from 0 --to 5000000 --points 100001",
             "--vary attacker:Harpy --from 0 --to 500000", "--vary attacker:Harpie --from 0 --to 5",
             "--vary defender:\"Fleet Value\" --from 0 --to 5", "--vary pirate:Harpy --from 0 --to 5",
             "--vary attacker:Harpy --from 0 --to 5 --ticks 0", "--vary attacker:Harpy --from 0 --to 3000000000 --points 9",
             "--from 0 --to 5", "--vary attacker:Harpy --from 1e3 --to 5000", "--vary attacker:Harpy --from 0 --to 5 --ticks +3"}) {
        SCOPED_TRACE(arguments);
        const ProgramRun run = RunProgram(folder, "sweep" + Raid() + " " + arguments + Stats(folder));
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(IsOneLine(run.err)) << run.err;
    }
}

// The findings of the whole battles of every value, by a plain scan of sweep's own points:
// the first value with the most asteroids, the least change per asteroid (exactly), the
// first value that wipes out the defender.
json ScanFindings(const std::vector<std::string>& lines) {
    json most = {{"value", nullptr}, {"initRoidsCaptured", 0}}, perRoid = nullptr, wiped = nullptr;
    long double bestPerRoid = 0;
    for (const std::string& line : lines) {
        const json point = json::parse(line);
        long long roids = 0, change = 0;
        for (const json& tick : point["ticks"]) {
            roids += tick["figures"]["initRoidsCaptured"].get<long long>();
            change += tick["figures"]["attackerFleetChange"].get<long long>();
        }
        if (most["value"].is_null() || roids > most["initRoidsCaptured"]) most = {{"value", point["value"]}, {"initRoidsCaptured", roids}};
        const long double perRoidHere = static_cast<long double>(change) / static_cast<long double>(std::max(roids, 1LL));
        if (roids > 0 && (perRoid.is_null() || perRoidHere > bestPerRoid)) {
            perRoid = {{"value", point["value"]}, {"attackerChangePerInitRoid", change / roids}};
            bestPerRoid = perRoidHere;
        }
        const json& first = point["ticks"].front()["figures"];
        const long long atStart = first["defenderValueLeft"].get<long long>() - first["defenderFleetChange"].get<long long>();
        if (wiped.is_null() && atStart > 0 && point["ticks"].back()["figures"]["defenderValueLeft"] == 0)
            wiped = {{"value", point["value"]}};
    }
    return {{"mostRoids", most}, {"lowestLossPerRoid", perRoid}, {"defenderWipedOut", wiped}};
}

// --findings takes every whole value of the range whatever --points says, and states what
// a scan of every value's points finds; beyond 100,000 values it takes the points and says so.
TEST(SweepCommand, FindingsAreThoseOfEveryValue) {
    TempFolder folder;
    const std::string vary = "sweep" + Raid() + " --vary attacker:AstroPod --ticks 2" + Stats(folder);
    const ProgramRun points = RunProgram(folder, vary + " --from 0 --to 600");
    ASSERT_EQ(points.status, 0) << points.err;
    const ProgramRun run = RunProgram(folder, vary + " --from 0 --to 600 --points 7 --findings");
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(IsOneLine(run.out)) << run.out;
    json expected = ScanFindings(Lines(points.out));
    expected["evaluations"] = 601;
    expected["exact"] = true;
    EXPECT_EQ(json::parse(run.out), expected);
    EXPECT_GT(expected["mostRoids"]["initRoidsCaptured"], 0);
    EXPECT_FALSE(expected["lowestLossPerRoid"].is_null());

    const ProgramRun wide = RunProgram(folder, vary + " --from 0 --to 2000000 --points 5 --findings");
    ASSERT_EQ(wide.status, 0) << wide.err;
    const ProgramRun widePoints = RunProgram(folder, vary + " --from 0 --to 2000000 --points 5");
    expected = ScanFindings(Lines(widePoints.out));
    expected["evaluations"] = 5;
    expected["exact"] = false;
    EXPECT_EQ(json::parse(wide.out), expected);
}

// The sweep streams: the first line is out while the rest is computed, and a reader that
// stops after it ends the sweep with one line and exit 1, after complete lines only.
TEST(SweepCommand, StreamsItsLinesAndAClosedOutputEndsItWithExitOne) {
    TempFolder folder;
    const ProgramRun run = RunShell(folder, "{ \"$CLI\" sweep --vary attacker:Harpy --from 0 --to 100000 --points 100000 "
                                            "--ticks 10" + Stats(folder) + " 2> err.txt; echo $? > status.txt; } | head -n 1");
    EXPECT_TRUE(IsOneLine(run.out));
    EXPECT_EQ(json::parse(run.out)["value"], 0);
    EXPECT_EQ(ReadBytes(folder.Path() / "status.txt"), "1\n");
    EXPECT_EQ(ReadBytes(folder.Path() / "err.txt"), "Unable to write the output: Broken pipe\n");
}

// Past a file-size limit the output file ends after its last complete line, never inside one
// (a cut CSV row would read as a wrong number); a file appended to keeps what it held.
TEST(SweepCommand, AFileSizeLimitLeavesOnlyCompleteLines) {
    TempFolder folder;
    const std::string sweep = "\"$CLI\" sweep --vary attacker:Harpy --from 0 --to 1000 --points 101 --ticks 3" + Stats(folder);
    for (const std::string csv : {"", " --csv"}) {
        WriteBytes(folder.Path() / "out.txt", "kept\n");
        const ProgramRun run = RunShell(folder, "ulimit -f 8; " + sweep + csv + " >> out.txt");
        EXPECT_EQ(run.status, 1) << csv;
        EXPECT_EQ(run.err, "Unable to write the output: File too large; the output file was cut back to its last complete line\n");
        const std::string out = ReadBytes(folder.Path() / "out.txt");
        ASSERT_GT(out.size(), 1000u) << csv;
        EXPECT_LE(out.size(), 8192u) << csv;
        EXPECT_EQ(out.substr(0, 5), "kept\n");
        EXPECT_EQ(out.back(), '\n') << csv;
        const std::vector<std::string> lines = Lines(out);
        if (csv.empty()) {
            EXPECT_EQ(json::parse(lines.back())["value"], 10 * (lines.size() - 2)) << lines.back();
        }
    }
}


// What a sweep stopped by a signal left, and how it ended.
struct StoppedSweep {
    std::string out;
    int status = 0;
};

// Runs a sweep of lines longer than its output pipe (one page), reads until a line is begun and
// not ended, so that the program is inside that line's writing, sends `signal` and reads on to
// the end; with `stalled`, reads nothing until the pipe is full and the program has ended.
// Started without a shell, which would have a background job ignore SIGINT.
StoppedSweep SweepStoppedInsideALine(const TempFolder& folder, int signal, bool stalled = false) {
    const std::string stats = folder.Path() / "ShipStats.ini";
    (void)Stats(folder);
    const std::string raid = std::string(KESTRIN_EXAMPLES_DIR) + "/raid.kbf";
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {"", -1};
    ::fcntl(pipeEnds[0], F_SETPIPE_SZ, 4096);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(signal, SIG_DFL);
        ::execl(KESTRIN_CLI_PATH, "kestrin-cli", "sweep", raid.c_str(), "--vary", "attacker:Harpy", "--from", "0", "--to",
                "1000", "--points", "200", "--ticks", "100", "--stats", stats.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    StoppedSweep stopped;
    char chunk[4096];
    ssize_t got = 0;
    if (stalled) {
        int waiting = 0;
        while (::ioctl(pipeEnds[0], FIONREAD, &waiting) == 0 && waiting < 4096) std::this_thread::yield();
        ::kill(child, signal);
        ::waitpid(child, &stopped.status, 0);
        ::close(pipeEnds[0]);
        return stopped;
    }
    while ((stopped.out.empty() || stopped.out.back() == '\n') && (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0)
        stopped.out.append(chunk, static_cast<std::size_t>(got));
    ::kill(child, signal);
    while ((got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0) stopped.out.append(chunk, static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    ::waitpid(child, &stopped.status, 0);
    return stopped;
}

// A sweep ended by SIGTERM or SIGINT ends by that signal after its last whole line: the line
// being written when the signal came is finished first (a long line goes out in several writes).
TEST(SweepCommand, ASignalLeavesOnlyWholeLines) {
    TempFolder folder;
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        const StoppedSweep stopped = SweepStoppedInsideALine(folder, signal);
        ASSERT_GT(stopped.out.size(), 4096u);
        EXPECT_TRUE(WIFSIGNALED(stopped.status) && WTERMSIG(stopped.status) == signal) << stopped.status;
        EXPECT_EQ(stopped.out.back(), '\n');
        const std::vector<std::string> lines = Lines(stopped.out);
        EXPECT_LT(lines.size(), 200u);
        for (const std::string& line : lines) EXPECT_EQ(json::parse(line)["ticks"].size(), 100u);
    }
}

// A reader that stopped reading does not keep the signal from ending the sweep.
TEST(SweepCommand, ASignalEndsASweepWhoseReaderStopped) {
    TempFolder folder;
    const StoppedSweep stopped = SweepStoppedInsideALine(folder, SIGTERM, true);
    EXPECT_TRUE(WIFSIGNALED(stopped.status) && WTERMSIG(stopped.status) == SIGTERM) << stopped.status;
}

}  // namespace
}  // namespace kestrin::testing
