#include "fleet_pattern_search.h"

#include <algorithm>
#include <random>

#include "planner/sweep_range.h"

namespace kestrin {

namespace {

// Batches in a row that may bring nothing new before the search ends: the space within reach
// is used up.
constexpr int kFruitlessBatches = 64;
// Random fleets near the current one added to each batch.
constexpr int kRandomMoves = 4;

// A whole number from 0 to `most`, from the seeded generator alone (the standard
// distributions may differ between libraries).
std::int32_t Draw(std::mt19937_64& rng, std::int64_t most) {
    return static_cast<std::int32_t>(rng() % static_cast<std::uint64_t>(most + 1));
}

class PatternSearch {
public:
    PatternSearch(FleetLedger& ledger, const FleetSearchRequest& request)
        : ledger_(ledger), request_(request), rng_(request.seed) {
        for (const VariedRow& varied : request.rows) most_.push_back(varied.most);
    }

    void Run() {
        TryLineSweeps();
        current_ = *ledger_.Best();
        currentOutcome_ = ledger_.BestOutcome();
        ResetSteps();
        int fruitless = 0;
        while (!ledger_.Done() && fruitless < kFruitlessBatches) {
            const std::int64_t before = ledger_.Evaluations();
            Step();
            fruitless = ledger_.Evaluations() == before ? fruitless + 1 : 0;
        }
    }

private:
    // Each row swept from 0 to its bound with the other rows as on the grid.
    void TryLineSweeps() {
        const Fleet grid = *ledger_.Best();
        std::vector<Fleet> batch{grid};
        for (std::size_t i = 0; i < most_.size(); ++i) {
            if (most_[i] == 0) continue;
            for (std::int64_t value : SweepValues({0, most_[i], std::min<std::int64_t>(most_[i] + 1, kLineSweepPoints)})) {
                Fleet fleet = grid;
                fleet[i] = static_cast<std::int32_t>(value);
                batch.push_back(fleet);
            }
        }
        ledger_.Try(batch);
    }

    void Step() {
        const std::vector<Fleet> batch = Moves();
        const std::vector<std::optional<FleetOutcome>> outcomes = ledger_.Try(batch);
        std::optional<std::size_t> best;
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (outcomes[i] && (!best || BetterOutcome(request_.aim, *outcomes[i], *outcomes[*best]))) best = i;
        if (best && BetterOutcome(request_.aim, *outcomes[*best], currentOutcome_)) {
            current_ = batch[*best];
            currentOutcome_ = *outcomes[*best];
        } else if (std::all_of(steps_.begin(), steps_.end(), [](std::int32_t s) { return s == 1; })) {
            Restart();
        } else {
            for (std::int32_t& step : steps_) step = std::max(1, step / 2);
        }
    }

    // One row up or down by its step, one row up and another down, and a few random fleets
    // within the steps.
    std::vector<Fleet> Moves() {
        std::vector<Fleet> moves;
        const std::size_t n = current_.size();
        for (std::size_t i = 0; i < n; ++i)
            for (int sign : {1, -1}) moves.push_back(Moved(current_, i, sign * steps_[i]));
        for (std::size_t i = 0; i < n; ++i)
            for (std::size_t j = 0; j < n; ++j)
                if (i != j) moves.push_back(Moved(Moved(current_, i, steps_[i]), j, -steps_[j]));
        for (int r = 0; r < kRandomMoves; ++r) {
            Fleet fleet = current_;
            for (std::size_t i = 0; i < n; ++i)
                fleet[i] = Clamped(i, std::int64_t{fleet[i]} - steps_[i] + Draw(rng_, 2 * std::int64_t{steps_[i]}));
            moves.push_back(fleet);
        }
        return moves;
    }

    // From a random fleet, or every other time from the best so far shaken by a quarter of
    // each row's range, with the steps wide again.
    void Restart() {
        const bool fromBest = restarts_++ % 2 == 1;
        Fleet fleet = fromBest ? *ledger_.Best() : Fleet(current_.size());
        for (std::size_t i = 0; i < fleet.size(); ++i) {
            const std::int64_t shake = std::max<std::int64_t>(1, most_[i] / 4);
            fleet[i] = fromBest ? Clamped(i, std::int64_t{fleet[i]} - shake + Draw(rng_, 2 * shake))
                                : Draw(rng_, most_[i]);
        }
        current_ = fleet;
        const std::vector<std::optional<FleetOutcome>> outcome = ledger_.Try({fleet});
        currentOutcome_ = outcome[0].value_or(ledger_.BestOutcome());
        ResetSteps();
    }

    void ResetSteps() {
        steps_.clear();
        for (std::int64_t most : most_) steps_.push_back(static_cast<std::int32_t>(std::max<std::int64_t>(1, most / 8)));
    }

    std::int32_t Clamped(std::size_t i, std::int64_t value) const {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, most_[i]));
    }

    Fleet Moved(Fleet fleet, std::size_t i, std::int64_t by) const {
        fleet[i] = Clamped(i, fleet[i] + by);
        return fleet;
    }

    FleetLedger& ledger_;
    const FleetSearchRequest& request_;
    std::mt19937_64 rng_;
    std::vector<std::int64_t> most_;
    Fleet current_;
    FleetOutcome currentOutcome_;
    std::vector<std::int32_t> steps_;
    int restarts_ = 0;
};

}  // namespace

void SearchByPatterns(FleetLedger& ledger, const FleetSearchRequest& request) { PatternSearch(ledger, request).Run(); }

}  // namespace kestrin
