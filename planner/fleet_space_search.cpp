#include "fleet_space_search.h"

#include <algorithm>
#include <random>

namespace kestrin {

namespace {

// Fleets per batch of a walk through the whole space: enough to keep every worker busy, few
// enough for progress and Cancel to answer promptly.
constexpr std::int64_t kWalkBatch = 2048;
// A row with at most this many values is swept value by value; a longer one coarsely first.
constexpr std::int64_t kWholeLine = 160;
// Values a coarse sweep of a long row tries at first.
constexpr std::int64_t kCoarseLine = 48;
// Share of the budget spent on the first look over the whole space.
constexpr std::int64_t kOverviewShare = 8;

// A whole number from 0 to `most`, from the seeded generator alone (the standard
// distributions may differ between libraries).
std::int32_t Draw(std::mt19937_64& rng, std::int64_t most) {
    return static_cast<std::int32_t>(rng() % static_cast<std::uint64_t>(most + 1));
}

// Fleets held flat, as the ledger takes them.
class Batch {
public:
    explicit Batch(std::size_t rows) : rows_(rows) {}
    void Add(std::span<const std::int32_t> fleet) { flat_.insert(flat_.end(), fleet.begin(), fleet.end()); }
    void AddMoved(std::span<const std::int32_t> fleet, std::size_t row, std::int32_t value) {
        Add(fleet);
        flat_[flat_.size() - rows_ + row] = value;
    }
    std::size_t Size() const { return flat_.size() / rows_; }
    std::span<const std::int32_t> At(std::size_t f) const { return std::span(flat_).subspan(f * rows_, rows_); }
    std::span<const std::int32_t> Flat() const { return flat_; }
    void Clear() { flat_.clear(); }

private:
    std::size_t rows_;
    std::vector<std::int32_t> flat_;
};

class SpaceSearch {
public:
    SpaceSearch(FleetLedger& ledger, const FleetSpace& space, std::uint64_t seed)
        : ledger_(ledger), space_(space), rng_(seed) {}

    void Run(std::span<const std::int32_t> start) {
        ledger_.Try(start);
        Overview();
        while (!ledger_.Done()) {
            const std::int64_t before = ledger_.Evaluations();
            Climb(NextStart());
            if (ledger_.Evaluations() == before) RandomFleets();
        }
    }

private:
    bool Better(const FleetOutcome& a, const FleetOutcome& b) const { return BetterOutcome(ledger_.Aim(), a, b); }

    // A lattice over the whole space with the same number of values per row.
    void Overview() {
        const std::int64_t points = std::max<std::int64_t>(ledger_.Left() / kOverviewShare, 1);
        std::int64_t perRow = 2;
        const auto latticeSize = [&](std::int64_t n) {
            std::int64_t size = 1;
            for (std::size_t r = 0; r < space_.Rows(); ++r) size *= std::min<std::int64_t>(n, space_.Most(r) + 1);
            return size;
        };
        while (latticeSize(perRow + 1) <= points && perRow < 1 << 20) ++perRow;
        Batch batch(space_.Rows());
        std::vector<std::int32_t> fleet(space_.Rows(), 0);
        std::vector<std::int64_t> step(space_.Rows(), 0);
        for (;;) {
            for (std::size_t r = 0; r < space_.Rows(); ++r) {
                const std::int64_t values = std::min<std::int64_t>(perRow, space_.Most(r) + 1);
                fleet[r] = values == 1 ? 0 : static_cast<std::int32_t>(step[r] * space_.Most(r) / (values - 1));
            }
            batch.Add(fleet);
            std::size_t r = space_.Rows();
            while (r-- > 0) {
                if (++step[r] < std::min<std::int64_t>(perRow, space_.Most(r) + 1)) break;
                step[r] = 0;
            }
            if (r == static_cast<std::size_t>(-1)) break;
        }
        const std::vector<std::optional<FleetOutcome>> outcomes = ledger_.Try(batch.Flat());
        for (std::size_t f = 0; f < batch.Size(); ++f)
            if (outcomes[f]) starts_.push_back({Fleet(batch.At(f).begin(), batch.At(f).end()), *outcomes[f]});
        // Best first; ties keep the lattice's order.
        std::ranges::stable_sort(starts_, [this](const Start& a, const Start& b) { return Better(a.outcome, b.outcome); });
    }

    Fleet NextStart() {
        if (nextStart_ == 0) {
            ++nextStart_;
            return Fleet(ledger_.Best().begin(), ledger_.Best().end());
        }
        if (nextStart_ <= starts_.size()) return starts_[nextStart_++ - 1].fleet;
        Fleet fleet(space_.Rows());
        for (std::size_t r = 0; r < fleet.size(); ++r) fleet[r] = Draw(rng_, space_.Most(r));
        return fleet;
    }

    // From `fleet`, the best fleet of the lines through it (each row alone swept), until no
    // line improves.
    void Climb(Fleet fleet) {
        std::optional<FleetOutcome> current = ledger_.Try(fleet)[0];
        while (current && !ledger_.Done()) {
            const auto [best, outcome] = BestOnLines(fleet);
            if (!outcome || !Better(*outcome, *current)) return;
            fleet = best;
            current = outcome;
        }
    }

