#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/temp_folder.h"
#include "sheet/battle_file.h"
#include "sheet/result_rows.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;
using Lines = std::vector<std::string>;

std::string EmptyFileBytes() {
    std::string bytes;
    for (int i = 0; i < kBattleFileLines; ++i) bytes += "\r\n";
    return bytes;
}

TEST(BattleFile, EmptySheetSavesAs130EmptyLinesAndOpensAgain) {
    TempFolder folder;
    SheetFixture f;
    const auto path = folder.Path() / "empty.kbf";
    ASSERT_TRUE(SaveBattleFile(f.sheet, path).ok());
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.size(), 260u);
    EXPECT_EQ(bytes, EmptyFileBytes());
    EXPECT_EQ(folder.Count(), 1);  // no temporary left behind
    const BattleFileResult opened = OpenBattleFile(f.sheet, path);
    EXPECT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(opened.message, "");
}

TEST(BattleFile, SaveThenOpenRoundTrip) {
    TempFolder folder;
    SheetFixture a;
    a.Put(kDefShips, UnitRow(kHarpy), 500);
    a.Put(kDefShips, UnitRow(kMesonicCutter), 40);
    a.Put(kAttShips, UnitRow(kThief), 100);
    a.Put(kAttShips, UnitRow(kAstroPod), 30);
    a.Put(kDefShips, kFirstRoidRow + 3, 77);
    a.Put(kAttShips, kFirstRoidRow + 3, 5);
    a.Put(kDefShips, kEoniumRow, 12345);
    a.sheet.SetCell(kDefShips, kScoreRow, "123456789012");
    a.Put(kAttShips, kScoreRow, 99);
    a.Recalc();
    const auto path = folder.Path() / "raid.kbf";
    ASSERT_TRUE(SaveBattleFile(a.sheet, path).ok());
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(SplitLines(bytes), BattleFileLines(a.sheet.Cells()));
    EXPECT_EQ(bytes.substr(0, 7), "500\r\n\r\n");  // Harpy: defender, attacker
    EXPECT_EQ(SplitLines(bytes)[2 * (kScoreRow - 1)], "123456789012");

    SheetFixture b;
    const BattleFileResult opened = OpenBattleFile(b.sheet, path);
    ASSERT_TRUE(opened.ok()) << opened.message;
    EXPECT_EQ(b.sheet.Cells(), a.sheet.Cells());
    EXPECT_EQ(b.sheet.Results(), a.sheet.Results());
}

TEST(BattleFile, WrongLineCountsAreRejectedAndTheSheetIsUnchanged) {
    TempFolder folder;
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 3);
    const SheetCells before = f.sheet.Cells();
    const std::string cases[] = {EmptyFileBytes() + "7\r\n", EmptyFileBytes() + "\r\n\r\n 7", EmptyFileBytes().substr(2),
                                 "", "\r\n"};
    for (const std::string& bytes : cases) {
        const auto path = folder.Path() / "bad.kbf";
        WriteBytes(path, bytes);
        const BattleFileResult opened = OpenBattleFile(f.sheet, path);
        EXPECT_EQ(opened.status, BattleFileStatus::WrongLength) << bytes.size();
        EXPECT_EQ(opened.message, "Incorrect File Length !!!");
        EXPECT_EQ(f.sheet.Cells(), before);
    }
}

// An editor may leave blank lines after the last count: the file reads as without them.
TEST(BattleFile, TrailingBlankLinesAreAccepted) {
    TempFolder folder;
    const std::string counted = "7" + EmptyFileBytes();  // the defender's Harpy
    for (const std::string& tail : {std::string("\r\n"), std::string("\n\n \t\r\n"), std::string("\r\n  ")}) {
        const auto path = folder.Path() / "tail.kbf";
        WriteBytes(path, counted + tail);
        SheetFixture f;
        const BattleFileResult opened = OpenBattleFile(f.sheet, path);
        ASSERT_TRUE(opened.ok()) << opened.message;
        EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "7");
        EXPECT_TRUE(ReadBattleBytesInputs(counted + tail).outcome.ok());
    }
}

