// The page's planner calls: requests as typed fields, answers as the data the page draws,
// in the player's words and with kestrin-cli's figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "engine/battle_rules.h"
#include "engine/ship_catalogue.h"
#include "engine/ship_stats_file.h"
#include "engine/temp_folder.h"
#include "planner/fleet_outcome_text.h"
#include "web/planner_replies.h"
#include "web/web_session.h"

namespace kestrin {
namespace {

const BattleRules& Rules() {
    static const BattleRulesLoad load = MakeBattleRules(DefaultShipCatalogue());
    return load.rules;
}

const std::string kRaidPath = KESTRIN_EXAMPLES_DIR "/raid.kbf";
std::string Raid() { return testing::ReadBytes(kRaidPath); }

// kestrin-cli's standard output for `words`, run in process on the built-in statistics (a
// file of them in a temporary folder, as the page has them).
std::string KestrinCli(std::vector<std::string> words) {
    static const testing::TempFolder folder;
    const std::string stats = (folder.Path() / "ShipStats.ini").string();
    EXPECT_EQ(WriteDefaultShipStats(stats), "");
    words.insert(words.begin(), "kestrin-cli");
    words.insert(words.end(), {"--stats", stats});
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(static_cast<int>(argv.size()), argv.data(), in, out, err, {}), 0) << err.str();
    return out.str();
}

std::string SweepRequest(const std::string& from, const std::string& to, const std::string& points,
                         const std::string& ticks) {
    return PageJson{{"side", "attacker"}, {"row", 49}, {"from", from}, {"to", to}, {"points", points}, {"ticks", ticks}}
        .dump();
}

// What cannot be swept is said in the words of the page's fields, never in option names.
TEST(PlannerSession, RefusalsNameTheFieldsAsThePlayerSeesThem) {
    const struct {
        const char *from, *to, *points, *ticks, *said;
    } cases[] = {
        {"0", "x", "21", "3", "From and To take whole numbers"},
        {"0", "1000", "21", "abc", "Ticks: 'abc' is not a whole number"},
        {"0", "1000", "21", "", "Ticks: '' is not a whole number"},
        {"0", "1000", "21", "101", "A sweep follows from 1 to 100 ticks, not 101"},
        {"0", "1000", "many", "3", "Points: 'many' is not a whole number"},
        {"0", "1m", "200k", "3", "A sweep takes from 2 to 100000 points, not 200000"},
        {"500", "500", "21", "3", "The range needs 'from' (500) below 'to' (500)"},
    };
    for (const auto& c : cases) {
        const PageJson reply = SweepChartReply(Rules(), SweepRequest(c.from, c.to, c.points, c.ticks), Raid());
        EXPECT_EQ(reply.value("error", ""), c.said);
    }
    const PageJson fleet = BestFleetReply(
        Rules(), R"({"goal":"roids","rows":[[1,"many"]],"minRoids":"1","maxLoss":"","ticks":"3","evaluations":"10000"})",
        Raid(), nullptr);
    EXPECT_EQ(fleet.value("error", ""), "Most Harpy: 'many' is not a count from 0 up");
    const PageJson loss = BestFleetReply(
        Rules(), R"({"goal":"roids","rows":[[1,"5"]],"minRoids":"1","maxLoss":"lots","ticks":"3","evaluations":"10000"})",
        Raid(), nullptr);
    EXPECT_EQ(loss.value("error", ""), "Most loss: 'lots' is not a whole number");
    EXPECT_EQ(SweepChartReply(Rules(), SweepRequest("0", "10", "5", "3"), "1\r\n")["error"], "Incorrect File Length !!!");
}

// The chart's points carry kestrin-cli sweep's figures tick for tick; the whole battle sums
// the changes and takes each side's value left from the last tick, as the desktop does.
TEST(PlannerSession, ChartPointsAreKestrinClisAndTheWholeBattleKeepsTheLastValueLeft) {
    const PageJson view = SweepChartReply(Rules(), SweepRequest("0", "300", "7", "3"), Raid());
    std::istringstream lines(KestrinCli({"sweep", kRaidPath, "--vary", "attacker:49", "--from", "0", "--to", "300",
                                         "--points", "7", "--ticks", "3"}));
    const PageJson& points = view["points"];
    const PageJson& whole = view["plots"]["whole"]["figures"];
    const PageJson& figures = view["figures"];
    std::size_t i = 0;
    for (std::string line; std::getline(lines, line); ++i) {
        const PageJson cli = PageJson::parse(line);
        ASSERT_LT(i, points.size());
        EXPECT_EQ(points[i]["value"], cli["value"]);
        const PageJson& ticks = points[i]["ticks"];
        for (std::size_t f = 0; f < figures.size(); ++f) {
            const std::string key = figures[f]["key"];
            std::int64_t sum = 0;
            for (std::size_t t = 0; t < 3; ++t) {
                const PageJson& shown = ticks[t][f];
                const std::int64_t value = cli["ticks"][t]["figures"][key];
                if (!shown.is_null()) {
                    EXPECT_EQ(shown, value) << key;
                }
                sum += value;
            }
            if (key == "defenderValueLeft" || key == "attackerValueLeft") {
                EXPECT_EQ(whole[i][f], cli["ticks"][2]["figures"][key]) << key;
            } else if (key != "attackerChangePerInitRoid") {
                EXPECT_EQ(whole[i][f], sum) << key;
            }
        }
    }
    EXPECT_EQ(i, points.size());
}

// The chart is stated over its points while every value is tried; the pass over every
// value keeps the chart's points and finds what kestrin-cli sweep --findings finds.
TEST(PlannerSession, EveryValueIsTriedForTheFindings) {
    const std::string request = SweepRequest("0", "300", "21", "2");
    const PageJson chart = SweepChartReply(Rules(), request, Raid());
    EXPECT_TRUE(chart["pending"]);
    EXPECT_EQ(chart["scope"], "Findings, over the 21 points so far: trying every value from 0 to 300...");
    const PageJson every = SweepEveryValueReply(Rules(), request, Raid());
    EXPECT_EQ(every["points"], chart["points"]);
    EXPECT_TRUE(every["exact"]);
    EXPECT_EQ(every["scope"], "Findings, every value from 0 to 300 tried");
    const PageJson cli = PageJson::parse(KestrinCli({"sweep", kRaidPath, "--vary", "attacker:49", "--from", "0", "--to",
                                                     "300", "--ticks", "2", "--findings"}));
    const PageJson& found = every["plots"]["whole"]["findings"];
    EXPECT_EQ(found[0]["value"], cli["mostRoids"]["value"]);
    EXPECT_EQ(found[1]["value"], cli["lowestLossPerRoid"].is_null() ? PageJson(nullptr) : cli["lowestLossPerRoid"]["value"]);
    EXPECT_EQ(found[2]["value"], cli["defenderWipedOut"].is_null() ? PageJson(nullptr) : cli["defenderWipedOut"]["value"]);
    EXPECT_NE(found[0]["text"].get<std::string>().find("Attacker AstroPod = "), std::string::npos);
    // A range no larger than its points needs no second pass.
    EXPECT_TRUE(SweepEveryValueReply(Rules(), SweepRequest("0", "20", "21", "2"), Raid())["none"]);
}

// A result belongs to the battle it was run on: using its value keeps a sweep current, a
// change elsewhere or a tick step does not; a fleet's own rows may change.
TEST(PlannerSession, ResultsOfAnotherBattleAreNotCurrent) {
    WebSession session(Rules());
    session.Open(Raid());
    const std::string ranOn = session.Save();
    const SweepInput pods{Side::Attacker, 49};
    session.Type(7, 49, "777");
    EXPECT_TRUE(SweepStillCurrent(ranOn, session.Save(), pods));
    EXPECT_TRUE(FleetStillCurrent(ranOn, session.Save(), {1, 49}));
    session.Type(1, 2, "5");
    EXPECT_FALSE(SweepStillCurrent(ranOn, session.Save(), pods));
    EXPECT_FALSE(FleetStillCurrent(ranOn, session.Save(), {1, 49}));
    session.Undo();
    EXPECT_TRUE(SweepStillCurrent(ranOn, session.Save(), pods));
    session.StepForward();
    EXPECT_FALSE(SweepStillCurrent(ranOn, session.Save(), pods));
}

// Best Fleet answers with row numbers to use, its figures beside the grid's, and says how
// sure it is; a fleet that keeps no limit is neither shown nor offered.
TEST(PlannerSession, BestFleetSaysWhatItFoundByRow) {
    const PageJson found = BestFleetReply(
        Rules(),
        R"({"goal":"loss-per-roid","rows":[[49,"150"],[1,"200"]],"minRoids":"1","maxLoss":"","ticks":"2","evaluations":"10000"})",
        Raid(), nullptr);
    const PageJson cli = PageJson::parse(KestrinCli({"optimise", kRaidPath, "--vary", "attacker:49=150,attacker:1=200",
                                                     "--goal", "loss-per-roid", "--ticks", "2"}));
    ASSERT_EQ(found["rows"].size(), 2u);
    EXPECT_EQ(found["rows"][0]["row"], 49);
    EXPECT_EQ(found["rows"][0]["best"], cli["fleet"]["AstroPod"]);
    EXPECT_EQ(found["rows"][1]["best"], cli["fleet"]["Harpy"]);
    EXPECT_EQ(found["outcome"]["lead"], "Best fleet");
    EXPECT_EQ(found["outcome"]["rest"], " of all 30,351 fleets.");
    EXPECT_EQ(found["periods"][0]["best"][7], cli["summed"]["initRoidsCaptured"]);
    EXPECT_EQ(found["periods"].size(), 3u);
    const PageJson none = BestFleetReply(
        Rules(), R"({"goal":"roids","rows":[[1,"3"]],"minRoids":"1","maxLoss":"0","ticks":"2","evaluations":"10000"})",
        Raid(), nullptr);
    EXPECT_TRUE(none["outcome"]["noFleet"]);
    EXPECT_EQ(none["outcome"]["lead"], "No fleet keeps the limits");
    EXPECT_FALSE(none.contains("rows"));
}


// Best Fleet tells its progress after each batch; cancelled from there, it answers with the
// best fleet so far, shown and usable, and says it was cancelled.
TEST(PlannerSession, BestFleetTellsItsProgressAndCancelKeepsTheBestSoFar) {
    const std::string request =
        R"({"goal":"roids","rows":[[49,"900"],[1,"600"]],"minRoids":"1","maxLoss":"","ticks":"2","evaluations":"20000"})";
    std::vector<std::int64_t> told;
    std::int64_t planned = 0;
    const PageJson whole = BestFleetReply(Rules(), request, Raid(), nullptr, [&](std::int64_t done, std::int64_t of) {
        told.push_back(done);
        planned = of;
        return false;
    });
    ASSERT_GT(told.size(), 1u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), planned);
    EXPECT_EQ(whole["outcome"]["lead"], "Best fleet found");

