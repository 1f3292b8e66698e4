#include "sheet/log_writer.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

constexpr LogInk kDef = LogInk::Defender;
constexpr LogInk kAtt = LogInk::Attacker;

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

void ExpectLine(const LogLine& line, const std::string& text, bool bold, LogInk ink) {
    EXPECT_EQ(line.text, text);
    EXPECT_EQ(line.bold, bold) << text;
    EXPECT_EQ(line.ink, ink) << text;
}

void ExpectTitleInks(const LogLine& title, LogInk textInk) {
    ASSERT_EQ(title.charInks.size(), title.text.size());
    for (std::size_t i = 0; i < title.text.size(); ++i) {
        const bool digit = title.text[i] >= '0' && title.text[i] <= '9';
        EXPECT_EQ(title.charInks[i], digit ? LogInk::TitleDigit : textInk) << i;
    }
}

TEST(CalcLogText, BothSidesGiveOneBlockWithoutSecondTitle) {
    CalcLogText log;
    log.WriteLogStep(BothSides());
    const auto& lines = log.Lines();
    ASSERT_EQ(lines.size(), 10u);  // no leading blank line
    ExpectLine(lines[0], kTitle, true, LogInk::Title);
    ExpectTitleInks(lines[0], LogInk::Title);
    ExpectLine(lines[1], "Defending Ships", true, kDef);
    ExpectLine(lines[2], "10 Harpy left to fire with 30 guns.", true, kDef);
    ExpectLine(lines[3], "Firing on T1", false, kDef);
    ExpectLine(lines[5], "Guns left = 0", false, kDef);
    ExpectLine(lines[6], "Attacking Ships", true, kAtt);
    ExpectLine(lines[7], "5 Harpy left to fire with 15 guns.", true, kAtt);
    ExpectLine(lines[8], "Firing on T1", false, kAtt);
    ExpectLine(lines[9], "Guns left = 0", false, kAtt);
    EXPECT_TRUE(lines[1].charInks.empty());
}

TEST(CalcLogText, AttackerOnlyBlockIsInAttackerInkWithTitleDigits) {
    CalcLogText log;
    log.WriteLogStep(AttackerOnly());
    const auto& lines = log.Lines();
    ASSERT_EQ(lines.size(), 5u);
    ExpectLine(lines[0], kTitle, true, kAtt);
    ExpectTitleInks(lines[0], kAtt);
    ExpectLine(lines[1], "Attacking Ships", true, kAtt);
    ExpectLine(lines[4], "Guns left = 0", false, kAtt);
}

TEST(CalcLogText, StepsAreSeparatedByOneBlankLineAndARunStartsAfresh) {
    CalcLogText log;
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
        CalcLogText log;
        log.WriteLogStep(StepLists{test.header, {"Guns left = 0"}, {"Guns left = 0"}});
        EXPECT_EQ(log.PlainLines(), test.expected);
    }
}

}  // namespace
}  // namespace kestrin
