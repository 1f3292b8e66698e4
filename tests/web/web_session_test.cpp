#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_app.h"
#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "engine/ship_stats_file.h"
#include "engine/temp_folder.h"
#include "settings/appearance.h"
#include "sheet/sheet_style.h"
#include "web/web_session.h"
#include "web/web_test_support.h"

namespace kestrin {
namespace {

const BattleRules& Rules() { return testing::WebRules(); }
using testing::Example;

// kestrin-cli run in process on `words`: its exit status and standard output (its error
// output when it failed).
std::pair<int, std::string> RunKestrinCli(std::vector<std::string> words) {
    words.insert(words.begin(), "kestrin-cli");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::istringstream in;
    std::ostringstream out, err;
    const int status = RunCli(static_cast<int>(words.size()), argv.data(), in, out, err, {});
    return {status, status == 0 ? out.str() : err.str()};
}

// The page's figures are kestrin-cli's own: the view after opening a battle and stepping
// equals calc's tick objects, cells and panel alike.
TEST(WebSession, OpenedBattleAndTicksShowWhatCalcPrints) {
    testing::TempFolder folder;
    const std::string stats = (folder.Path() / "ShipStats.ini").string();
    ASSERT_EQ(WriteDefaultShipStats(stats), "");
    const std::string battle = Example("fleet_battle.kbf");
    const auto [status, out] = RunKestrinCli({"calc", std::string(KESTRIN_EXAMPLES_DIR "/fleet_battle.kbf"), "--ticks",
                                              "3", "--stats", stats});
    ASSERT_EQ(status, 0) << out;
    std::vector<PageJson> ticks;
    for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        ticks.push_back(PageJson::parse(out.substr(start, end - start)));
    ASSERT_EQ(ticks.size(), 3u);

    WebSession session(Rules());
    PageJson view = session.Open(battle);
    EXPECT_EQ(view["notice"], "");
    for (int tick = 0; tick < 3; ++tick) {
        EXPECT_EQ(view["panel"], ticks[tick]["panel"]) << "tick " << tick + 1;
        EXPECT_EQ(view["cells"], ticks[tick]["cells"]) << "tick " << tick + 1;
        view = session.StepForward();
    }
}

// Typing goes through the grid's reading: a count is one named step, text that is no count
// is told, and Undo takes the count back.
TEST(WebSession, TypingUndoAndNotices) {
    WebSession session(Rules());
    PageJson view = session.Type(7, 1, "1.5k");
    EXPECT_EQ(view["cells"][1][7], "1500");
    EXPECT_EQ(view["shown"][1][7], "1,500");
    EXPECT_EQ(view["undo"], "Typing");
    EXPECT_EQ(view["notice"], "");
    view = session.Type(7, 1, "abc");
    EXPECT_NE(view["notice"].get<std::string>().find("'abc' is not a count"), std::string::npos);
    EXPECT_EQ(view["noticeCell"], PageJson({{"side", "attacker"}, {"row", 1}}));
    EXPECT_EQ(session.View()["notice"], "");  // told once
    EXPECT_TRUE(session.View()["noticeCell"].is_null());
    session.Undo();
    view = session.Undo();
    EXPECT_EQ(view["cells"][1][7], "");
    EXPECT_FALSE(view["canUndo"]);
    EXPECT_EQ(session.Redo()["cells"][1][7], "1500");
    // A caption is no input: typing there changes nothing.
    EXPECT_EQ(session.Type(0, 1, "5")["cells"][1][0], session.View()["cells"][1][0]);
}

// Saved bytes open again to the same battle; a file of the wrong length is told and changes
// nothing.
TEST(WebSession, SaveOpensAgainAndBadFilesAreTold) {
    WebSession session(Rules());
    session.Type(1, 3, "400");
    session.Type(7, 5, "20k");
    const std::string bytes = session.Save();
    EXPECT_NE(bytes.find("\r\n\r\n\r\n\r\n400\r\n\r\n\r\n\r\n\r\n20000\r\n"), std::string::npos);
    WebSession other(Rules());
    EXPECT_EQ(other.Open(bytes)["cells"], session.View()["cells"]);
    const PageJson refused = other.Open("1\r\n2\r\n");
    EXPECT_EQ(refused["notice"], "Incorrect File Length !!!");
    EXPECT_EQ(refused["cells"], session.View()["cells"]);
}

// The view holds all the page draws the grid with: every input the layout names takes a
// typed count and no other cell does; every style key names one of the page's colours; a
// combat report's view colours and parenthesises the report's columns; each figure of the
// panel carries its full text, the changing titles none.
TEST(WebSession, ViewCarriesLayoutStylesAndPanel) {
    WebSession session(Rules());
    const PageJson layout = session.View()["layout"];
    const int rows = layout["rows"], cols = layout["cols"];
    std::set<std::pair<int, int>> inputs, counts;
    for (const PageJson& side : layout["sides"]) {
        for (const PageJson& input : side["inputs"]) inputs.insert({side["column"].get<int>(), input["row"].get<int>()});
        for (const PageJson& count : side["countRows"]) counts.insert({side["column"].get<int>(), count["row"].get<int>()});
        EXPECT_EQ(side["inputs"].size(), side["lastRow"].get<int>() - side["firstRow"].get<int>() + 1);
    }
    EXPECT_EQ(layout["sides"][1]["side"], "attacker");
    EXPECT_EQ(layout["sides"][1]["inputs"][0]["label"], "Harpy attacker ships");
    EXPECT_EQ(layout["sides"][0]["countRows"][0]["caption"], "Harpy");
    // Every column of the rows at the edges of the sheet's blocks.
    for (const int row : {0, 1, 2, 54, 55, 59, 60, 64, rows - 1}) {
        for (int col = 0; col < cols; ++col) {
            const std::string before = session.View()["cells"][row][col];
            const bool taken = session.Type(col, row, "7")["cells"][row][col] == "7" && before != "7";
            // The computed totals take input too, but the recalculation overwrites it.
            if (counts.contains({col, row}) || !inputs.contains({col, row})) {
                EXPECT_EQ(taken, inputs.contains({col, row})) << col << "," << row;
            }
        }
    }

    const PageJson colours = GridStyle()["colours"];
    const auto knownKeys = [&](const PageJson& view) {
        for (const char* table : {"background", "colour"})
            for (const PageJson& line : view[table])
                for (const PageJson& key : line) EXPECT_TRUE(colours.contains(key.get<std::string>())) << key;
        EXPECT_TRUE(colours.contains(view["layout"]["gridLineColour"].get<std::string>()));
        EXPECT_TRUE(colours.contains(view["layout"]["raceLineColour"].get<std::string>()));
    };
    knownKeys(session.View());
    const bool fleets[4] = {};
    const PageJson report = session.ApplyReport("combat", "defender", fleets, "Combat Report\nHarpy 20 1 0 10 2 0\n");
    ASSERT_TRUE(report["reportView"]);
    knownKeys(report);
    EXPECT_EQ(report["colour"][1][4], "DefHeldFont");
    EXPECT_EQ(report["colour"][1][11], "AttLostFont");
    EXPECT_EQ(report["colour"][1][3], "DefLostFont");
    EXPECT_EQ(report["shown"][1][11], "(1)");
    EXPECT_EQ(session.StepForward()["colour"][1][4], "DefStealFont");

    const PageJson view = session.View();
    EXPECT_EQ(view["panelFull"].size(), view["panel"].size() - 3);
    EXPECT_FALSE(view["panelFull"].contains("DefLossGainLbl"));
    EXPECT_EQ(view["panelFull"]["DLoss"], view["panel"]["DLoss"]);
}

// The sheet's colours are the appearance colours of the same names, in their order: both
// faces turn one into the other by position.
TEST(WebSession, SheetColoursAreTheAppearanceColoursByPosition) {
    const char* names[kSheetColourCount] = {
        "ShipBgd", "AttBgd", "DefBgd", "Gridlines", "Racelines",
        "DefFont", "DefShipsFont", "DefHeldFont", "DefLostFont", "DefStealFont", "DefLeftFont",
        "AttFont", "AttShipsFont", "AttHeldFont", "AttLostFont", "AttStealFont", "AttLeftFont"};
    const SheetColour colours[kSheetColourCount] = {
        SheetColour::ShipBgd, SheetColour::AttBgd, SheetColour::DefBgd, SheetColour::Gridlines,
        SheetColour::Racelines, SheetColour::DefFont, SheetColour::DefShipsFont, SheetColour::DefHeldFont,
        SheetColour::DefLostFont, SheetColour::DefStealFont, SheetColour::DefLeftFont, SheetColour::AttFont,
        SheetColour::AttShipsFont, SheetColour::AttHeldFont, SheetColour::AttLostFont, SheetColour::AttStealFont,
        SheetColour::AttLeftFont};
    for (int i = 0; i < kSheetColourCount; ++i)
        EXPECT_EQ(AppearanceKey(static_cast<AppearanceColour>(colours[i])), names[i]);
}

}  // namespace
}  // namespace kestrin
