// The calculation log of a small battle worked out by hand, line by line, through the
// sheet's "Update Log".
#include <gtest/gtest.h>

#include "sheet/log_writer.h"
#include "sheet_test_support.h"

namespace kestrin {
namespace {

class TextLogWindow : public LogWindowPort {
public:
    bool LogWindowVisible() const override { return true; }
    void SetUpdateLogEnabled(bool) override {}
    void ClearLog() override { text.Clear(); }
    BattleLogSink& LogSink() override { return text; }
    CalcLogText text;
};

TEST(CalcLog, SmallBattleLogReadsAsWorkedOut) {
    testing::SheetFixture f;
    TextLogWindow window;
    f.sheet.SetLogWindow(&window);
    f.sheet.SetCell(1, 1, "10");   // defending Harpy
    f.sheet.SetCell(7, 1, "20");   // attacking Harpy
    f.sheet.SetCell(1, 8, "40");   // defending Demeter: fires at nothing
    f.sheet.SetCell(7, 45, "10");  // attacking Rogue steals them
    f.sheet.UpdateCalcLog();
    // Harpy: 30 shots at 0.048 kill 1 of 20, 60 shots kill 2 of 10, fired at once. Rogue:
    // 100 shots at 0.3 / 7 take 4 Demeter; nine tenths of 48,000 costs two Rogues. A block
    // with only the attacker's lines leaves the defender's stealer line out.
    const std::vector<std::string> expected = {
        "Initiatve Step  11  : Harpy - Normal Combat.",
        "Defending Ships",
        "10 Harpy left to fire with 30 guns.",
        "Firing on T1",
        "Killing 1 out of 20 Harpy with 30 guns.",
        "Guns left = 0",
        "Attacking Ships",
        "20 Harpy left to fire with 60 guns.",
        "Firing on T1",
        "Killing 2 out of 10 Harpy with 60 guns.",
        "Guns left = 0",
        "",
        "Initiatve Step  41  : Rogue - Ship Stealing Combat.",
        "Attacking Ships",
        "10 Rogue left to fire with 100 guns.",
        "Firing on T1",
        "Capturing 4 out of 40 Demeter with 100 guns.",
        "Guns left = 0",
        "2 attacking Rogue lost during capture.",
    };
    EXPECT_EQ(window.text.PlainLines(), expected);
    const auto& lines = window.text.Lines();
    EXPECT_TRUE(lines[0].bold);
    EXPECT_TRUE(lines[7].bold);
    EXPECT_FALSE(lines[4].bold);
    EXPECT_EQ(lines[4].ink, LogInk::Defender);
    EXPECT_EQ(lines[9].ink, LogInk::Attacker);
    EXPECT_EQ(f.sheet.Cell(10, 8), "4");  // the attacker stole them
}

}  // namespace
}  // namespace kestrin
