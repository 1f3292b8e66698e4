#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "sheet/battle_file.h"
#include "sheet/battle_sheet.h"
#include "sheet/cell_clipboard.h"
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

// A battle at tick 2 with a history and an edit typed on tick 2.
void SetUpBattle(SheetFixture& f) {
    f.Put(kDefShips, UnitRow(kHarpy), 500);
    f.Put(kAttShips, UnitRow(kPhoenix), 400);
    f.Put(kAttShips, UnitRow(kAstroPod), 60);
    f.Put(kDefShips, kFirstRoidRow + 1, 200);
    f.Recalc();
    f.sheet.StepForward();
    f.Put(kAttShips, UnitRow(kDragon), 7);
    f.Recalc();
}

struct Change {
    const char* name;
    std::function<void(BattleSheet&)> apply;
};

const Change kChanges[] = {
    {"typed count", [](BattleSheet& s) {
         s.BeginChange(Step::Typing);
         s.SetCell(kDefShips, UnitRow(kHarpy), "90");
         s.EndChange();
         s.Recalculate();
     }},
    {"whole spin", [](BattleSheet& s) {
         s.BeginChange(Step::Typing);
         for (int value = 1; value <= 5; ++value) {
             s.SetCell(kAttShips, UnitRow(kSpider), std::to_string(value));
             s.Recalculate();
         }
         s.EndChange();
     }},
    {"clear all", [](BattleSheet& s) { s.ClearGrid(); }},
    {"clear defender", [](BattleSheet& s) { s.ClearDef(); }},
    {"clear attacker", [](BattleSheet& s) { s.ClearAtt(); }},
    {"step forward", [](BattleSheet& s) { s.StepForward(); }},
    {"step back", [](BattleSheet& s) { s.StepBack(); }},
    {"opened file", [](BattleSheet& s) {
         std::string bytes;
         for (int line = 0; line < kBattleFileLines; ++line) bytes += line == 2 ? "33\r\n" : "\r\n";
         (void)ReadBattleFileBytes(s, bytes);
     }},
    {"paste", [](BattleSheet& s) { PasteCellsText(s, kDefShips, UnitRow(kHarpy), "1,000\n2k"); }},
};

TEST(Undo, EachKindOfChangeIsUndoneAndRedoneExactly) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        SheetFixture f;
        SetUpBattle(f);
        const Battle before = Of(f.sheet);
        change.apply(f.sheet);
        const Battle after = Of(f.sheet);
        ASSERT_NE(after, before);
        ASSERT_TRUE(f.sheet.CanUndo());
        f.sheet.Undo();
        EXPECT_EQ(Of(f.sheet), before);
        EXPECT_TRUE(f.sheet.CanRedo());
        f.sheet.Redo();
        EXPECT_EQ(Of(f.sheet), after);
        EXPECT_FALSE(f.sheet.CanRedo());
    }
}

TEST(Undo, ChangesThatChangeNothingAreNoSteps) {
    SheetFixture f;
    f.sheet.ClearDef();
    f.sheet.ClearGrid();
    f.sheet.StepBack();
    f.sheet.BeginChange(Step::Typing);  // an edit typed and then cancelled
    f.sheet.SetCell(kDefShips, 1, "5");
    f.sheet.SetCell(kDefShips, 1, "");
    f.sheet.EndChange();
    EXPECT_FALSE(f.sheet.CanUndo());
}

TEST(Undo, KeepsTheLastHundredStepsAndANewChangeEndsRedo) {
    SheetFixture f;
    for (int value = 1; value <= 101; ++value) {
        f.sheet.BeginChange(Step::Typing);
        f.Put(kDefShips, UnitRow(kHarpy), value);
        f.sheet.EndChange();
    }
    int undone = 0;
    while (f.sheet.CanUndo()) {
        f.sheet.Undo();
        ++undone;
    }
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "1");  // the oldest step is gone
    f.sheet.Redo();
    f.sheet.ClearDef();
    EXPECT_FALSE(f.sheet.CanRedo());
}

// Every allocation of every change is made to fail in turn: the exception reaches the caller,
// the battle is as it was, and the steps before it still undo.
TEST(Undo, AChangeThatRunsOutOfMemoryLeavesTheBattleAsItWas) {
    for (const Change& change : kChanges) {
        SCOPED_TRACE(change.name);
        for (long allocation = 0;; ++allocation) {
            SheetFixture f;
            SetUpBattle(f);
            const Battle before = Of(f.sheet);
            failed = false;
            failAfter = allocation;
            bool thrown = false;
            try {
                change.apply(f.sheet);
            } catch (const std::bad_alloc&) {
                thrown = true;
            }
            failAfter = -1;
            if (!failed) break;
            ASSERT_TRUE(thrown) << "allocation " << allocation;
            ASSERT_EQ(Of(f.sheet), before) << "allocation " << allocation;
            f.sheet.Undo();
            ASSERT_EQ(f.sheet.CurrentTick(), 1);
        }
    }
}

// A tick step shares the history instead of copying it, and big cells cannot make the steps
// hold more than the ceiling.
TEST(Undo, TheMemoryOfTheStepsIsBounded) {
    SheetFixture f;
    SetUpBattle(f);
    for (int tick = 0; tick < 300; ++tick) f.sheet.StepForward();
    const std::size_t after300 = f.sheet.UndoBytes();
    for (int tick = 0; tick < 2000; ++tick) f.sheet.StepForward();
    EXPECT_LT(f.sheet.UndoBytes(), after300 + after300 / 10);

    f.sheet.SetCell(kAttShips, kFirstRoidRow, std::string(std::size_t{3} << 20, '7'));
    for (int value = 1; value <= 40; ++value) {
        f.sheet.BeginChange(Step::Typing);
        f.Put(kDefShips, UnitRow(kHarpy), value);
        f.sheet.EndChange();
    }
    EXPECT_LE(f.sheet.UndoBytes(), UndoHistory::kBytes);
    f.sheet.Undo();
    EXPECT_EQ(f.sheet.Cell(kDefShips, UnitRow(kHarpy)), "39");
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
