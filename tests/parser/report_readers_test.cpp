#include <gtest/gtest.h>

#include "parser/combat_report.h"
#include "parser/military_scan.h"
#include "sheet/text_lines.h"

namespace kestrin {
namespace {

TEST(MilitaryScan, ColumnsFollowTheOpeningName) {
    const MilitaryScan scan = ReadMilitaryScan(TextLines("Military Scan\n"
                                                          "Harpy 10 20 30 40\n"
                                                          "Phoenix 5 6\n"
                                                          "100 Dragon 1 2 3\n"        // name must open the line
                                                          "Man O' War 1 2 3 4 5\n"
                                                          "Harpy 11 21 31 41\n"),
                                               DefaultShipCatalogue());
    EXPECT_EQ(scan.Home[0], 11);
    EXPECT_EQ(scan.Fleet3[0], 41);
    EXPECT_EQ(scan.Home[1], 5);
    EXPECT_EQ(scan.Fleet1[1], 6);
    EXPECT_EQ(scan.Fleet2[1], 0);
    EXPECT_EQ(scan.Home[11], 0);
    EXPECT_EQ(scan.Fleet3[47], 4);
    struct Case { FleetChoice choice; std::int64_t harpies; };
    for (const Case& c : {Case{{true, false, false, false}, 11}, Case{{false, true, false, false}, 21},
                          Case{{false, false, true, false}, 31}, Case{{false, false, false, true}, 41},
                          Case{{}, 0}})
        EXPECT_EQ(ChosenFleets(scan, c.choice)[0], c.harpies);
    const auto all = ChosenFleets(scan, {true, true, true, true});
    EXPECT_EQ(all[0], 11 + 21 + 31 + 41);
}

// Unit lines carry six figures in the report's column order; each figure needs a blank after
// it that is not among the line's last two characters.
TEST(CombatReport, UnitLinesFillTheSixColumns) {
    const CombatReport r = ReadCombatReport(TextLines("Combat Report\n"
                                                       "Harpy 100 10 5 200 20 6   \n"
                                                       "Man O' War 7 1 0 0 0 0   \n"
                                                       "Ion Launcher 30 2 1   \n"   // PDS start at the defender
                                                       "Phoenix 4  9 3 2   \n"      // an empty field reads 0
                                                       "no digits at all\n"
                                                       "Pegasus 1 2 3 4 5 6 7 8   \n"),
                                            DefaultShipCatalogue());
    EXPECT_EQ(r.AttackerTotal[0], 100);
    EXPECT_EQ(r.AttackerLost[0], 10);
    EXPECT_EQ(r.AttackerHeld[0], 5);
    EXPECT_EQ(r.DefenderTotal[0], 200);
    EXPECT_EQ(r.DefenderLost[0], 20);
    EXPECT_EQ(r.DefenderHeld[0], 6);
    EXPECT_EQ(r.AttackerTotal[47], 7);
    EXPECT_EQ(r.DefenderTotal[53], 30);
    EXPECT_EQ(r.DefenderLost[53], 2);
    EXPECT_EQ(r.DefenderHeld[53], 1);
    EXPECT_EQ(r.AttackerTotal[1], 4);
    EXPECT_EQ(r.AttackerLost[1], 0);
    EXPECT_EQ(r.AttackerHeld[1], 9);
    EXPECT_EQ(r.DefenderHeld[6], 6);
}

// A figure written as a player types a count is read whole and told; one beyond a count is
// 0, told; other text is 0 as before.
TEST(CombatReport, FiguresAreReadAsTypedCountsAndTold) {
    ReportNotes notes;
    const CombatReport r = ReadCombatReport(TextLines("Harpy 1,500 12k 5 3000000000 x 6   \n"
                                                       "Asteroids  \n"
                                                       "Metal 1.200 18  \n"),
                                            DefaultShipCatalogue(), &notes);
    EXPECT_EQ(r.AttackerTotal[0], 1500);
    EXPECT_EQ(r.AttackerLost[0], 12000);
    EXPECT_EQ(r.DefenderTotal[0], 0);
    EXPECT_EQ(r.DefenderLost[0], 0);
    EXPECT_EQ(r.RoidsBefore[1], 1200);
    EXPECT_EQ(NotesInLineOrder(notes),
              (std::vector<std::string>{"line 1: Harpy: '1,500' read as 1500", "line 1: Harpy: '12k' read as 12000",
                                        "line 1: Harpy: '3000000000' is more than a count can hold (2,147,483,647): "
                                        "read as 0",
                                        "line 3: Metal: '1.200' read as 1200"}));
}

TEST(CombatReport, LastFigureWithoutTrailingBlanksIsNotRead) {
    const CombatReport r = ReadCombatReport(TextLines("Harpy 1 2 3 4 5 6"), DefaultShipCatalogue());
    EXPECT_EQ(r.DefenderLost[0], 0);   // "5 " ends among the last two characters
    EXPECT_EQ(r.DefenderTotal[0], 4);
}

TEST(CombatReport, AsteroidLinesCountOnlyInsideTheirSection) {
    const CombatReport r = ReadCombatReport(TextLines("Metal 99 99  \n"
                                                       "Asteroids  \n"
                                                       "Resource 10 2  \n"
                                                       "Metal 120 18  \n"
                                                       "\n"
                                                       "Crystal 80 12  \n"
                                                       "Salvage/Stolen  \n"
                                                       "Eonium 50 7  \n"),
                                            DefaultShipCatalogue());
    EXPECT_EQ(r.RoidsBefore, (std::array<std::int32_t, 4>{10, 120, 80, 0}));
    EXPECT_EQ(r.RoidsSecond, (std::array<std::int32_t, 4>{2, 18, 12, 0}));
}

// Whatever is pasted, the readers neither crash nor slow down: a megabyte line and bytes of
// every value.
TEST(ReportReaders, SurviveHugeAndBinaryText) {
    std::string text(2'000'000, 'x');
    text += " 123 ";
    text.append(1'000'000, '7');
    for (int c = 0; c < 256; ++c) text += static_cast<char>(c);
    const auto lines = TextLines(text);
    const ShipCatalogue& catalogue = DefaultShipCatalogue();
    EXPECT_NO_THROW(ReadCombatReport(lines, catalogue));
    EXPECT_NO_THROW(ReadMilitaryScan(lines, catalogue));
}

}  // namespace
}  // namespace kestrin
