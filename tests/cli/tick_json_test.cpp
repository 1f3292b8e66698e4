#include "cli/tick_json.h"

#include <gtest/gtest.h>

namespace kestrin {
namespace {

TEST(TickJson, FixedShapeAndFieldOrder) {
    TickReport report;
    report.tick = 3;
    report.cells = {{"Defending Forces", "Ships"}};  // the rest is filled with empty texts
    report.panel = {{"TickIndicator", "Tick 3"}, {"DLoss", "-1,250"}, {"Other", "x"}};
    report.bailouts = 2;
    const std::string line = TickJsonLine(report);
    ASSERT_EQ(line.find('\n'), line.size() - 1);
    const Json tick = Json::parse(line);
    std::vector<std::string> keys;
    for (const auto& item : tick.items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"tick", "reportView", "cells", "panel", "bailouts"}));
    EXPECT_EQ(tick["tick"], 3);
    ASSERT_EQ(tick["cells"].size(), 66u);
    for (const Json& row : tick["cells"]) ASSERT_EQ(row.size(), 12u);
    EXPECT_EQ(tick["cells"][0][1], "Ships");
    EXPECT_EQ(tick["cells"][65][11], "");
    std::vector<std::string> panelKeys;
    for (const auto& item : tick["panel"].items()) panelKeys.push_back(item.key());
    EXPECT_EQ(panelKeys, std::vector<std::string>(kPanelKeys.begin(), kPanelKeys.end()));
    EXPECT_EQ(tick["panel"]["DLoss"], "-1,250");
    EXPECT_EQ(tick["panel"]["ALoss"], "");
    EXPECT_EQ(tick["bailouts"], 2);
}

TEST(TickJson, LogOnlyWhenGivenAndEightBitTextNeverFails) {
    TickReport report;
    report.cells.assign(66, std::vector<std::string>(12));
    report.cells[1][1] = "12\xE9";  // a code page byte from a battle file
    report.log = std::vector<std::string>{"Defending Ships", ""};
    const Json tick = Json::parse(TickJsonLine(report));
    EXPECT_EQ(tick["cells"][1][1], "12\xEF\xBF\xBD");
    EXPECT_EQ(tick["log"], Json::parse(R"(["Defending Ships", ""])"));
    report.log.reset();
    EXPECT_FALSE(Json::parse(TickJsonLine(report)).contains("log"));
}

TEST(TickJson, LineIsTheLibrarysTextOfTheObject) {
    TickReport report;
    report.tick = 12;
    report.reportView = true;
    report.cells.assign(70, std::vector<std::string>(3, "Harpy"));  // cut to 66 x 12, padded
    report.cells[2] = {"q\"uote", "back\\slash", "tab\tline\n", std::string("nul\0", 4), "\x7F\x01",
                       "12\xE9", "\xC3\xA9t\xC3\xA9", "\xE2\x82", "~ !#$%&'()*+,-./:;<=>?@[]^_`{|}"};
    report.panel = {{"TIR", "7"}, {"ALossPerRoid", "-12k"}};
    report.bailouts = -3;
    report.log = std::vector<std::string>{"Initiatve Step  1", "\xFF"};
    EXPECT_EQ(TickJsonLine(report), DumpJson(TickJson(report)) + "\n");
    report.log.reset();
    EXPECT_EQ(TickJsonLine(report), DumpJson(TickJson(report)) + "\n");
}

}  // namespace
}  // namespace kestrin
