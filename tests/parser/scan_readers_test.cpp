#include <gtest/gtest.h>

#include "parser/scan_readers.h"
#include "parser/ship_names.h"
#include "sheet/text_lines.h"
#include "parser/tokenizer.h"

namespace kestrin {
namespace {

using Tokens = std::vector<std::string>;

TEST(Tokenizer, WordsRunTogetherAndNumbersEndAtBlanksAndPunctuation) {
    struct Case { const char* line; Tokens tokens; };
    const Case cases[] = {
        {"", {}},
        {"Harpy 100", {"Harpy", "100"}},
        {"Harpy 100 ", {"Harpy", "100"}},
        {"Metal Asteroids 120", {"MetalAsteroids", "120"}},
        {"Asteroids ( Score: 5", {"Asteroids(Score:", "5"}},
        {"1,234 Harpy", {"1", ",", "234"}},                  // the open word "Harpy" at the end is dropped
        {"Man O' War\t12\tx", {"ManO'War\t", "12"}},         // a tab is a word character
        {"abc12def34", {"abc", "12", "def", "34"}},
        {"   7   ", {"7"}},
    };
    for (const Case& c : cases) EXPECT_EQ(TokenizeLine(c.line), c.tokens) << c.line;
}

TEST(TextLines, EveryLineEndingSplitsOnce) {
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Tokens{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\n\nb\n"), (Tokens{"a", "", "b"}));
    EXPECT_EQ(SplitLines("\r\n"), (Tokens{""}));
    EXPECT_TRUE(SplitLines("").empty());
}

TEST(ShipNames, CatalogueNamesAndAliases) {
    const ShipCatalogue& c = DefaultShipCatalogue();
    struct Case { const char* token; ShipIndex index; };
    for (Case k : {Case{"ManO'War", 47}, Case{"Mano'War", 47}, Case{"ManoWar", 47}, Case{"ManOWar", 47},
                   Case{"Widowmaker", 18}, Case{"WidowMaker", 18}, Case{"UniPOD", 7}, Case{"MegaPOD", 21},
                   Case{"Dreadnought", 35}, Case{"VsharrackFighter", 24}, Case{"harpy", -1}, Case{"", -1}})
        EXPECT_EQ(MatchShipName(k.token, c), k.index) << k.token;
    ShipCatalogue renamed = c;
    renamed.ships[0][ShipField::Name] = "Harpy Mk2";
    EXPECT_EQ(MatchShipName("Harpy", renamed), -1);
    renamed.ships[5][ShipField::Name] = "Phoenix";  // two types of one name: the higher index wins
    EXPECT_EQ(MatchShipName("Phoenix", renamed), 5);
}

TEST(UnitScan, NamesTakeTheFollowingCountAndLaterMentionsWin) {
    const auto counts = ReadUnitScan(TextLines("Unit scan of 1:2:3\n"
                                                "Harpy 100 Phoenix 20\n"
                                                "Pegasus lots\n"
                                                "Harpy 150\n"
                                                "Mesonic Cutter 40\n"   // two words join into the name
                                                "Dragon 1,500\n"
                                                "Centaur 99999999999\n"),
                                     DefaultShipCatalogue());
    EXPECT_EQ(counts[0], 150);
    EXPECT_EQ(counts[1], 20);
    EXPECT_EQ(counts[6], 0);
    EXPECT_EQ(counts[49], 40);
    EXPECT_EQ(counts[11], 1500);  // read whole, as the grid reads a typed count
    EXPECT_EQ(counts[3], 0);   // too long for a count
}

TEST(PlanetScan, FirstLayoutNamesEachFigureOnOneWord) {
    PlanetFigures f;
    ReportNotes notes;
    ReadPlanetScan(TextLines("Sector scan\n"
                              "Score 12345678901\n"
                              "Eonium 5000\n"
                              "Unknown Asteroids 10\n"
                              "Metal Asteroids 120\n"
                              "Crystal Asteroids 80\n"
                              "Eonium Asteroids 4294967301\n"),  // beyond a count: read as 0, and told
                   f, &notes);
    EXPECT_EQ(f.Score, 12345678901);
    EXPECT_EQ(f.Eonium, 5000);
    EXPECT_EQ(f.Roids, (std::array<std::int32_t, 4>{10, 120, 80, 0}));
    EXPECT_EQ(NotesInLineOrder(notes), std::vector<std::string>{"line 7: Eonium asteroids: '4294967301' is more than "
                                                                "a count can hold (2,147,483,647): read as 0"});
}

TEST(PlanetScan, SecondLayoutReadsKindsInsideTheAsteroidBlock) {
    PlanetFigures f;
    ReadPlanetScan(TextLines("Metal 999\n"          // before the block: ignored
                              "Eonium: 7000\n"
                              "Asteroids ( 45 ) Score: 900\n"
                              "Uninitiated 3\n"
                              "Metal 50\n"
                              "Crystal 40\n"
                              "Eonium 30\n"
                              "Eonium: 1\n"),        // after the block: ignored
                   f);
    EXPECT_EQ(f.Score, 900);
    EXPECT_EQ(f.Eonium, 7000);
    EXPECT_EQ(f.Roids, (std::array<std::int32_t, 4>{3, 50, 40, 30}));
}

}  // namespace
}  // namespace kestrin
