// The fleet advisor's search at the edges of a count: rows whose bound is the largest count a
// cell holds, alone and together, must end within the budget, and a cancel must end the search
// wherever it stands, with no evaluation after it.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "planner/fleet_ledger.h"
#include "planner/fleet_outcome_text.h"
#include "planner/fleet_search.h"
#include "planner/fleet_space.h"
#include "planner/fleet_space_search.h"

namespace kestrin {
namespace {

// Bounds at the 32-bit limit on one row, beside short and empty rows, and on several rows.
const std::vector<std::vector<std::int32_t>> kLimitSpaces = {
    {INT32_MAX},
    {INT32_MAX, 100},
    {INT32_MAX, 0},
    {INT32_MAX - 1, INT32_MAX},
    {INT32_MAX, INT32_MAX, INT32_MAX},
    {5, INT32_MAX, 0, INT32_MAX, 40},
};

std::string Named(const std::vector<std::int32_t>& most) {
    std::string text = "bounds";
    for (std::int32_t m : most) text += " " + std::to_string(m);
    return text;
}

// An outcome without a battle: asteroids rise with the ships sent up to a ceiling that lies
// far inside the range, so the best fleets are neither at 0 nor at the bound; the loss grows
// with every ship.
FleetOutcome Outcome(std::span<const std::int32_t> fleet) {
    std::int64_t ships = 0, roids = 0;
    for (std::size_t r = 0; r < fleet.size(); ++r) {
        ships += fleet[r];
        roids += std::min<std::int64_t>(fleet[r] / static_cast<std::int64_t>(1000 + 7 * r), 900000);
    }
    return {roids, ships / 3, ships};
}

// A source that answers from Outcome and sets `cancel` once `cancelAfter` fleets are evaluated;
// after that it evaluates nothing more, as the real evaluator does. `askedAfterCancel` counts the
// fleets of the batches handed to it after the cancel.
struct CancellingSource {
    std::size_t rows;
    std::int64_t cancelAfter;
    std::atomic<bool>& cancel;
    std::int64_t evaluated = 0;
    std::int64_t askedAfterCancel = 0;

    void operator()(std::span<const std::int32_t> flat, std::span<std::optional<FleetOutcome>> out,
                    const std::atomic<bool>* stop) {
        if (cancel) askedAfterCancel += static_cast<std::int64_t>(out.size());
        for (std::size_t f = 0; f < out.size() && !(stop && stop->load()); ++f) {
            out[f] = Outcome(flat.subspan(f * rows, rows));
            if (++evaluated == cancelAfter) cancel = true;
        }
    }
};

// Fleets within their bounds; the grid's fleet a start inside the range.
std::vector<std::int32_t> Start(const std::vector<std::int32_t>& most) {
    std::vector<std::int32_t> start;
    for (std::int32_t m : most) start.push_back(m / 3);
    return start;
}

TEST(FleetSearchLimits, SpacesWithBoundsAtTheLargestCountSpendTheirBudgetAndEnd) {
    constexpr std::int64_t kEvaluations = 3000;
    std::atomic<bool> never{false};
    for (const std::vector<std::int32_t>& most : kLimitSpaces) {
        SCOPED_TRACE(Named(most));
        const FleetSpace space(most);
        CancellingSource source{most.size(), -1, never};
        FleetLedger ledger(most.size(), {FleetGoal::Roids, 1, {}}, std::ref(source), {{}, &never}, kEvaluations);
        SearchFleetSpace(ledger, space, Start(most), 1);
        EXPECT_EQ(ledger.Evaluations(), kEvaluations);
        EXPECT_EQ(source.evaluated, kEvaluations);
        ASSERT_EQ(ledger.Best().size(), most.size());
        for (std::size_t r = 0; r < most.size(); ++r) {
            EXPECT_GE(ledger.Best()[r], 0);
            EXPECT_LE(ledger.Best()[r], most[r]);
        }
        EXPECT_FALSE(BetterOutcome(ledger.Aim(), Outcome(Start(most)), ledger.BestOutcome()));
    }
}

// Cancelled after the grid's fleet (while the overview is laid out), in the overview, in the
// climbs and in the planes and fresh fleets at the end of the budget.
TEST(FleetSearchLimits, ACancelEndsTheSearchWhereverItStandsWithNoEvaluationAfterIt) {
    for (const std::int64_t cancelAfter : {1, 300, 1500, 5500}) {
        for (const std::vector<std::int32_t>& most : kLimitSpaces) {
            SCOPED_TRACE(Named(most) + ", cancelled after " + std::to_string(cancelAfter));
            std::atomic<bool> cancel{false};
            CancellingSource source{most.size(), cancelAfter, cancel};
            FleetLedger ledger(most.size(), {FleetGoal::Roids, 1, {}}, std::ref(source), {{}, &cancel}, 6000);
            SearchFleetSpace(ledger, FleetSpace(most), Start(most), 7);
            EXPECT_TRUE(ledger.Cancelled());
            EXPECT_EQ(ledger.Evaluations(), cancelAfter);
            EXPECT_EQ(source.evaluated, cancelAfter);
            EXPECT_EQ(source.askedAfterCancel, 0);
        }
    }
}

// A space beyond the 64-bit range is counted as more than the range holds, not as a figure one
// below it, and a space of exactly the range's top is counted exactly.
TEST(FleetSearchLimits, FleetCountsBeyondTheRangeSaySo) {
    const std::vector<VariedRow> three = {{1, INT32_MAX}, {2, INT32_MAX}, {3, INT32_MAX}};  // 2^93 fleets
    EXPECT_EQ(FleetSpaceSize(three), INT64_MAX);
    EXPECT_EQ(FleetCountText(three, NumberLocale{}), "more than 9,223,372,036,854,775,807 fleets");
    const std::vector<VariedRow> top = {{1, 49 * 73 * 127 - 1}, {2, 337 * 92737 - 1}, {3, 649657 - 1}};  // 2^63 - 1
    EXPECT_EQ(FleetSpaceSize(top), INT64_MAX);
    EXPECT_EQ(FleetCountText(top, NumberLocale{}), "9,223,372,036,854,775,807 fleets");
    EXPECT_EQ(FleetCountText({{1, 2500}}, NumberLocale{}), "2,501 fleets");
}

}  // namespace
}  // namespace kestrin
