#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "sheet/results.h"

namespace kestrin {
namespace {

using namespace sheet;
using Captured = std::array<std::int32_t, kRoidKinds>;

TEST(Results, NoShipsShowsZeroEverywhere) {
    ResultsPanel panel;
    panel.TickIndicator = "Tick 4";
    ShowResults(SheetCells{}, Captured{}, NumberLocale{}, panel);
    ResultsPanel expected;
    expected.TickIndicator = "Tick 4";  // not the panel's business
    EXPECT_EQ(panel, expected);
    EXPECT_EQ(panel.DLoss, "0");
    EXPECT_EQ(panel.DefLossGainLbl, "Fleet Losses");
    EXPECT_EQ(panel.RoidLossGainLbl, "Loss per");
}

TEST(Results, AttackerLosingMillionsOverHundredRoidsShowsMinus12k) {
    SheetCells cells;
    cells.WriteCount(kAttShips, kFleetValueRow, 2000000);
    cells.WriteCount(kAttLeft, kFleetValueRow, 2000000 - 1234567);
    ResultsPanel panel;
    ShowResults(cells, Captured{5, 50, 30, 20}, NumberLocale{}, panel);
    EXPECT_EQ(panel.ALoss, "-1,234,567");
    EXPECT_EQ(panel.AttLossGainLbl, "Fleet Losses");
    EXPECT_EQ(panel.TIR, "100");
    EXPECT_EQ(panel.ALossPerRoid, "-12k");
    EXPECT_EQ(panel.RoidLossGainLbl, "Loss per");
    EXPECT_EQ(panel.UR, "-5");
    EXPECT_EQ(panel.MR, "-50");
    EXPECT_EQ(panel.CR, "-30");
    EXPECT_EQ(panel.ER, "-20");
    EXPECT_EQ(panel.TR, "-105");
}

TEST(Results, DefenderLosing40000MetalSalvages10k) {
    SheetCells cells;
    cells.WriteCount(kDefLost, kMetalCostRow, 40000);
    cells.WriteCount(kDefLost, kCrystalCostRow, 39999);
    cells.WriteCount(kDefLost, kEoniumCostRow, 3);
    ResultsPanel panel;
    ShowResults(cells, Captured{}, NumberLocale{}, panel);
    EXPECT_EQ(panel.MSalvage, "10k");
    EXPECT_EQ(panel.CSalvage, "9,999");
    EXPECT_EQ(panel.ESalvage, "0");
}

TEST(Results, OnlyUninitiatedCapturedGivesZeroPerRoidAndTitleFromTheSign) {
    SheetCells cells;
    cells.WriteCount(kAttShips, kFleetValueRow, 1000);
    cells.WriteCount(kAttLeft, kFleetValueRow, 5000);  // gained by stealing
    cells.WriteCount(kDefShips, kFleetValueRow, 100);
    cells.WriteCount(kDefLeft, kFleetValueRow, 300);
    ResultsPanel panel;
    ShowResults(cells, Captured{12, 0, 0, 0}, NumberLocale{}, panel);
    EXPECT_EQ(panel.TIR, "0");
    EXPECT_EQ(panel.ALossPerRoid, "0");
    EXPECT_EQ(panel.RoidLossGainLbl, "Gain per");
    EXPECT_EQ(panel.AttLossGainLbl, "Fleet Gains");
    EXPECT_EQ(panel.DefLossGainLbl, "Fleet Gains");
    EXPECT_EQ(panel.ALoss, "4,000");
    EXPECT_EQ(panel.TR, "-12");
}

TEST(Results, GainPerRoidAndLocaleSeparator) {
    SheetCells cells;
    cells.WriteCount(kAttLeft, kFleetValueRow, 50000000);
    ResultsPanel panel;
    ShowResults(cells, Captured{0, 1, 1, 1}, NumberLocale{".", ','}, panel);
    EXPECT_EQ(panel.ALoss, "50.000.000");  // 16,666,666 per roid: shortened twice
    EXPECT_EQ(panel.ALossPerRoid, "16m");
    EXPECT_EQ(panel.RoidLossGainLbl, "Gain per");
}

TEST(Results, DifferencesSaturateInsteadOfOverflowing) {
    SheetCells cells;
    cells.Set(kDefLeft, kFleetValueRow, "9223372036854775807");
    cells.Set(kDefShips, kFleetValueRow, "-5");
    cells.Set(kAttLeft, kFleetValueRow, "-9223372036854775808");
    cells.Set(kAttShips, kFleetValueRow, "1");
    const ResultFigures f = ComputeResultFigures(cells, Captured{0, 1, 0, 0});
    EXPECT_EQ(f.DLoss, std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(f.ALoss, std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(f.ALossPerRoid, std::numeric_limits<std::int64_t>::min());
}

TEST(Results, TickIndicatorText) { EXPECT_EQ(TickIndicatorText(12), "Tick 12"); }

}  // namespace
}  // namespace kestrin
