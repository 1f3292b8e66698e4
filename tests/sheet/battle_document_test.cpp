// The battle as one document: how an edit ends, commands as named steps told once to every
// view, and the file a battle belongs to across tick steps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "engine/temp_folder.h"
#include "sheet/battle_document.h"
#include "sheet/document_test_seam.h"
#include "sheet/sheet_layout.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using namespace sheet;
using testing::DefaultRules;
using testing::TempFolder;

const int kHarpyRow = UnitRow(0);

/// Counts what the document tells it.
struct CountingView : DocumentView {
    int changes = 0;
    std::vector<DocumentNotice> notices;
    void BattleChanged() override { ++changes; }
    void Notice(const DocumentNotice& notice) override { notices.push_back(notice); }
};

/// An editor holding text the player has not yet ended, as the grid's would.
struct FakeEditor : OpenEdit {
    BattleDocument* document = nullptr;
    std::string text;
    int col = kDefShips, row = kHarpyRow;
    bool open = false;
    void FinishEdit() override {
        if (!open) return;
        open = false;
        document->EndEdit(col, row, text);
    }
    bool Editing() const override { return open; }
};

struct RecordingOwner : HeldChange {
    int ended = 0;
    void HoldEnded() override { ++ended; }
};

struct DocumentTest : ::testing::Test {
    SimulationContext context;
    BattleDocument document{DefaultRules(), context};
    CountingView view;
    TempFolder folder;

    DocumentTest() { document.AddView(&view); }
    const std::string& Cell(int col, int row) const { return document.Sheet().Cell(col, row); }
    void Type(int col, int row, const std::string& text) { document.EndEdit(col, row, text); }
    void Tick(int steps) {
        for (int i = 0; i < std::abs(steps); ++i) steps > 0 ? document.StepForward() : document.StepBack();
    }
    std::filesystem::path SavedBattle(const std::string& name, const std::string& harpies) {
        BattleDocument other{DefaultRules(), context};
        other.EndEdit(kDefShips, kHarpyRow, harpies);
        other.EndEdit(kAttShips, kHarpyRow, "40");
        const auto path = folder.Path() / name;
        EXPECT_TRUE(other.SaveFile(path).ok());
        return path;
    }
};

