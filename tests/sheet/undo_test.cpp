#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "sheet/battle_document.h"
#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "sheet/cell_clipboard.h"
#include "sheet/document_test_seam.h"
#include "sheet_test_support.h"

// While armed, the allocation after the next `failAfter` ones fails, once.
namespace {
std::atomic<long> failAfter{-1};
std::atomic<bool> failed{false};
}  // namespace

void* operator new(std::size_t size) {
    if (const long left = failAfter.load(std::memory_order_relaxed); left >= 0) {
        failAfter = left - 1;
        if (left == 0) {
            failed = true;
            throw std::bad_alloc();
        }
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
// The replacement pairs malloc with free; the compiler cannot see that through inlining.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#pragma GCC diagnostic pop

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

// The battle as undo keeps it; the panel follows from the cells by the recalculation.
struct Battle {
    SheetCells cells;
    int tick;
    std::vector<TickInputs> history;
    bool reportView;
    friend bool operator==(const Battle&, const Battle&) = default;
};

Battle Of(const BattleSheet& s) { return {s.Cells(), s.CurrentTick(), s.TickHistory(), s.ReportView()}; }

/// A document whose battle a test sets up cell by cell.
struct DocumentFixture {
    SimulationContext context;
    BattleDocument document{DefaultRules(), context};
    BattleSheet& sheet = DocumentTestSeam::Sheet(document);

    void Put(int col, int row, long long value) { sheet.SetCell(col, row, std::to_string(value)); }
    /// How many steps Undo can take back; the battle is left as it was.
    int Steps() {
        int steps = 0;
        for (; document.CanUndo(); ++steps) document.Undo();
        for (int i = 0; i < steps; ++i) document.Redo();
        return steps;
    }
};

// A battle at tick 2 with a history and an edit typed on tick 2.
void SetUpBattle(DocumentFixture& f) {
    f.Put(kDefShips, UnitRow(kHarpy), 500);
    f.Put(kAttShips, UnitRow(kPhoenix), 400);
    f.Put(kAttShips, UnitRow(kAstroPod), 60);
    f.Put(kDefShips, kFirstRoidRow + 1, 200);
    f.document.Recalculate();
    f.document.StepForward();
    f.document.EndEdit(kAttShips, UnitRow(kDragon), "7");
}

struct SpinOwner : HeldChange {
    void HoldEnded() override {}
};

struct Change {
    const char* name;
    Step step;
    std::function<void(BattleDocument&)> apply;
};

const Change kChanges[] = {
    {"typed count", Step::Typing, [](BattleDocument& d) { d.EndEdit(kDefShips, UnitRow(kHarpy), "90"); }},
    {"whole spin", Step::Spin, [](BattleDocument& d) {
         static SpinOwner owner;
         d.BeginSpin(kAttShips, UnitRow(kSpider), owner);
         for (int beat = 1; beat <= 5; ++beat) d.Spin(beat);
         d.EndHold();
     }},
    {"delete", Step::Delete, [](BattleDocument& d) { d.Delete(CellRange::Spanning(kDefShips, 1, kAttShips, 60)); }},
    {"clear all", Step::ClearAll, [](BattleDocument& d) { d.ClearAll(); }},
    {"clear defender", Step::ClearDefender, [](BattleDocument& d) { d.ClearDefender(); }},
    {"clear attacker", Step::ClearAttacker, [](BattleDocument& d) { d.ClearAttacker(); }},
    {"step forward", Step::TickStep, [](BattleDocument& d) { d.StepForward(); }},
    {"step back", Step::TickBack, [](BattleDocument& d) { d.StepBack(); }},
    {"opened file", Step::OpenFile, [](BattleDocument& d) {
         std::string bytes;
         for (int line = 0; line < kBattleFileLines; ++line) bytes += line == 2 ? "33\r\n" : "\r\n";
         (void)d.OpenBytes(bytes);
     }},
    {"paste", Step::Paste, [](BattleDocument& d) { d.Paste(kDefShips, UnitRow(kHarpy), "1,000\n2k"); }},
    {"use a value", Step::UseThisValue, [](BattleDocument& d) { d.UseValue(Side::Attacker, UnitRow(kPhoenix), 0); }},
    {"use a fleet", Step::UseThisFleet,
     [](BattleDocument& d) { d.UseFleet({{UnitRow(kPhoenix), 10}, {UnitRow(kHarpy), 0}}); }},
    {"combat report", Step::CombatReport, [](BattleDocument& d) {
         ReportFigures report;
         report.kind = ReportKind::Combat;
         report.combat.AttackerTotal[kHarpy] = 20;
         report.combat.AttackerLost[kHarpy] = 2;
         d.ApplyReport(report);
     }},
    {"debug run", Step::DebugRun, [](BattleDocument& d) {
         static SpinOwner owner;
         d.BeginDebugRun(owner, 7);
         for (int battle = 0; battle < 3; ++battle) {
             d.WriteRandomBattle();
             d.Recalculate();
         }
         d.EndHold();
     }},
};

// Each command is exactly one step, named as the menu names it, whatever the sheet does
// inside it (a combat report clears the sheet; a tick step recalculates): undo brings back
// exactly the battle before it, redo the one after.
TEST(Undo, EachCommandIsOneStepUndoneAndRedoneExactly) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        DocumentFixture f;
        SetUpBattle(f);
        const Battle before = Of(f.sheet);
        const int steps = f.Steps();
        change.apply(f.document);
        const Battle after = Of(f.sheet);
        ASSERT_NE(after, before);
        EXPECT_EQ(f.Steps(), steps + 1);
        EXPECT_STREQ(f.document.UndoName(), StepName(change.step));
        f.document.Undo();
        EXPECT_EQ(Of(f.sheet), before);
        EXPECT_TRUE(f.document.CanRedo());
        f.document.Redo();
        EXPECT_EQ(Of(f.sheet), after);
        EXPECT_FALSE(f.document.CanRedo());
    }
}

