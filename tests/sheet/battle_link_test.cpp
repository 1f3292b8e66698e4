#include <gtest/gtest.h>

#include "sheet/battle_link.h"

namespace kestrin {
namespace {

// Every length modulo three, every byte value, through an address and a chat line.
TEST(BattleLinkTest, AFileSurvivesTheLinkWhateverSurroundsIt) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const std::string& bytes : {std::string(), std::string("1"), std::string("12\r\n"), std::string("120\r\n"), all}) {
        const std::string fragment = BattleLinkFragment(bytes);
        EXPECT_EQ(fragment.find_first_of("=+/", 8), std::string::npos) << "no padding, url-safe";
        for (const std::string& text : {fragment, "https://example.org/kestrin/" + fragment,
                                        "attack at 12: https://example.org/" + fragment + " ok?\r\n"}) {
            const BattleLinkBytes decoded = BattleFileFromLink(text);
            ASSERT_TRUE(decoded.bytes) << decoded.error;
            EXPECT_EQ(*decoded.bytes, bytes);
        }
    }
    EXPECT_EQ(BattleLinkFragment("180\r\n"), "#battle=MTgwDQo");
}

TEST(BattleLinkTest, ABrokenLinkSaysWhatIsWrong) {
    EXPECT_EQ(BattleFileFromLink("no link here").error, "The text holds no battle link (#battle=...)");
    EXPECT_EQ(BattleFileFromLink("#battle=MTgwD").error, "The battle link is cut short");
    EXPECT_EQ(BattleFileFromLink("#battle=MT+w").error, "The battle link holds a character that is not base64url: '+'");
    EXPECT_FALSE(HoldsBattleLink("battle=abc"));
    EXPECT_TRUE(HoldsBattleLink("see #battle=abc"));
}

// A chat app or a redirect may escape the '#' and the '=': the link still reads, the
// escapes in either case; without its '#' (escaped or not) a word is no link.
TEST(BattleLinkTest, APercentEscapedMarkerStillReads) {
    for (const std::string text : {"https://example.org/#battle%3DMTgwDQo", "https%3A%2F%2Fexample.org%2F%23battle%3dMTgwDQo&x=1",
                                   "%23battle=MTgwDQo"}) {
        EXPECT_TRUE(HoldsBattleLink(text)) << text;
        EXPECT_EQ(BattleFileFromLink(text).bytes, std::optional<std::string>("180\r\n")) << text;
    }
    for (const std::string text : {"battle%3DMTgwDQo", "%2battle=MTgwDQo", "#battle%3MTgw", "#battl"}) EXPECT_FALSE(HoldsBattleLink(text)) << text;
}

}  // namespace
}  // namespace kestrin