TEST(StepNames, EveryStepHasItsOwnMenuName) {
    std::set<std::string> names;
    for (int i = 0; i <= static_cast<int>(kLastStep); ++i) {
        const std::string name = StepName(static_cast<Step>(i));
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
    EXPECT_STREQ(StepName(Step::Typing), "Typing");
    EXPECT_STREQ(StepName(Step::TickStep), "Tick Step");
    EXPECT_STREQ(StepName(Step::UseThisFleet), "Use This Fleet");
}

TEST_F(DocumentTest, EveryEndOfAnEditHasOneOutcomeAndTellsIt) {
    Type(kDefShips, kHarpyRow, "5");
    EXPECT_EQ(Cell(kDefShips, kHarpyRow), "5");
    EXPECT_EQ(view.changes, 1);  // one step, told once
    EXPECT_STREQ(document.UndoName(), "Typing");

    // The same count again: no step, nothing to say.
    Type(kDefShips, kHarpyRow, "5");
    EXPECT_EQ(view.changes, 1);
    EXPECT_TRUE(view.notices.empty());

    // Text that is no count never replaces a count: no step, told beside the cell.
    Type(kDefShips, kHarpyRow, "70000000");
    Type(kDefShips, kHarpyRow, "9.000");
    EXPECT_EQ(Cell(kDefShips, kHarpyRow), "70000000");
    EXPECT_EQ(view.changes, 2);
    ASSERT_EQ(view.notices.size(), 1u);
    EXPECT_EQ(view.notices[0].text, "'9.000' is not a count: the cell keeps 70,000,000");
    EXPECT_EQ(view.notices[0].row, kHarpyRow);
    Type(kDefShips, kScoreRow, "99999999999999999999");
    EXPECT_EQ(view.notices.back().text, "'99999999999999999999' is more than the cell can hold "
                                        "(-9,223,372,036,854,775,808 to 9,223,372,036,854,775,807): nothing was entered");

    // Into an empty cell it changes nothing, and says so rather than pointing at Ctrl+Z,
    // which would take back an earlier edit.
    document.Undo();
    Type(kDefShips, kHarpyRow + 1, "abc");
    EXPECT_EQ(view.notices.back().text, "'abc' is not a count: nothing was entered");
    EXPECT_STREQ(document.RedoName(), "Typing");  // no step was recorded over the undone one

    // A count below zero stays as typed, and the player hears that it fights as no ships.
    Type(kAttShips, kHarpyRow, "-40");
    EXPECT_EQ(Cell(kAttShips, kHarpyRow), "-40");
    EXPECT_EQ(view.notices.back().text, "'-40' is below zero: it stays as typed and fights as no ships");
}

TEST_F(DocumentTest, ACommandEndsTheOpenEditFirstAsAStepOfItsOwnAndIsToldOnce) {
    FakeEditor editor;
    editor.document = &document;
    document.SetOpenEdit(&editor);
    Type(kAttShips, kHarpyRow, "40");
    editor.text = "125k";
    editor.open = true;
    EXPECT_STREQ(document.UndoName(), "Typing");  // the open edit is what Undo takes first
    document.ClearAttacker();
    EXPECT_EQ(view.changes, 3);  // the typing, then the command
    document.Undo();
    EXPECT_EQ(Cell(kDefShips, kHarpyRow), "125000");
    EXPECT_STREQ(document.UndoName(), "Typing");

    // A held change (a spin) is not where a typed count goes: the count ends it first.
    RecordingOwner owner;
    document.BeginSpin(kAttShips, kHarpyRow, owner);
    document.Spin(7);
    EXPECT_EQ(view.changes, 5);  // the spin's beat is shown
    editor.text = "9";
    editor.open = true;
    document.UseValue(Side::Attacker, kHarpyRow + 1, 3);
    EXPECT_EQ(owner.ended, 1);
    EXPECT_FALSE(document.Holding());
    EXPECT_EQ(Cell(kAttShips, kTotalUnitsRow), "50");  // 40 + 7 spun + 3, calculated
    document.Undo();
    EXPECT_STREQ(document.UndoName(), "Typing");
    document.Undo();
    EXPECT_EQ(Cell(kDefShips, kHarpyRow), "125000");
    EXPECT_STREQ(document.UndoName(), "Spin");
}

// A zero count is an empty cell, whichever command writes it: the saved file does not depend
// on where the count came from. The attacker's asteroid rows keep what is written (no
// recalculation rewrites them), so they show what each command wrote.
TEST_F(DocumentTest, EveryCommandWritesAZeroCountAsAnEmptyCell) {
    const int row = kFirstRoidRow;
    const auto reset = [&] { DocumentTestSeam::Sheet(document).SetCell(kAttShips, row, "5"); };
    reset();
    document.UseValue(Side::Attacker, row, 0);
    EXPECT_EQ(Cell(kAttShips, row), "");
    reset();
    document.UseFleet({{row, 0}, {kHarpyRow, 0}});
    EXPECT_EQ(Cell(kAttShips, row), "");
    EXPECT_EQ(Cell(kAttShips, kHarpyRow), "");
    reset();
    RecordingOwner grid;
    document.BeginSpin(kAttShips, row, grid);
    document.Spin(-5);
    EXPECT_EQ(Cell(kAttShips, row), "");
    document.Spin(-1);  // below empty it stays empty
    EXPECT_EQ(Cell(kAttShips, row), "");
    document.EndHold();
    EXPECT_EQ(CountText(0), "");
    EXPECT_EQ(CountText(-3), "-3");
    EXPECT_EQ(CountText(2147483647), "2147483647");
}

/// A log window whose every logged step gives the document commands, as the event loop of a
/// message box shown inside the simulation would.
struct ReenteringLog : LogWindowPort, BattleLogSink {
    BattleDocument* document = nullptr;
    bool fired = false;
    bool busy = false;
    std::uint64_t nested = 0;
    bool LogWindowVisible() const override { return true; }
    bool LogsEveryRecalculation() const override { return true; }
    void SetUpdateLogEnabled(bool) override {}
    void ClearLog() override {}
    BattleLogSink& LogSink() override { return *this; }
    void BeginLogRun() override {}
    void WriteLogStep(const StepLists&) override {
        if (fired) return;
        fired = true;
        busy = document->Busy();
        const std::uint64_t before = document->Sheet().Recalculations();
        document->Recalculate();
        document->WriteRandomBattle();
        document->StepForward();
        document->EndEdit(kDefShips, kHarpyRow, "5");
        document->Undo();
        document->EndHold();
        nested = document->Sheet().Recalculations() - before;
    }
};

TEST_F(DocumentTest, ACommandGivenWhileARecalculationRunsIsRefused) {
    ReenteringLog log;
    log.document = &document;
    document.SetLogWindow(&log);
    RecordingOwner run;
    document.BeginDebugRun(run, 11);
    document.WriteRandomBattle();
    const SheetCells written = document.Sheet().Cells();
    document.Recalculate();
    ASSERT_TRUE(log.fired);
    EXPECT_TRUE(log.busy);
    EXPECT_EQ(log.nested, 0u);  // no recalculation started inside this one
    EXPECT_EQ(document.Sheet().CurrentTick(), 1);
    EXPECT_TRUE(document.Holding());  // the run goes on, its battle untouched
    EXPECT_EQ(run.ended, 0);
    for (int r = 1; r <= kLastUnitRow; ++r) EXPECT_EQ(Cell(kDefShips, r), written.At(kDefShips, r));
    EXPECT_FALSE(document.Busy());
    document.SetLogWindow(nullptr);
    document.EndHold();
    EXPECT_STREQ(document.UndoName(), "Debug Run");
}

TEST_F(DocumentTest, TickStepsAreNoChangeAndAskNothing) {
    const auto raid = SavedBattle("raid.kbf", "100");
    ASSERT_TRUE(document.OpenFile(raid).ok());
    EXPECT_FALSE(document.Changed());
    Tick(2);
    EXPECT_FALSE(document.Changed());
    EXPECT_TRUE(document.ShowsFileBattle());
    // Saving into the file that holds the set-up asks which to save, naming both ticks.
    EXPECT_EQ(document.LaterTickQuestion(raid),
              "raid.kbf: the sheet shows tick 3 of the battle set up at tick 1. Save the set-up of tick 1 or the "
              "fleets of tick 3?");
    EXPECT_EQ(document.LaterTickQuestion(folder.Path() / "other.kbf"), "");

    Type(kAttShips, kHarpyRow, "1");
    EXPECT_TRUE(document.Changed());
    document.Undo();
    EXPECT_FALSE(document.Changed());
}

// A set-up edited and stepped on from is saved without stepping back, and the save says
// where it wrote; an edit at a later tick makes that tick the set-up.
TEST_F(DocumentTest, TheSetUpIsSavedFromALaterTick) {
    const auto raid = SavedBattle("raid.kbf", "100");
    ASSERT_TRUE(document.OpenFile(raid).ok());
    Type(kAttShips, kHarpyRow, "55");
    Tick(2);
    ASSERT_NE(Cell(kAttShips, kHarpyRow), "55");  // the attack lost ships in two ticks
    EXPECT_EQ(document.SetUpTick(), 1);
    view.notices.clear();
    ASSERT_TRUE(document.SaveFile(raid, SaveWhat::SetUp).ok());
    BattleDocument reread{DefaultRules(), context};
    ASSERT_TRUE(reread.OpenFile(raid).ok());
    EXPECT_EQ(reread.Sheet().Cell(kAttShips, kHarpyRow), "55");
    EXPECT_EQ(reread.Sheet().Cell(kDefShips, kHarpyRow), "100");
    ASSERT_EQ(view.notices.size(), 1u);
    EXPECT_EQ(view.notices[0].text, "Saved to " + raid.string());
    EXPECT_EQ(document.Sheet().CurrentTick(), 3);  // the sheet stays where it was
    EXPECT_FALSE(document.Changed());
    EXPECT_EQ(document.FileTick(), 1);
    EXPECT_TRUE(document.ShowsFileBattle());

    Type(kAttShips, kHarpyRow, "7");  // an edit at tick 3: the set-up of what follows
    Tick(1);
    EXPECT_EQ(document.SetUpTick(), 3);
    ASSERT_TRUE(document.SaveFile(raid, SaveWhat::SetUp).ok());
    ASSERT_TRUE(reread.OpenFile(raid).ok());
    EXPECT_EQ(reread.Sheet().Cell(kAttShips, kHarpyRow), "7");
    document.Undo();  // the tick step
    document.Undo();  // the edit: tick 3 as stepped on from tick 1 again
    EXPECT_EQ(document.SetUpTick(), 1);
}

TEST_F(DocumentTest, SteppingBackPastTheOpenedTickLeavesTheFilesBattle) {
    const auto first = SavedBattle("first.kbf", "100");
    const auto second = SavedBattle("second.kbf", "200");
    ASSERT_TRUE(document.OpenFile(first).ok());
    Tick(2);
    ASSERT_TRUE(document.OpenFile(second).ok());  // into tick 3, the history kept
    EXPECT_EQ(document.File(), second);
    EXPECT_TRUE(document.ShowsFileBattle());
    Tick(-2);
    // The first battle's fleets are on the sheet: Save must not write them into second.kbf.
    EXPECT_FALSE(document.ShowsFileBattle());
    EXPECT_FALSE(document.Changed());
    Tick(2);
    EXPECT_FALSE(document.ShowsFileBattle());  // tick 3 again, but of the first battle
    document.Undo();
    document.Undo();
    document.Undo();
    document.Undo();
    EXPECT_TRUE(document.ShowsFileBattle());  // back to second.kbf as opened
    document.Undo();
    EXPECT_FALSE(document.ShowsFileBattle());  // before it was opened
}

TEST_F(DocumentTest, LinesOfAnOpenedFileThatAreNoCountAreToldOnceAfterTheChange) {
    const auto path = SavedBattle("raid.kbf", "100");
    std::string bytes;
    {
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), {});
    }
    ASSERT_TRUE(bytes.starts_with("100\r\n"));
    bytes.replace(0, 3, "9,000");  // the defender's 100 Harpies, written as a player would
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file << bytes;
    }
    ASSERT_TRUE(document.OpenFile(path).ok());
    ASSERT_EQ(view.notices.size(), 1u);
    EXPECT_EQ(view.notices[0].col, -1);
    EXPECT_EQ(view.notices[0].text, "raid.kbf: lines that are no count as written (click to close):");
    ASSERT_EQ(view.notices[0].lines.size(), 1u);
    EXPECT_NE(view.notices[0].lines[0].find("line 1"), std::string::npos);
}

TEST_F(DocumentTest, AFileIsKeptByItsAbsoluteName) {
    SavedBattle("raid.kbf", "100");
    const auto start = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    const BattleFileResult opened = document.OpenFile("raid.kbf");
    std::filesystem::current_path(start);
    ASSERT_TRUE(opened.ok());
    EXPECT_TRUE(document.File().is_absolute());
    EXPECT_EQ(document.File(), (folder.Path() / "raid.kbf").lexically_normal());
    EXPECT_EQ(document.LaterTickQuestion(folder.Path() / "raid.kbf"), "");
}

}  // namespace
}  // namespace kestrin
