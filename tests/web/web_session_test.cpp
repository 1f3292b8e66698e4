#include <gtest/gtest.h>

#include <string>

#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "engine/ship_stats_file.h"
#include "engine/temp_folder.h"
#include "web/web_session.h"

namespace kestrin {
namespace {

const BattleRules& Rules() {
    static const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    return load.rules;
}

std::string Example(const char* name) { return testing::ReadBytes(std::string(KESTRIN_EXAMPLES_DIR "/") + name); }

// The page's figures are kestrin-cli's own: the view after opening a battle and stepping
// equals calc's tick objects, cells and panel alike.
TEST(WebSession, OpenedBattleAndTicksShowWhatCalcPrints) {
    testing::TempFolder folder;
    const std::string stats = (folder.Path() / "ShipStats.ini").string();
    ASSERT_EQ(WriteDefaultShipStats(stats), "");
    const std::string battle = Example("fleet_battle.kbf");
    // calc of the file, through the in-process runner the page's workers use.
    const std::string path = (folder.Path() / "battle.kbf").string();
    const Json run = RunCliCommand(Json::array({"calc", path, "--ticks", "3", "--stats", stats}), battle, path);
    ASSERT_EQ(run["status"], 0) << run["err"];
    std::vector<Json> ticks;
    std::string out = run["out"];
    for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        ticks.push_back(Json::parse(out.substr(start, end - start)));
    ASSERT_EQ(ticks.size(), 3u);

    WebSession session(Rules());
    Json view = session.Open(battle);
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
    Json view = session.Type(7, 1, "1.5k");
    EXPECT_EQ(view["cells"][1][7], "1500");
    EXPECT_EQ(view["shown"][1][7], "1,500");
    EXPECT_EQ(view["undo"], "Typing");
    EXPECT_EQ(view["notice"], "");
    view = session.Type(7, 1, "abc");
    EXPECT_NE(view["notice"].get<std::string>().find("'abc' is not a count"), std::string::npos);
    EXPECT_EQ(session.View()["notice"], "");  // told once
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
    const Json refused = other.Open("1\r\n2\r\n");
    EXPECT_EQ(refused["notice"], "Incorrect File Length !!!");
    EXPECT_EQ(refused["cells"], session.View()["cells"]);
}

}  // namespace
}  // namespace kestrin