TEST(BattleFile, MissingFileIsReported) {
    TempFolder folder;
    SheetFixture f;
    const BattleFileResult opened = OpenBattleFile(f.sheet, folder.Path() / "nowhere.kbf");
    EXPECT_EQ(opened.status, BattleFileStatus::FileMissing);
    EXPECT_EQ(opened.message, "That File Dosn't Exist !!!");
}

TEST(BattleFile, FolderIsAReadError) {
    TempFolder folder;
    SheetFixture f;
    const BattleFileResult opened = OpenBattleFile(f.sheet, folder.Path());
    EXPECT_EQ(opened.status, BattleFileStatus::ReadFailed);
    EXPECT_NE(opened.message.find("Unable to read"), std::string::npos);
}

TEST(BattleFile, AFileThatExistsButCannotBeOpenedGivesTheSystemsReason) {
    TempFolder folder;
    SheetFixture f;
    const auto path = folder.Path() / (std::string(300, 'n') + ".kbf");
    const BattleFileResult opened = OpenBattleFile(f.sheet, path);
    EXPECT_EQ(opened.status, BattleFileStatus::ReadFailed);
    EXPECT_EQ(opened.message, "Unable to read " + path.string() + ": File name too long");
}

// A writer that keeps its pipe open after a 131st line: the reader must stop at that line
// instead of waiting for an end that would never come.
TEST(BattleFile, AStreamOfLinesIsRejectedAtTheLineAfterTheLast) {
    TempFolder folder;
    const auto fifo = folder.Path() / "endless.kbf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::promise<void> readerDone;
    auto writer = std::async(std::launch::async, [&, done = readerDone.get_future()] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        const std::string lines = EmptyFileBytes() + "7\r\n";
        const bool written = ::write(fd, lines.data(), lines.size()) == static_cast<ssize_t>(lines.size());
        const bool readerStoppedFirst = done.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        ::close(fd);
        return written && readerStoppedFirst;
    });
    SheetFixture f;
    const BattleFileResult opened = OpenBattleFile(f.sheet, fifo);
    readerDone.set_value();
    EXPECT_EQ(opened.status, BattleFileStatus::WrongLength);
    EXPECT_TRUE(writer.get());
}

// Any line break, and a UTF-8 byte-order mark before the first count.
TEST(BattleFile, AnyLineBreakAndAByteOrderMarkAreAccepted) {
    TempFolder folder;
    for (const char* lineBreak : {"\n", "\r", "\r\n"}) {
        std::string bytes = lineBreak[0] == '\r' ? "\xEF\xBB\xBF" : "";
        for (int i = 1; i < kBattleFileLines; ++i) bytes += (i == 1 ? std::string("7") : std::string()) + lineBreak;
        bytes += "5";  // line 130, the attacker's score, without a final break
        const auto path = folder.Path() / "breaks.kbf";
        WriteBytes(path, bytes);
        SheetFixture f;
        ASSERT_TRUE(OpenBattleFile(f.sheet, path).ok()) << lineBreak;
        EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "7");
        EXPECT_EQ(f.sheet.Cell(kDefLeft, UnitRow(kHarpy)), "7");
        EXPECT_EQ(f.sheet.Cell(kAttShips, kScoreRow), "5");
    }
}