TEST(Undo, ChangesThatChangeNothingAreNoSteps) {
    DocumentFixture f;
    f.document.ClearDefender();
    f.document.ClearAll();
    f.document.StepBack();
    f.document.EndEdit(kDefShips, 1, "");  // an edit that leaves the cell as it was
    f.document.Delete(CellRange::Spanning(kDefHeld, 1, kDefLeft, 5));  // no input cell
    SpinOwner owner;
    f.document.BeginSpin(kDefShips, 1, owner);  // a spin pressed and cancelled
    f.document.Spin(5);
    f.document.CancelHold();
    EXPECT_EQ(f.sheet.Cell(kDefShips, 1), "");
    EXPECT_FALSE(f.document.CanUndo());
}

TEST(Undo, KeepsTheLastHundredStepsAndANewChangeEndsRedo) {
    DocumentFixture f;
    for (int value = 1; value <= 101; ++value) f.document.EndEdit(kDefShips, UnitRow(kHarpy), std::to_string(value));
    int undone = 0;
    while (f.document.CanUndo()) {
        f.document.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "1");  // the oldest step is gone
    f.document.Redo();
    f.document.ClearDefender();
    EXPECT_FALSE(f.document.CanRedo());
}

// Every allocation of every command is made to fail in turn: the exception reaches the
// caller, and the battle is as it was (or, failing after the step was recorded, the step is
// whole and undoes), and the steps before it still undo.
TEST(Undo, AChangeThatRunsOutOfMemoryLeavesTheBattleAsItWas) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        for (long allocation = 0;; ++allocation) {
            DocumentFixture f;
            SetUpBattle(f);
            const Battle before = Of(f.sheet);
            failed = false;
            failAfter = allocation;
            bool thrown = false;
            try {
                change.apply(f.document);
            } catch (const std::bad_alloc&) {
                thrown = true;
            }
            failAfter = -1;
            if (!failed) break;
            ASSERT_TRUE(thrown) << "allocation " << allocation;
            ASSERT_FALSE(f.document.Busy());
            if (f.document.Holding()) f.document.EndHold();
            if (Of(f.sheet) != before) {
                f.document.Undo();
                ASSERT_EQ(Of(f.sheet), before) << "allocation " << allocation;
            }
            while (f.document.CanUndo()) f.document.Undo();
            ASSERT_EQ(f.sheet.CurrentTick(), 1);
        }
    }
}

// A tick step shares the history instead of copying it, and big cells cannot make the steps
// hold more than the ceiling.
TEST(Undo, TheMemoryOfTheStepsIsBounded) {
    DocumentFixture f;
    SetUpBattle(f);
    for (int tick = 0; tick < 300; ++tick) f.document.StepForward();
    const std::size_t after300 = f.sheet.UndoBytes();
    for (int tick = 0; tick < 2000; ++tick) f.document.StepForward();
    EXPECT_LT(f.sheet.UndoBytes(), after300 + after300 / 10);

    f.sheet.SetCell(kAttShips, kFirstRoidRow, std::string(std::size_t{3} << 20, '7'));
    for (int value = 1; value <= 40; ++value) f.document.EndEdit(kDefShips, UnitRow(kHarpy), std::to_string(value));
    EXPECT_LE(f.sheet.UndoBytes(), UndoHistory::kBytes);
    f.document.Undo();
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "39");
}

// A tick of the history holds its texts, not 132 strings: about a kilobyte at most for a
// battle, even over a long run, and every text comes back as it was.
TEST(Undo, ATickOfTheHistoryIsCompact) {
    DocumentFixture f;
    SetUpBattle(f);
    for (int row = 0; row < kRows; ++row) f.sheet.SetCell(kAttShips, row, "123456");
    for (int tick = 0; tick < 200; ++tick) f.document.StepForward();
    const std::vector<TickInputs> history = f.sheet.TickHistory();
    std::size_t bytes = 0;
    for (std::size_t tick = 1; tick < history.size(); ++tick) {
        const TickHistoryEntry entry(nullptr, history[tick]);
        EXPECT_EQ(entry.Inputs(), history[tick]);
        bytes += entry.bytes;
    }
    EXPECT_LE(bytes / (history.size() - 1), 1024u);

    TickInputs odd;
    odd[0] = std::string("\0\x80\xFF", 3);
    odd[131] = std::string(20000, '9');
    EXPECT_EQ(TickHistoryEntry(nullptr, odd).Inputs(), odd);
}

TEST(Undo, ClosesAChangeStillOpen) {
    SheetFixture f;
    f.sheet.BeginChange(Step::Spin);  // a spin still held
    f.Put(kAttShips, UnitRow(kHarpy), 3);
    f.sheet.Undo();
    EXPECT_EQ(f.sheet.Cell(kAttShips, UnitRow(kHarpy)), "");
    f.sheet.EndChange();  // the release after it changes nothing
    EXPECT_TRUE(f.sheet.CanRedo());
}

}  // namespace
}  // namespace kestrin
