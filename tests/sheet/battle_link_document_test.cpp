// A battle shared as a link opens in the desktop program as a file's battle does.
#include <gtest/gtest.h>

#include "engine/temp_folder.h"
#include "sheet/battle_document.h"
#include "sheet/battle_file.h"
#include "sheet/battle_link.h"
#include "sheet/sheet_layout.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

using testing::DefaultRules;

// A chat line holding a link opens its battle calculated, as one step that belongs to no
// file; a broken link is told and changes nothing.
TEST(BattleLinkDocument, AChatLineOpensItsBattleAndABrokenLinkChangesNothing) {
    SimulationContext context;
    BattleDocument shared{DefaultRules(), context};
    shared.EndEdit(sheet::kDefShips, sheet::UnitRow(0), "300");
    shared.EndEdit(sheet::kAttShips, sheet::UnitRow(48), "2500");
    const std::string bytes = BattleFileBytes(shared.Sheet().Cells());

    BattleDocument document{DefaultRules(), context};
    testing::TempFolder folder;
    ASSERT_TRUE(document.SaveFile(folder.Path() / "own.kbf").ok());
    const std::string chat = "raid at 21:00 https://kestrin.example.org/" + BattleLinkFragment(bytes) + " go";
    ASSERT_TRUE(document.OpenLink(chat).ok());
    EXPECT_EQ(document.Sheet().Cells(), shared.Sheet().Cells());
    EXPECT_STREQ(document.UndoName(), "Open File");
    EXPECT_TRUE(document.File().empty());
    EXPECT_FALSE(document.ShowsFileBattle());

    const BattleFileResult broken = document.OpenLink("#battle=@@@");
    EXPECT_FALSE(broken.ok());
    EXPECT_FALSE(broken.message.empty());
    EXPECT_EQ(document.Sheet().Cells(), shared.Sheet().Cells());
    document.Undo();
    EXPECT_EQ(document.Sheet().Cell(sheet::kDefShips, sheet::UnitRow(0)), "");
}

// A link carries a set-up: opened at tick 3 it is tick 1 of a battle of its own, with no
// earlier tick of the battle before it; Undo brings that battle back at its tick.
TEST(BattleLinkDocument, ALinkOpensAtTickOneWithNoEarlierTicks) {
    SimulationContext context;
    BattleDocument document{DefaultRules(), context};
    document.EndEdit(sheet::kDefShips, sheet::UnitRow(0), "300");
    document.EndEdit(sheet::kAttShips, sheet::UnitRow(0), "900");
    document.StepForward();
    document.StepForward();
    const SheetCells atTickThree = document.Sheet().Cells();

    ASSERT_TRUE(document.OpenLink(BattleLinkFragment(BattleFileBytes(SheetCells()))).ok());
    EXPECT_EQ(document.Sheet().CurrentTick(), 1);
    EXPECT_TRUE(document.Sheet().TickHistory().empty());
    EXPECT_EQ(document.Sheet().Cell(sheet::kAttShips, sheet::UnitRow(0)), "");
    document.Undo();
    EXPECT_EQ(document.Sheet().CurrentTick(), 3);
    EXPECT_EQ(document.Sheet().Cells(), atTickThree);
}

}  // namespace
}  // namespace kestrin
