#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/battle_simulation.h"

namespace kestrin {
namespace {

constexpr ShipIndex kHarpy = 0, kPhoenix = 1, kDemeter = 7, kSpider = 12, kCorsair = 36,
                    kRogue = 44, kAstroPod = 48;
constexpr int kDef = 0, kAtt = 1;

// Collects every logged step, as the calculation log would receive it.
struct LogRecorder : BattleLogSink {
    int runs = 0;
    std::vector<StepLists> steps;
    void BeginLogRun() override {
        ++runs;
        steps.clear();
    }
    void WriteLogStep(const StepLists& lists) override { steps.push_back(lists); }
};

struct Battle {
    ShipCatalogue catalogue = DefaultShipCatalogue();
    BattleState state;
    SimulationContext context;
    LogRecorder log;

    void Run() {
        const BattleRulesLoad load = MakeBattleRules(catalogue);
        EXPECT_TRUE(load.problems.empty());
        context.LogEnabled = true;
        context.LogSink = &log;
        state.PrepareTick();
        SimulateTick(state, load.rules, context);
    }
};

using Lines = std::vector<std::string>;

TEST(BattleSimulation, SameTypeOnBothSidesFiresSimultaneously) {
    Battle b;
    b.state.Ships[kDef][kHarpy] = 10;
    b.state.Ships[kAtt][kHarpy] = 20;
    b.Run();
    // 30 shots at 0.048 hold 1.44 kills; 60 shots 2.88. Both sides fire from the counts at
    // the start of the step.
    EXPECT_EQ(b.state.Left[kDef][kHarpy], 8);
    EXPECT_EQ(b.state.Lost[kDef][kHarpy], 2);
    EXPECT_EQ(b.state.Left[kAtt][kHarpy], 19);
    EXPECT_EQ(b.state.Lost[kAtt][kHarpy], 1);
    ASSERT_EQ(b.log.steps.size(), 1u);  // absent types write nothing
    const StepLists& s = b.log.steps[0];
    EXPECT_EQ(s.MemoHeader, (Lines{"Initiatve Step  11  : Harpy - Normal Combat.", "Defending Ships",
                                   "10 Harpy left to fire with 30 guns.",
                                   "Initiatve Step  11  : Harpy - Normal Combat.", "Attacking Ships",
                                   "20 Harpy left to fire with 60 guns."}));
    EXPECT_EQ(s.MemoDef, (Lines{"Firing on T1", "Killing 1 out of 20 Harpy with 30 guns.", "Guns left = 0"}));
    EXPECT_EQ(s.MemoAtt, (Lines{"Firing on T1", "Killing 2 out of 10 Harpy with 60 guns.", "Guns left = 0"}));
}

TEST(BattleSimulation, DebugWindowAddsTheCycleNoteAndItOutlivesTheWindow) {
    Battle b;
    b.state.Ships[kDef][kHarpy] = 10;
    b.state.Ships[kAtt][kHarpy] = 20;
    b.context.NoteCycles = true;
    b.Run();
    EXPECT_EQ(b.log.steps[0].MemoDef.back(), "Guns left = 0  (Cycles used = 0  G = 0.0000)");
    b.context.NoteCycles = false;
    b.Run();
    EXPECT_EQ(b.log.steps[0].MemoDef.back(), "Guns left = 0  (Cycles used = 0  G = 0.0000)");
}

TEST(BattleSimulation, HeldShipsDoNotFireLaterInTheTick) {
    Battle b;
    b.state.Ships[kAtt][kSpider] = 10;
    b.state.Ships[kDef][kPhoenix] = 100;
    b.Run();
    // 10 EMP shots at 0.45 hold 4 Phoenix; the other 96 fire at Phoenix's step.
    EXPECT_EQ(b.state.Held[kDef][kPhoenix], 4);
    EXPECT_EQ(b.state.Left[kDef][kPhoenix] + b.state.Lost[kDef][kPhoenix], 100);
    ASSERT_EQ(b.log.steps.size(), 2u);
    EXPECT_EQ(b.log.steps[0].MemoAtt, (Lines{"Firing on T1", "Holding 4 out of 100 Phoenix with 10 guns.", "Guns left = 0"}));
    EXPECT_EQ(b.log.steps[1].MemoHeader[2], "96 Phoenix left to fire with 192 guns.");
}

TEST(BattleSimulation, StealersTakeShipsAndPayNineTenthsOfTheirValue) {
    Battle b;
    b.state.Ships[kAtt][kRogue] = 10;
    b.state.Ships[kDef][kDemeter] = 40;
    b.Run();
    // 100 shots at 0.3 / 7 take 4 Demeter worth 48000; 43200 / 16000 costs 2 Rogues.
    EXPECT_EQ(b.state.Lost[kDef][kDemeter], 4);
    EXPECT_EQ(b.state.Left[kDef][kDemeter], 36);
    EXPECT_EQ(b.state.Stole[kAtt][kDemeter], 4);
    EXPECT_EQ(b.state.Left[kAtt][kRogue], 8);
    EXPECT_EQ(b.state.Lost[kAtt][kRogue], 2);
    ASSERT_EQ(b.log.steps.size(), 2u);  // the defender's Demeter step captures nothing
    EXPECT_EQ(b.log.steps[0].MemoDef, (Lines{"0 defending Rogue lost during capture."}));
    EXPECT_EQ(b.log.steps[0].MemoAtt,
              (Lines{"Firing on T1", "Capturing 4 out of 40 Demeter with 100 guns.", "Guns left = 0",
                     "2 attacking Rogue lost during capture."}));
    EXPECT_TRUE(b.log.steps[1].MemoHeader.empty());
}

TEST(BattleSimulation, AsteroidCaptureStaysWithinTheTickLimit) {
    Battle b;
    b.state.Ships[kAtt][kAstroPod] = 100;
    b.state.Roids = {0, 100, 0, 0};
    b.Run();
    EXPECT_EQ(b.state.RoidsCaptured, (std::array<std::int32_t, 4>{0, 14, 0, 0}));
    ASSERT_EQ(b.log.steps.size(), 1u);
    EXPECT_EQ(b.log.steps[0].MemoHeader[0], "Initiatve Step  50  : AstroPod - Roid Capture.");
    EXPECT_EQ(b.log.steps[0].MemoHeader[2], "100 AstroPod left to fire with 100 guns.");
    EXPECT_EQ(b.log.steps[0].MemoAtt,
              (Lines{"Max Cap Rate = 15.00%.", "Capturing 0 out of 0 Unititiated Roids with 0 guns.",
                     "Capturing 14 out of 100 Metal Roids with 14 guns.",
                     "Capturing 0 out of 0 Crystal Roids with 0 guns.",
                     "Capturing 0 out of 0 Eonium Roids with 0 guns.", "Guns left = 86"}));
}

TEST(BattleSimulation, CaptureLimitFromTheSlightlyLowFullRate) {
    // The double nearest 0.15 lies below it: multiples of 20 give one less than 15 %.
    struct Case { std::int32_t roids; std::int32_t captured; };
    for (Case c : {Case{100, 14}, Case{20, 2}, Case{1000, 149}, Case{33, 4}, Case{1234, 185}, Case{6, 0}}) {
        Battle b;
        b.state.Ships[kAtt][kAstroPod] = 100000;
        b.state.Roids = {0, 0, c.roids, 0};
        b.Run();
        EXPECT_EQ(b.state.RoidsCaptured[2], c.captured) << c.roids;
    }
}

TEST(BattleSimulation, LaterCapturingTypesShareWhatIsLeftOfTheLimit) {
    Battle b;
    b.state.Ships[kAtt][kAstroPod] = 5;   // initiative 50, 5 guns
    b.state.Ships[kAtt][kDemeter] = 10;   // initiative 51, 20 guns
    b.state.Roids = {0, 100, 3, 0};       // limit 14 + 0; three crystal roids are never taken
    b.Run();
    EXPECT_EQ(b.state.RoidsCaptured, (std::array<std::int32_t, 4>{0, 14, 0, 0}));
    EXPECT_EQ(b.log.steps[1].MemoAtt[2], "Capturing 14 out of 100 Metal Roids with 9 guns.");
    EXPECT_EQ(b.log.steps[1].MemoAtt.back(), "Guns left = 11");
}

TEST(BattleSimulation, HighDefenderScoreIsCappedAndLowScoreLowersTheRate) {
    Battle high;
    high.state.Ships[kAtt][kAstroPod] = 1000;
    high.state.Roids = {0, 1000, 0, 0};
    high.state.DefenderScore = 1000000000;
    high.state.AttackerFleetValue = 10;
    high.Run();
    EXPECT_EQ(high.state.RoidsCaptured[1], 149);

    Battle low = high;
    low.state.DefenderScore = 9999999;
    low.state.AttackerFleetValue = 99999999;  // rate 0.0099999990
    low.Run();
    EXPECT_EQ(low.state.RoidsCaptured[1], 9);
    EXPECT_EQ(low.log.steps[0].MemoAtt[0], "Max Cap Rate = 1.00%.");  // three significant digits

    Battle none = low;
    none.state.DefenderScore = 999999;  // limit floor(1000 * 0.000999...) = 0: nothing happens
    none.Run();
    EXPECT_EQ(none.state.RoidsCaptured[1], 0);
    ASSERT_EQ(none.log.steps.size(), 1u);
    EXPECT_TRUE(none.log.steps[0].MemoHeader.empty());
    EXPECT_TRUE(none.log.steps[0].MemoAtt.empty());
}

TEST(BattleSimulation, ZikSpecialTypesCaptureEonium) {
    struct Case { std::int32_t eonium; std::int32_t captured; };
    for (Case c : {Case{100000, 1500}, Case{1000, 150}}) {
        Battle b;
        for (ShipField f : {ShipField::T1, ShipField::T2, ShipField::T3}) b.catalogue.ships[kCorsair][f] = "-";
        b.catalogue.ships[kCorsair][ShipField::ShipType] = "Special";
        b.state.Ships[kAtt][kCorsair] = 3;
        b.state.DefenderEonium = c.eonium;
        b.Run();
        EXPECT_EQ(b.state.EoniumCaptured, c.captured);
        EXPECT_EQ(b.log.steps[0].MemoHeader,
                  (Lines{"Initiatve Step  13  : Corsair - Eonium Capture.", "Attacking Ships",
                         "3 Corsair left to fire."}));
        EXPECT_EQ(b.log.steps[0].MemoAtt[0],
                  "Capturing " + std::to_string(c.captured) + " out of " + std::to_string(c.eonium) + " total Eonium");
    }
}

TEST(BattleSimulation, NegativeCountsNeverFireNorAreTargets) {
    Battle b;
    b.state.Ships[kDef][kHarpy] = -5;
    b.state.Ships[kAtt][kHarpy] = 20;
    b.Run();
    EXPECT_EQ(b.state.Left[kDef][kHarpy], -5);
    EXPECT_EQ(b.state.Lost[kAtt][kHarpy], 0);
    EXPECT_EQ(b.state.Lost[kDef][kHarpy], 0);
}

}  // namespace
}  // namespace kestrin