// A count written as a player types one is read as the grid reads it; text that is no count
// keeps the file's reading (it counts as 0: unit rows empty, the attacker's captured asteroids
// keep it), and every such line is told with what became of it.
TEST(BattleFile, OpenReadsTypedCountsAndTellsWhatIsNoCount) {
    TempFolder folder;
    Lines lines(kBattleFileLines);
    const auto line = [&](int row, Side side) -> std::string& { return lines[2 * (row - 1) + (side == Side::Attacker)]; };
    line(UnitRow(kHarpy), Side::Defender) = "9,000";
    line(UnitRow(kHarpy), Side::Attacker) = "12";
    line(UnitRow(kPhoenix), Side::Defender) = " 420";
    line(UnitRow(kPhoenix), Side::Attacker) = "420\t";
    line(3, Side::Defender) = "125k";
    line(3, Side::Attacker) = "-40";
    line(4, Side::Defender) = "99999999999";
    line(4, Side::Attacker) = "9.000";
    line(kTotalUnitsRow, Side::Defender) = "1,234";  // stored totals are never read
    line(kFirstRoidRow, Side::Attacker) = "many";
    line(kEoniumRow, Side::Defender) = "-5";
    line(kScoreRow, Side::Defender) = "99999999999";  // a 64-bit figure
    std::string bytes;
    for (const std::string& text : lines) bytes += text + "\r\n";
    const auto path = folder.Path() / "letters.kbf";
    WriteBytes(path, bytes);
    SheetFixture f;
    const BattleFileResult opened = OpenBattleFile(f.sheet, path);
    ASSERT_TRUE(opened.ok());

    // The same figures as the counts typed into the cells and recalculated.
    SheetFixture typed;
    for (int row = 1; row <= kLastRow; ++row) {
        typed.sheet.SetCell(kDefShips, row, line(row, Side::Defender));
        typed.sheet.SetCell(kAttShips, row, line(row, Side::Attacker));
    }
    typed.sheet.SetCell(kDefShips, UnitRow(kHarpy), "9000");
    typed.sheet.SetCell(kDefShips, UnitRow(kPhoenix), "420");
    typed.sheet.SetCell(kAttShips, UnitRow(kPhoenix), "420");
    typed.sheet.SetCell(kDefShips, 3, "125000");
    typed.Recalc();
    EXPECT_EQ(f.sheet.Cells(), typed.sheet.Cells());
    EXPECT_EQ(f.sheet.Results(), typed.sheet.Results());
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "9000");
    EXPECT_EQ(f.sheet.Cell(kAttShips, 4), "");
    EXPECT_EQ(f.sheet.Cell(kAttShips, kFirstRoidRow), "many");

    const std::string third = DefaultShipCatalogue().Name(2), fourth = DefaultShipCatalogue().Name(3);
    std::vector<std::string> told;
    for (const BattleFileProblem& problem : opened.problems) told.push_back(BattleFileProblemText(problem));
    EXPECT_EQ(told, (Lines{
        "line 1 (defender's Harpy): '9,000' is read as 9000",
        "line 3 (defender's Phoenix): ' 420' is read as 420",
        "line 4 (attacker's Phoenix): '420<tab>' is read as 420",
        "line 5 (defender's " + third + "): '125k' is read as 125000",
        "line 6 (attacker's " + third + "): '-40' is a negative count: it fights as no ships",
        "line 7 (defender's " + fourth + "): '99999999999' is too large a count: it counts as 0 and the cell "
        "was emptied",
        "line 8 (attacker's " + fourth + "): '9.000' is not a count: it counts as 0 and the cell was emptied",
        "line 120 (attacker's Uninit. Roids): 'many' is not a count: it counts as 0 and the text was kept",
        "line 127 (defender's Defender E): '-5' is a negative count: it counts as none and the cell was emptied"}));
    EXPECT_EQ(opened.problems[0].line, 1);
    EXPECT_EQ(opened.problems[0].text, "9,000");
    // Read without a sheet (the planner's commands), the same lines are told the same way.
    std::vector<std::string> toldWithoutSheet;
    for (const BattleFileProblem& problem : ReadBattleFileInputs(path).outcome.problems)
        toldWithoutSheet.push_back(BattleFileProblemText(problem));
    EXPECT_EQ(toldWithoutSheet, told);
}

// The planner's commands read a file without a sheet: the inputs must be what the sheet's
// next recalculation reads after Open, negative Eonium and scores and text included.
TEST(BattleFile, InputsReadWithoutASheetAreThoseOfTheOpenedSheet) {
    TempFolder folder;
    const auto inputs = [](const BattleState& s) {
        return std::tuple(s.Ships, s.Roids, s.DefenderEonium, s.DefenderScore, s.AttackerScore);
    };
    std::mt19937 rng(808);
    for (int battle = 0; battle < 40; ++battle) {
        SheetFixture written;
        FillRandomBattle(written, rng, true);
        const auto path = folder.Path() / "battle.kbf";
        ASSERT_TRUE(SaveBattleFile(written.sheet, path).ok());
        SheetFixture opened;
        ASSERT_TRUE(OpenBattleFile(opened.sheet, path).ok());
        const BattleFileInputs read = ReadBattleFileInputs(path);
        ASSERT_TRUE(read.outcome.ok()) << read.outcome.message;
        EXPECT_EQ(inputs(read.battle), inputs(SheetInputs(opened.sheet.Cells()))) << "battle " << battle;
    }
    EXPECT_EQ(ReadBattleFileInputs(folder.Path() / "none.kbf").outcome.message, kFileMissingMessage);
    WriteBytes(folder.Path() / "short.kbf", "1\r\n2\r\n");
    EXPECT_EQ(ReadBattleFileInputs(folder.Path() / "short.kbf").outcome.message, kWrongLengthMessage);
}

