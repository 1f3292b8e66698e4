// The findings against brute force: every value's battle run on its own, then a plain scan.
#include <gtest/gtest.h>

#include <random>

#include "planner/point_battle.h"
#include "planner/sweep_findings.h"
#include "planner/sweep_range.h"
#include "sheet/result_rows.h"
#include "sheet/sheet_test_support.h"

namespace kestrin {
namespace {

using namespace kestrin::testing;
using namespace sheet;

constexpr int kAstroPodRow = UnitRow(48);

// A small raid: a few defending types, asteroids of every kind, pods and an escort or two.
SweepRequest RandomRaid(std::mt19937& rng) {
    SheetFixture f;
    std::uniform_int_distribution<int> type(0, kShipCount - 1), few(0, 3000);
    // Every other defender is weak enough to be wiped out.
    const int defence = rng() % 2 ? 1 : 50;
    for (int i = 0; i < 3; ++i) f.Put(kDefShips, UnitRow(type(rng)), few(rng) / defence);
    for (int i = 0; i < 2; ++i) f.Put(kAttShips, UnitRow(type(rng)), few(rng));
    for (int k = 0; k < kRoidKinds; ++k) f.Put(kDefShips, kFirstRoidRow + k, few(rng) / 10);
    const int row = rng() % 4 == 0 ? UnitRow(type(rng)) : kAstroPodRow;
    const std::int64_t from = rng() % 200, to = from + 20 + rng() % 150;
    SweepRequest request{SheetInputs(f.sheet.Cells()), {rng() % 5 == 0 ? Side::Defender : Side::Attacker, row}, {}, 1 + static_cast<int>(rng() % 3)};
    request.values = SweepValues({from, to, to - from + 1});
    return request;
}

// Each value's battle on a PointBattle of its own.
std::vector<SweepPoint> BruteForce(const SweepRequest& request) {
    const BattleState& inputs = request.battle;
    const FleetCosts costs = FleetCosts::From(DefaultRules().catalogue);
    std::vector<SweepPoint> points;
    for (std::int64_t value : request.values) {
        PointBattle battle(DefaultRules(), costs, request.solver);
        SweepPoint& point = points.emplace_back(SweepPoint{value, {}});
        battle.Run(PointStart(inputs, request.input, value), request.ticks, point.ticks);
    }
    return points;
}

// The findings by a plain scan: the best figure first, then the first value that reaches it.
SweepFindings Scan(const std::vector<SweepPoint>& points, PlotMode mode) {
    std::vector<SweepFigures> plotted;
    for (const SweepPoint& p : points) plotted.push_back(PlottedFigures(p, mode));
    std::int64_t most = 0;
    long double bestPerRoid = -1e30L;
    for (const SweepFigures& f : plotted) {
        most = std::max(most, f.results.TIR);
        if (f.results.TIR > 0)
            bestPerRoid = std::max(bestPerRoid, static_cast<long double>(f.results.ALoss) / f.results.TIR);
    }
    SweepFindings found;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const ResultFigures& r = plotted[i].results;
        if (!found[0] && most > 0 && r.TIR == most) found[0] = SweepFinding{points[i].value, r.TIR, {}};
        else if (found[0] && !found[0]->falls && r.TIR < most) found[0]->falls = SweepFall{points[i].value, r.TIR};
        if (!found[1] && r.TIR > 0 && static_cast<long double>(r.ALoss) / r.TIR == bestPerRoid)
            found[1] = SweepFinding{points[i].value, r.ALossPerRoid, {}};
        const SweepFigures& first = points[i].ticks.front();
        const bool wiped = first.defenderValueLeft - first.results.DLoss > 0 && points[i].ticks.back().defenderValueLeft == 0;
        if (!found[2] && wiped) found[2] = SweepFinding{points[i].value, r.DLoss, {}};
    }
    return found;
}

// Over every value of random raids, on two workers: each finding in both plots is what
// brute force finds, its point the value's own battle; over every tenth value only, the
// findings are those of those points.
TEST(SweepFindings, EveryValueTriedMatchesBruteForce) {
    std::mt19937 rng(2417);
    int found[kFindingCount] = {};
    int falls = 0;
    for (int raid = 0; raid < 60; ++raid) {
        SCOPED_TRACE("raid " + std::to_string(raid));
        const SweepRequest request = RandomRaid(rng);
        const std::vector<SweepPoint> brute = BruteForce(request);
        const FindingsPass pass = RunFindingsPass(DefaultRules(), request, {.workers = 2});
        EXPECT_FALSE(pass.partial);
        EXPECT_EQ(pass.tally.Added(), request.values.size());
        std::vector<SweepPoint> tenth;
        for (std::size_t i = 0; i < brute.size(); i += 10) tenth.push_back(brute[i]);
        for (PlotMode mode : {PlotMode::WholeBattle, PlotMode::LastTick}) {
            const SweepFindings expected = Scan(brute, mode);
            ASSERT_EQ(pass.tally.Findings(mode), expected);
            EXPECT_EQ(FindSweepFindings(tenth, mode), Scan(tenth, mode));
            for (int k = 0; k < kFindingCount; ++k) {
                const SweepPoint* point = pass.tally.Point(mode, static_cast<FindingKind>(k));
                ASSERT_EQ(point != nullptr, expected[k].has_value());
                if (point == nullptr) continue;
                ++found[k];
                if (k == 0 && expected[0]->falls) ++falls;
                EXPECT_EQ(*point, brute[static_cast<std::size_t>(point->value - request.values.front())]);
            }
        }
    }
    // The raids make every kind of finding, and maxima that more ships fall from.
    for (int k = 0; k < kFindingCount; ++k) EXPECT_GT(found[k], 4) << "finding " << k;
    EXPECT_GT(falls, 2);
}

// "More adds nothing" only where no larger value captures fewer; else where it falls.
TEST(SweepFindings, TheMostAsteroidsSayWhereMoreShipsCaptureFewer) {
    const NumberLocale locale;
    const SweepFinding held{20000, 1165, {}};
    EXPECT_EQ(FindingText(FindingKind::MostInitRoids, held, "Attacker Brig", locale),
              "Most init. roids captured: 1,165, from Attacker Brig = 20,000 (more adds nothing)");
    const SweepFinding falling{20000, 1165, SweepFall{30000, 1065}};
    EXPECT_EQ(FindingText(FindingKind::MostInitRoids, falling, "Attacker Brig", locale),
              "Most init. roids captured: 1,165, from Attacker Brig = 20,000 (falls to 1,065 at 30,000)");
}

TEST(SweepFindings, ScopeSaysWhatWasTried) {
    const NumberLocale locale;
    const std::vector<std::int64_t> every{0, 3000}, step{0, 30000, 60000}, uneven{0, 5, 10, 16}, one{1500};
    EXPECT_EQ(FindingsScopeText(true, every, locale), "every value from 0 to 3,000 tried");
    EXPECT_EQ(FindingsScopeText(false, step, locale),
              "over the 3 points only, 30,000 apart: the values between them were not tried");
    EXPECT_EQ(FindingsScopeText(false, uneven, locale),
              "over the 4 points only, about 5 apart: the values between them were not tried");
    // A sweep cancelled after one point.
    EXPECT_EQ(FindingsScopeText(false, one, locale), "over the one point 1,500 only: no other value was tried");
    EXPECT_EQ(WholeValuesInRange(0, 99999), 100000u);
    EXPECT_EQ(WholeValuesInRange(INT64_MIN, INT64_MAX), kMaxExactFindingValues + 1);
}

}  // namespace
}  // namespace kestrin
