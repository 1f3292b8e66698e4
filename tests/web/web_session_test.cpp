#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/cli_app.h"
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
    std::vector<Json> ticks;
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