    // Sweeps every row through `center`: short rows whole, long ones coarsely and then more
    // finely where the outcome changes or is best.
    std::pair<Fleet, std::optional<FleetOutcome>> BestOnLines(const Fleet& center) {
        const std::size_t rows = space_.Rows();
        std::vector<std::vector<std::int32_t>> values(rows);  // tried values of each row, ascending
        Batch batch(rows);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::int64_t count = std::int64_t{space_.Most(r)} + 1;
            const std::int64_t taken = count <= kWholeLine ? count : kCoarseLine;
            for (std::int64_t i = 0; i < taken; ++i)
                values[r].push_back(static_cast<std::int32_t>(taken == 1 ? 0 : i * space_.Most(r) / (taken - 1)));
            for (std::int32_t near : {center[r] - 1, center[r], center[r] + 1})
                if (near >= 0 && near <= space_.Most(r)) values[r].push_back(near);
            std::ranges::sort(values[r]);
            values[r].erase(std::unique(values[r].begin(), values[r].end()), values[r].end());
            for (std::int32_t v : values[r]) batch.AddMoved(center, r, v);
        }
        ledger_.Try(batch.Flat());
        // Refine the gaps of long rows.
        for (bool refined = true; refined && !ledger_.Done();) {
            refined = false;
            batch.Clear();
            for (std::size_t r = 0; r < rows; ++r) {
                std::vector<std::int32_t> added;
                RefineLine(center, r, values[r], added);
                for (std::int32_t v : added) batch.AddMoved(center, r, v);
                values[r].insert(values[r].end(), added.begin(), added.end());
                std::ranges::sort(values[r]);
                refined = refined || !added.empty();
            }
            if (refined) ledger_.Try(batch.Flat());
        }
        Fleet best = center;
        std::optional<FleetOutcome> bestOutcome;
        Fleet fleet = center;
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::int32_t v : values[r]) {
                fleet[r] = v;
                const std::optional<FleetOutcome> o = ledger_.Find(fleet);
                if (o && (!bestOutcome || Better(*o, *bestOutcome))) {
                    best = fleet;
                    bestOutcome = o;
                }
            }
            fleet[r] = center[r];
        }
        return {best, bestOutcome};
    }

    // Values to add between the tried values of row `r`'s line: in each gap whose two ends
    // differ in outcome, or next to the line's best value, a few values evenly spaced.
    void RefineLine(const Fleet& center, std::size_t r, const std::vector<std::int32_t>& tried,
                    std::vector<std::int32_t>& added) {
        Fleet fleet = center;
        std::vector<std::optional<FleetOutcome>> outcomes;
        std::optional<std::size_t> best;
        for (std::size_t i = 0; i < tried.size(); ++i) {
            fleet[r] = tried[i];
            outcomes.push_back(ledger_.Find(fleet));
            if (outcomes[i] && (!best || Better(*outcomes[i], *outcomes[*best]))) best = i;
        }
        for (std::size_t i = 0; i + 1 < tried.size(); ++i) {
            const std::int32_t gap = tried[i + 1] - tried[i];
            if (gap <= 1) continue;
            const bool nearBest = best && (i == *best || i + 1 == *best);
            const bool changes = outcomes[i] != outcomes[i + 1];
            if (!nearBest && !changes) continue;
            if (gap <= 4) {
                for (std::int32_t v = tried[i] + 1; v < tried[i + 1]; ++v) added.push_back(v);
            } else {
                for (int q = 1; q < 4; ++q) added.push_back(tried[i] + static_cast<std::int32_t>(std::int64_t{gap} * q / 4));
            }
        }
    }

    void RandomFleets() {
        Batch batch(space_.Rows());
        Fleet fleet(space_.Rows());
        for (int f = 0; f < 256; ++f) {
            for (std::size_t r = 0; r < fleet.size(); ++r) fleet[r] = Draw(rng_, space_.Most(r));
            batch.Add(fleet);
        }
        ledger_.Try(batch.Flat());
    }

    struct Start {
        Fleet fleet;
        FleetOutcome outcome;
    };

    FleetLedger& ledger_;
    const FleetSpace& space_;
    std::mt19937_64 rng_;
    std::vector<Start> starts_;
    std::size_t nextStart_ = 0;
};

}  // namespace

void WalkFleetSpace(FleetLedger& ledger, const FleetSpace& space) {
    std::vector<std::int32_t> batch;
    for (std::int64_t first = 0; first < space.Size() && !ledger.Done(); first += kWalkBatch) {
        const std::int64_t end = std::min(space.Size(), first + kWalkBatch);
        batch.resize(static_cast<std::size_t>(end - first) * space.Rows());
        for (std::int64_t index = first; index < end; ++index)
            space.FleetAt(index, std::span(batch).subspan(static_cast<std::size_t>(index - first) * space.Rows(), space.Rows()));
        ledger.TryFresh(batch);
    }
}

void SearchFleetSpace(FleetLedger& ledger, const FleetSpace& space, std::span<const std::int32_t> start,
                      std::uint64_t seed) {
    SpaceSearch(ledger, space, seed).Run(start);
}

}  // namespace kestrin