TEST(BattleFile, OpenKeepsTheTickHistoryAndRowsAndFollowsTheLog) {
    TempFolder folder;
    SheetFixture f;
    FakeLogWindow log(f.context);
    f.sheet.SetLogWindow(&log);
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    f.Put(kAttShips, UnitRow(kHarpy), 20);
    f.Recalc();
    f.sheet.StepForward();
    f.sheet.StepForward();
    const auto path = folder.Path() / "tick3.kbf";
    ASSERT_TRUE(SaveBattleFile(f.sheet, path).ok());
    f.sheet.CompressGrid();
    const RowVisibility rows = f.sheet.Rows();
    const auto history = f.sheet.TickHistory();

    ASSERT_TRUE(OpenBattleFile(f.sheet, path).ok());
    EXPECT_EQ(log.logRuns, 0);  // hidden log window: ReCalc
    EXPECT_TRUE(log.updateLogEnabled);
    log.visible = true;
    ASSERT_TRUE(OpenBattleFile(f.sheet, path).ok());
    EXPECT_EQ(log.logRuns, 1);  // shown: UpdateCalcLog
    EXPECT_FALSE(log.updateLogEnabled);
    EXPECT_EQ(f.sheet.CurrentTick(), 3);
    EXPECT_EQ(f.sheet.Results().TickIndicator, "Tick 3");
    EXPECT_EQ(f.sheet.TickHistory(), history);
    EXPECT_EQ(f.sheet.Rows(), rows);
}

TEST(BattleFile, FailedSaveIsReportedAndKeepsWhatWasThere) {
    TempFolder folder;
    SheetFixture f;
    f.Put(kDefShips, UnitRow(kHarpy), 10);
    // A regular file where the folder should be: no save can succeed, even as root.
    const auto blocker = folder.Path() / "not-a-folder";
    WriteBytes(blocker, "old content");
    const BattleFileResult saved = SaveBattleFile(f.sheet, blocker / "battle.kbf");
    EXPECT_EQ(saved.status, BattleFileStatus::WriteFailed);
    EXPECT_EQ(saved.message.rfind("Unable to write to " + (blocker / "battle.kbf").string(), 0), 0u)
        << saved.message;
    EXPECT_EQ(ReadBytes(blocker), "old content");

    // A folder in the target's place: the rename fails and the folder's file stays whole.
    const auto occupied = folder.Path() / "occupied.kbf";
    std::filesystem::create_directory(occupied);
    WriteBytes(occupied / "inside", "kept");
    EXPECT_EQ(SaveBattleFile(f.sheet, occupied).status, BattleFileStatus::WriteFailed);
    EXPECT_EQ(ReadBytes(occupied / "inside"), "kept");
    EXPECT_EQ(folder.Count(), 2);  // no temporary left behind
}

TEST(BattleFile, SaveReplacesAnOldFile) {
    TempFolder folder;
    const auto path = folder.Path() / "old.kbf";
    WriteBytes(path, "something else entirely");
    SheetFixture f;
    ASSERT_TRUE(SaveBattleFile(f.sheet, path).ok());
    EXPECT_EQ(ReadBytes(path), EmptyFileBytes());
}

TEST(BattleFile, LineBreaksInsideACellCannotBreakTheFile) {
    SheetFixture f;
    f.sheet.SetCell(kDefShips, UnitRow(kHarpy), "1\r\n2");
    const std::string bytes = BattleFileBytes(f.sheet.Cells());
    EXPECT_EQ(SplitLines(bytes).size(), static_cast<std::size_t>(kBattleFileLines));
    EXPECT_EQ(SplitLines(bytes)[0], "12");
}

TEST(BattleFile, SplitLines) {
    const std::pair<std::string, Lines> cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\rb", {"a", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\r\n", {"", ""}},
        {"a\nb\n", {"a", "b"}},
    };
    for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << text;
}

}  // namespace
}  // namespace kestrin
