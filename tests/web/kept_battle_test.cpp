#include <gtest/gtest.h>

#include <string>

#include "sheet/battle_link.h"
#include "web/kept_battle.h"
#include "web/web_session.h"
#include "web/web_test_support.h"

namespace kestrin {
namespace {

const BattleRules& Rules() { return testing::WebRules(); }
using testing::Example;

// What the player sees of a battle: its cells, figures and tick.
PageJson Shown(const PageJson& view) { return {view["tick"], view["cells"], view["panel"]}; }

// A session showing fleet_battle.kbf at tick 3.
void AtTickThree(WebSession& session) {
    session.Open(Example("fleet_battle.kbf"));
    session.StepForward();
    session.StepForward();
}

// A link opened at tick 3 is its battle's set-up at tick 1 with no earlier ticks of the
// battle before it, one step that Undo takes back; from the address, a chat line, percent-
// escaped by a chat app, or through the scan parser.
TEST(KeptBattle, ALinkOpensAsABattleOfItsOwnAtTickOne) {
    const std::string raid = Example("raid.kbf");
    WebSession alone(Rules());
    const PageJson expected = Shown(alone.Open(raid));
    const std::string data = BattleLinkFragment(raid).substr(kBattleLinkMarker.size());
    for (const std::string& link : {"https://example.org/kestrin/#battle=" + data, "raid at 12: #battle=" + data + " ok?",
                                    "https://example.org/#battle%3D" + data,
                                    "https%3A%2F%2Fexample.org%2F%23battle%3d" + data}) {
        WebSession session(Rules());
        AtTickThree(session);
        const PageJson before = Shown(session.View());
        const PageJson view = session.OpenLink(link);
        EXPECT_EQ(view["notice"], "") << link;
        EXPECT_EQ(Shown(view), expected) << link;
        EXPECT_EQ(Shown(session.StepBack()), expected) << "no earlier tick: " << link;
        EXPECT_EQ(Shown(session.Undo()), before) << link;
    }
    WebSession session(Rules());
    AtTickThree(session);
    const bool fleets[4] = {true, false, false, false};
    EXPECT_EQ(Shown(session.ApplyReport("scan", "defender", fleets, "#battle%3D" + data)), expected);
}

// A link that carries no battle changes nothing, says why, and opens no step.
TEST(KeptBattle, ALinkThatCarriesNoBattleChangesNothingAndSaysWhy) {
    const std::string data = BattleLinkFragment(Example("raid.kbf")).substr(kBattleLinkMarker.size());
    WebSession session(Rules());
    AtTickThree(session);
    const PageJson before = session.View();
    for (const auto& [link, said] : {
             std::pair<std::string, std::string>{"#battle=abcd", "Incorrect File Length !!!"},
             {"#battle=" + data.substr(0, data.size() / 4 * 4 - 3), "The battle link is cut short"},
             {"#battle=" + data.substr(0, 40) + "$" + data.substr(41), "The battle link holds a character that is not base64url: '$'"},
             {"#battle=" + std::string(16 * 1024 * 1024 / 3 * 4 + 4, 'A'), "The battle link is too long"},
             {"#battle%3Dabcd", "Incorrect File Length !!!"}}) {
        const PageJson view = session.OpenLink(link);
        EXPECT_EQ(view["notice"], said) << link.substr(0, 60);
        EXPECT_EQ(Shown(view), Shown(before));
        EXPECT_EQ(view["undo"], before["undo"]);
    }
}

// The kept battle brings back the tick shown and every earlier tick as it stood, an edit made
// at a later tick too; a kept text that cannot be read changes nothing and is told.
TEST(KeptBattle, AKeptBattleComesBackAtItsTickWithItsEarlierTicks) {
    WebSession session(Rules());
    session.Open(Example("fleet_battle.kbf"));
    session.StepForward();
    session.Type(7, 1, "12345");
    session.StepForward();
    const std::string kept = session.Kept();
    EXPECT_EQ(kept.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_#=\n"), std::string::npos);

    WebSession restored(Rules());
    EXPECT_EQ(Shown(restored.OpenKept(kept)), Shown(session.View()));
    EXPECT_EQ(restored.View()["tick"], 3);
    EXPECT_EQ(restored.Kept(), kept);
    for (int back = 0; back < 2; ++back) EXPECT_EQ(Shown(restored.StepBack()), Shown(session.StepBack())) << back;

    const PageJson before = restored.View();
    for (const std::string& bad : {std::string(), std::string("garbage"), kept + "#battle=abc$\n", "#battle=abcd\n" + kept,
                                      kept + "#battle=abcd\n"}) {
        const PageJson view = restored.OpenKept(bad);
        EXPECT_NE(view["notice"], "") << bad;
        EXPECT_EQ(Shown(view), Shown(before));
    }
    // The single link an earlier page kept, without its '#'.
    WebSession earlier(Rules());
    EXPECT_EQ(Shown(earlier.OpenKept(BattleLinkFragment(Example("raid.kbf")).substr(1))),
              Shown(WebSession(Rules()).Open(Example("raid.kbf"))));
}

}  // namespace
}  // namespace kestrin
