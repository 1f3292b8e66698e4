#include "sheet/log_writer.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

constexpr Rgb kDef{1, 2, 3};
constexpr Rgb kAtt{4, 5, 6};
constexpr Rgb kBgd{7, 8, 9};
constexpr LogColours kColours{kBgd, kDef, kAtt};

const std::string kTitle = "Initiatve Step  12  : Harpy - Normal Combat.";

// A step in which both sides fired: the simulation writes a title before each side line.
StepLists BothSides() {
    StepLists lists;
    lists.MemoHeader = {kTitle, "Defending Ships", "10 Harpy left to fire with 30 guns.",
                        kTitle, "Attacking Ships", "5 Harpy left to fire with 15 guns."};
    lists.MemoDef = {"Firing on T1", "Killing 2 out of 5 Harpy with 30 guns.", "Guns left = 0"};
    lists.MemoAtt = {"Firing on T1", "Guns left = 0"};
    return lists;
}

StepLists AttackerOnly() {
    StepLists lists = BothSides();
    lists.MemoHeader.erase(lists.MemoHeader.begin(), lists.MemoHeader.begin() + 3);
    lists.MemoDef.clear();
    return lists;
}

void ExpectLine(const LogLine& line, const std::string& text, bool bold, Rgb colour) {
    EXPECT_EQ(line.text, text);
    EXPECT_EQ(line.bold, bold) << text;
    EXPECT_EQ(line.colour, colour) << text;
}

void ExpectTitleColours(const LogLine& title, Rgb textColour) {
    ASSERT_EQ(title.charColours.size(), title.text.size());
    for (std::size_t i = 0; i < title.text.size(); ++i) {
        const bool digit = title.text[i] >= '0' && title.text[i] <= '9';
        EXPECT_EQ(title.charColours[i], digit ? kLogTitleDigitColour : textColour) << i;
    }
}

TEST(CalcLogText, BothSidesGiveOneBlockWithoutSecondTitle) {
    CalcLogText log(kColours);
    log.WriteLogStep(BothSides());
    const auto& lines = log.Lines();
    ASSERT_EQ(lines.size(), 10u);  // no leading blank line
    ExpectLine(lines[0], kTitle, true, kLogTitleColour);
    ExpectTitleColours(lines[0], kLogTitleColour);
    ExpectLine(lines[1], "Defending Ships", true, kDef);
    ExpectLine(lines[2], "10 Harpy left to fire with 30 guns.", true, kDef);
    ExpectLine(lines[3], "Firing on T1", false, kDef);
    ExpectLine(lines[5], "Guns left = 0", false, kDef);
    ExpectLine(lines[6], "Attacking Ships", true, kAtt);
    ExpectLine(lines[7], "5 Harpy left to fire with 15 guns.", true, kAtt);
    ExpectLine(lines[8], "Firing on T1", false, kAtt);
    ExpectLine(lines[9], "Guns left = 0", false, kAtt);
    EXPECT_TRUE(lines[1].charColours.empty());
}

TEST(CalcLogText, AttackerOnlyBlockIsInAttackerColourWithBlueDigits) {
    CalcLogText log(kColours);
    log.WriteLogStep(AttackerOnly());
    const auto& lines = log.Lines();
    ASSERT_EQ(lines.size(), 5u);
    ExpectLine(lines[0], kTitle, true, kAtt);
    ExpectTitleColours(lines[0], kAtt);
    ExpectLine(lines[1], "Attacking Ships", true, kAtt);
    ExpectLine(lines[4], "Guns left = 0", false, kAtt);
}

TEST(CalcLogText, StepsAreSeparatedByOneBlankLineAndARunStartsAfresh) {
    CalcLogText log(kColours);
    log.WriteLogStep(AttackerOnly());
    log.WriteLogStep(BothSides());
    ASSERT_EQ(log.Lines().size(), 5u + 1u + 10u);
    EXPECT_EQ(log.Lines()[5].text, "");
    EXPECT_EQ(log.Lines()[6].text, kTitle);
    log.BeginLogRun();
    EXPECT_TRUE(log.Lines().empty());
    log.WriteLogStep(AttackerOnly());
    EXPECT_EQ(log.PlainLines(), (std::vector<std::string>{kTitle, "Attacking Ships",
                                                           "5 Harpy left to fire with 15 guns.",
                                                           "Firing on T1", "Guns left = 0"}));
}

// A step without side lines writes nothing; a side line without a title before it or a line
// after it must not read outside the header list.
TEST(CalcLogText, IncompleteHeadersWriteOnlyWhatIsThere) {
    const struct {
        std::vector<std::string> header;
        std::vector<std::string> expected;
    } cases[] = {
        {{kTitle}, {}},
        {{"Defending Ships"}, {"Defending Ships", "Guns left = 0"}},
        {{"Attacking Ships", "3 Harpy left to fire with 9 guns."},
         {"Attacking Ships", "3 Harpy left to fire with 9 guns.", "Guns left = 0"}},
    };
    for (const auto& test : cases) {
        CalcLogText log(kColours);
        log.WriteLogStep(StepLists{test.header, {"Guns left = 0"}, {"Guns left = 0"}});
        EXPECT_EQ(log.PlainLines(), test.expected);
    }
}

TEST(CalcLogText, BackgroundFollowsShipBgdOnlyWhenTheWriterRuns) {
    CalcLogText log(kColours);
    EXPECT_EQ(log.Background(), kBgd);
    constexpr Rgb kNewBgd{90, 91, 92};
    log.SetColours({kNewBgd, kDef, kAtt});
    EXPECT_EQ(log.Background(), kBgd);
    log.RefreshBackground();
    EXPECT_EQ(log.Background(), kNewBgd);
    log.SetColours(LogColours{});  // the built-in ShipBgd
    log.WriteLogStep(StepLists{});
    EXPECT_EQ(log.Background(), (Rgb{20, 20, 50}));
}

TEST(CalcLogText, ColoursComeFromTheirAppearanceKeys) {
    Appearance appearance;
    for (int i = 0; i < kAppearanceColourCount; ++i)
        appearance.colours[i] = Rgb{static_cast<std::uint8_t>(i), 0, 0};
    const LogColours colours = LogColoursOf(appearance);
    EXPECT_EQ(colours.ShipBgd, appearance[AppearanceColour::ShipBgd]);
    EXPECT_EQ(colours.DefFont, appearance[AppearanceColour::DefFont]);
    EXPECT_EQ(colours.AttFont, appearance[AppearanceColour::AttFont]);
}

}  // namespace
}  // namespace kestrin