    int batches = 0;
    const PageJson cancelled = BestFleetReply(Rules(), request, Raid(), nullptr,
                                              [&](std::int64_t, std::int64_t) { return ++batches == 1; });
    EXPECT_EQ(cancelled["outcome"]["lead"], "Best fleet so far");
    EXPECT_NE(cancelled["outcome"]["rest"].get<std::string>().find("(cancelled after " + FormatNumber(told.front(), kPageLocale)),
              std::string::npos);
    ASSERT_EQ(cancelled["rows"].size(), 2u);
    EXPECT_EQ(FleetProgressText(1200, 10000, kPageLocale), "Fleets evaluated: 1,200 of 10,000");
}

// The planner's form offers only rows a sweep can vary (each one sweeps), and says which
// fields each goal reads: "At least roids" only for the goal that weighs it.
TEST(PlannerSession, TheFormOffersOnlyRowsThatVaryAndEachGoalsFields) {
    const PageJson form = PlannerFormJson(Rules(), Raid());
    for (const char* side : {"attacker", "defender"}) {
        ASSERT_FALSE(form["rows"][side].empty());
        for (const PageJson& row : form["rows"][side]) {
            EXPECT_FALSE(row["caption"].get<std::string>().empty()) << side << " " << row["row"];
            const PageJson chart = SweepChartReply(
                Rules(), PageJson{{"side", side}, {"row", row["row"]}, {"from", "0"}, {"to", "1"}, {"points", "2"}, {"ticks", "1"}}.dump(),
                Raid());
            EXPECT_FALSE(chart.contains("error")) << side << " " << row["row"] << ": " << chart.value("error", "");
        }
    }
    std::map<std::string, std::vector<std::string>> fields;
    for (const PageJson& goal : form["goals"]) fields[goal["name"]] = goal["fields"].get<std::vector<std::string>>();
    ASSERT_EQ(fields.size(), 3u);
    for (const auto& [name, read] : fields) {
        EXPECT_EQ(std::count(read.begin(), read.end(), "minRoids"), name == "loss-per-roid" ? 1 : 0) << name;
        EXPECT_EQ(std::count(read.begin(), read.end(), "evaluations"), 1) << name;
    }
}

}  // namespace
}  // namespace kestrin
