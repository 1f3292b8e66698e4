#include "fleet_space_search.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <tuple>

namespace kestrin {

namespace {

// Fleets per batch of a walk through the whole space: enough to keep every worker busy, few
// enough for progress and Cancel to answer promptly.
constexpr std::int64_t kWalkBatch = 2048;
// A row with at most this many values is swept value by value; a longer one coarsely first.
constexpr std::int64_t kWholeLine = 160;
// Values a coarse sweep of a long row tries at first.
constexpr std::int64_t kCoarseLine = 48;
// Rows up to which a pattern move tries every direction; beyond, a sample of them.
constexpr std::size_t kAllDirectionsRows = 4;
constexpr int kSampledDirections = 80;
// Most fleets of the box tried around each new best fleet.
constexpr std::int64_t kBoxFleets = 1400;
// Share of the budget spent on the first look over the whole space, and its most fleets.
constexpr std::int64_t kOverviewShare = 4;
constexpr std::int64_t kOverviewMost = 20000;
// Quarters of the budget left after the overview spent on climbs from the lattice's fleets.
constexpr std::int64_t kClimbShare = 3;
// Part of the budget left the raising climbs may spend.
constexpr std::int64_t kRaiseShare = 5;
// Lattice fleets the raising climbs start from, besides the best fleet.
constexpr std::size_t kRaiseStarts = 1;
// Fleets of the planes tried at once at most (besides the last ring), so that a long run's
// batches stay small beside the ledger.
constexpr std::int64_t kPlanesBatch = 16384;
// Random fleets tried at once when the climbs bring nothing new.
constexpr int kFreshBatch = 256;

// A whole number from 0 to `most`, from the seeded generator alone (the standard
// distributions may differ between libraries).
std::int32_t Draw(std::mt19937_64& rng, std::int64_t most) {
    return static_cast<std::int32_t>(rng() % static_cast<std::uint64_t>(most + 1));
}

// Counts `digits` up by one in the mixed radix `radix` (digit i from 0 to radix[i] - 1);
// false after the last number.
bool Advance(std::vector<std::int64_t>& digits, const std::vector<std::int64_t>& radix) {
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (++digits[i] < radix[i]) return true;
        digits[i] = 0;
    }
    return false;
}

// The product of `radix`, or `above` + 1 when it is larger than `above`.
std::int64_t ProductUpTo(const std::vector<std::int64_t>& radix, std::int64_t above) {
    std::int64_t product = 1;
    for (std::int64_t r : radix)
        if (__builtin_mul_overflow(product, r, &product) || product > above) return above + 1;
    return product;
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
        // A climb from the best fleet, raising climbs when a limit binds, climbs from the
        // lattice's best fleets up to a share of the budget; the rest goes to the planes
        // through the best fleet.
        const std::int64_t climbsEnd = ledger_.Evaluations() + ledger_.Left() * kClimbShare / 4;
        Climb(NextStart());
        BoxNewBest();
        Raise();
        while (!ledger_.Done() && ledger_.Evaluations() < climbsEnd && nextStart_ <= starts_.size()) {
            Climb(NextStart());
            BoxNewBest();
        }
        while (!ledger_.Done()) {
            const std::int64_t before = ledger_.Evaluations();
            const Fleet best = BestFleet();
            if (!WidenPlanes()) FreshFleets();
            if (BestFleet() != best) {
                Climb(BestFleet());
                BoxNewBest();
            }
            if (ledger_.Evaluations() == before) FreshFleets();
        }
    }

private:
    // The values row `r` takes (a bound of 2^31 - 1 has 2^31 of them).
    std::int64_t Values(std::size_t r) const { return std::int64_t{space_.Most(r)} + 1; }

    bool Better(const FleetOutcome& a, const FleetOutcome& b) const {
        if (raiseTo_ == 0) return BetterOutcome(ledger_.Aim(), a, b);
        const auto rank = [this](const FleetOutcome& o) { return std::tuple(std::max<std::int64_t>(0, raiseTo_ - o.roids), o.loss, o.sentValue); };
        return rank(a) < rank(b);
    }

    // When a limit binds, the fleets that capture one asteroid more than the best fleet with
    // the least loss: climbs that rank fleets so find the rare fleets that capture more
    // within the loss allowed (the ledger keeps whatever serves the aim better).
    void Raise() {
        const FleetAim& aim = ledger_.Aim();
        const bool limited = aim.maxLoss || !MeetsLimits(aim, ledger_.BestOutcome());
        if (!limited || ledger_.Done()) return;
        // Again while it captures more within the limits, on a share of the budget.
        stopAt_ = ledger_.Evaluations() + ledger_.Left() / kRaiseShare;
        for (std::int64_t reached = -1; reached < ledger_.BestOutcome().roids && !Spent();) {
            reached = ledger_.BestOutcome().roids;
            raiseTo_ = std::max<std::int64_t>(reached + 1, 1);
            std::vector<Start> starts = starts_;
            std::stable_sort(starts.begin(), starts.end(), [this](const Start& a, const Start& b) { return Better(a.outcome, b.outcome); });
            Climb(BestFleet());
            for (std::size_t s = 0; s < std::min<std::size_t>(kRaiseStarts, starts.size()) && !Spent(); ++s) Climb(starts[s].fleet);
            raiseTo_ = 0;
            BoxNewBest();
        }
        stopAt_ = INT64_MAX;
    }

    // The budget, or the share of it a phase may spend, is spent.
    bool Spent() const { return ledger_.Done() || ledger_.Evaluations() >= stopAt_; }

    Fleet BestFleet() const { return Fleet(ledger_.Best().begin(), ledger_.Best().end()); }

    void BoxNewBest() {
        const Fleet best = BestFleet();
        if (best == boxed_) return;
        Box(best);
        boxed_ = best;
    }

    // Every fleet of the planes through the best fleet (each pair of rows, the others as in the
    // best fleet) within the next rings around it, up to twice the radius so far, so that the
    // fleets near the best come first; never many more fleets at once than the budget left or 16,384.
    // False when the planes are tried whole.
    bool WidenPlanes() {
        const Fleet center = BestFleet();
        if (center != planesCenter_) {
            planesCenter_ = center;
            planesRadius_ = 0;
        }
        const std::size_t rows = space_.Rows();
        std::int64_t widest = 0;
        for (std::size_t r = 0; r < rows; ++r) widest = std::max<std::int64_t>(widest, std::max(center[r], space_.Most(r) - center[r]));
        if (planesRadius_ >= widest || rows < 2) return false;
        const std::int64_t outer = std::min(widest, std::max<std::int64_t>(planesRadius_ * 2, 6));
        Batch batch(rows);
        const std::int64_t most = std::min(ledger_.Left(), kPlanesBatch);
        while (planesRadius_ < outer && static_cast<std::int64_t>(batch.Size()) < most && !ledger_.Cancelled()) {
            const std::int64_t ring = ++planesRadius_;
            for (std::size_t i = 0; i < rows; ++i)
                for (std::size_t j = i + 1; j < rows; ++j) AddRing(batch, center, i, j, ring);
        }
        ledger_.Try(batch.Flat());
        return true;
    }

    // The fleets of the square ring `ring` ships around `center` in the plane of rows i and j
    // that lie within the bounds: its two columns whole, its two rows between them. Only the
    // part within the bounds is walked, so a far ring of a long row costs what it adds.
    void AddRing(Batch& batch, const Fleet& center, std::size_t i, std::size_t j, std::int64_t ring) {
        const auto within = [this](std::size_t row, std::int64_t value) { return value >= 0 && value <= space_.Most(row); };
        // The offsets from `from` to `to` along row `row` that stay within its bounds.
        const auto span = [&](std::size_t row, std::int64_t from, std::int64_t to) {
            return std::pair(std::max(from, -std::int64_t{center[row]}), std::min(to, space_.Most(row) - std::int64_t{center[row]}));
        };
        Fleet fleet = center;
        const auto add = [&](std::int64_t a, std::int64_t b) {
            fleet[i] = static_cast<std::int32_t>(center[i] + a);
            fleet[j] = static_cast<std::int32_t>(center[j] + b);
            batch.Add(fleet);
        };
        const bool left = within(i, center[i] - ring), right = within(i, center[i] + ring);
        if (left || right)
            for (auto [b, last] = span(j, -ring, ring); b <= last; ++b) {
                if (left) add(-ring, b);
                if (right) add(ring, b);
            }
        const bool below = within(j, center[j] - ring), above = within(j, center[j] + ring);
        if (below || above)
            for (auto [a, last] = span(i, 1 - ring, ring - 1); a <= last; ++a) {
                if (below) add(a, -ring);
                if (above) add(a, ring);
            }
    }

    // A lattice over the whole space with the same number of values per row (random fleets
    // when even two values per row would be too many).
    void Overview() {
        const std::size_t rows = space_.Rows();
        const std::int64_t points = std::clamp<std::int64_t>(ledger_.Left() / kOverviewShare, 1, kOverviewMost);
        const auto radixOf = [&](std::int64_t perRow) {
            std::vector<std::int64_t> radix;
            for (std::size_t r = 0; r < rows; ++r) radix.push_back(std::min(perRow, Values(r)));
            return radix;
        };
        std::int64_t perRow = 2;
        while (ProductUpTo(radixOf(perRow + 1), points) <= points && perRow < space_.Size() && !ledger_.Cancelled()) ++perRow;
        Batch batch(rows);
        Fleet fleet(rows);
        if (ProductUpTo(radixOf(perRow), points) > points) {
            for (std::int64_t f = 0; f < points; ++f) batch.Add(RandomFleet());
        } else {
            const std::vector<std::int64_t> radix = radixOf(perRow);
            std::vector<std::int64_t> digits(rows, 0);
            do {
                for (std::size_t r = 0; r < rows; ++r)
                    fleet[r] = radix[r] == 1 ? 0 : static_cast<std::int32_t>(digits[r] * space_.Most(r) / (radix[r] - 1));
                batch.Add(fleet);
            } while (Advance(digits, radix) && !ledger_.Cancelled());
        }
        const std::vector<std::optional<FleetOutcome>> outcomes = ledger_.Try(batch.Flat());
        for (std::size_t f = 0; f < batch.Size(); ++f)
            if (outcomes[f]) starts_.push_back({Fleet(batch.At(f).begin(), batch.At(f).end()), *outcomes[f]});
        // Best first; ties keep the lattice's order.
        std::stable_sort(starts_.begin(), starts_.end(), [this](const Start& a, const Start& b) { return Better(a.outcome, b.outcome); });
    }

    Fleet RandomFleet() {
        Fleet fleet(space_.Rows());
        for (std::size_t r = 0; r < fleet.size(); ++r) fleet[r] = Draw(rng_, space_.Most(r));
        return fleet;
    }

    Fleet NextStart() {
        if (nextStart_ == 0) {
            ++nextStart_;
            return Fleet(ledger_.Best().begin(), ledger_.Best().end());
        }
        if (nextStart_ <= starts_.size()) return starts_[nextStart_++ - 1].fleet;
        return RandomFleet();
    }

    // From `fleet`, the best fleet of the lines through it (each row alone swept), and when no
    // line improves, of the planes through it (two rows at once), until neither improves.
    void Climb(Fleet fleet) {
        std::optional<FleetOutcome> current = ledger_.Try(fleet)[0];
        while (current && !Spent()) {
            auto [best, outcome] = BestOnLines(fleet);
            if (!outcome || !Better(*outcome, *current)) std::tie(best, outcome) = BestOnPatterns(fleet);
            if (!outcome || !Better(*outcome, *current)) std::tie(best, outcome) = BestOnPlanes(fleet);
            if (!outcome || !Better(*outcome, *current)) return;
            fleet = best;
            current = outcome;
        }
    }

    // For each pair of rows, the plane through `center`: a window of whole steps around it and
    // a coarse grid over both rows' ranges.
    std::pair<Fleet, std::optional<FleetOutcome>> BestOnPlanes(const Fleet& center) {
        const std::size_t rows = space_.Rows();
        const std::size_t pairs = rows * (rows - 1) / 2;
        const std::int32_t window = pairs <= 3 ? 4 : 2;
        const std::int64_t coarse = pairs <= 3 ? 10 : 6;
        Batch batch(rows);
        Fleet fleet = center;
        for (std::size_t i = 0; i < rows; ++i)
            for (std::size_t j = i + 1; j < rows; ++j) {
                const auto add = [&](std::int64_t a, std::int64_t b) {
                    fleet[i] = space_.Clamped(i, a);
                    fleet[j] = space_.Clamped(j, b);
                    batch.Add(fleet);
                };
                for (std::int32_t a = -window; a <= window; ++a)
                    for (std::int32_t b = -window; b <= window; ++b) add(std::int64_t{center[i]} + a, std::int64_t{center[j]} + b);
                for (std::int64_t a = 0; a < coarse; ++a)
                    for (std::int64_t b = 0; b < coarse; ++b)
                        add(a * space_.Most(i) / (coarse - 1), b * space_.Most(j) / (coarse - 1));
                fleet[i] = center[i];
                fleet[j] = center[j];
            }
        return BestOf(batch);
    }

    // Moves of every row at once by -1, 0 or +1 steps, at steps of 1, 2, 4, ... ships up to half
    // of each row's range (a sample of the directions when there are many rows).
    std::pair<Fleet, std::optional<FleetOutcome>> BestOnPatterns(const Fleet& center) {
        const std::size_t rows = space_.Rows();
        std::int32_t widest = 1;
        for (std::size_t i = 0; i < rows; ++i) widest = std::max(widest, space_.Most(i) / 2);
        std::vector<std::vector<int>> directions;
        if (rows <= kAllDirectionsRows) {
            const std::vector<std::int64_t> radix(rows, 3);
            std::vector<std::int64_t> digits(rows, 0);
            do {
                std::vector<int> d;
                for (std::int64_t digit : digits) d.push_back(static_cast<int>(digit) - 1);
                if (std::any_of(d.begin(), d.end(), [](int x) { return x != 0; })) directions.push_back(d);
            } while (Advance(digits, radix));
        } else {
            for (int k = 0; k < kSampledDirections; ++k) {
                std::vector<int> d(rows);
                for (int& x : d) x = static_cast<int>(Draw(rng_, 2)) - 1;
                directions.push_back(d);
            }
        }
        Batch batch(rows);
        Fleet fleet(rows);
        for (std::int64_t step = 1; step <= widest; step *= 2)
            for (const std::vector<int>& d : directions) {
                for (std::size_t i = 0; i < rows; ++i) {
                    const std::int64_t rowStep = std::max<std::int64_t>(1, std::min<std::int64_t>(step, space_.Most(i) / 2));
                    fleet[i] = space_.Clamped(i, center[i] + d[i] * rowStep);
                }
                batch.Add(fleet);
            }
        return BestOf(batch);
    }

    // The best of `batch`'s fleets, tried.
    std::pair<Fleet, std::optional<FleetOutcome>> BestOf(const Batch& batch) {
        const std::vector<std::optional<FleetOutcome>> outcomes = ledger_.Try(batch.Flat());
        std::optional<std::size_t> best;
        for (std::size_t f = 0; f < outcomes.size(); ++f)
            if (outcomes[f] && (!best || Better(*outcomes[f], *outcomes[*best]))) best = f;
        if (!best) return {{}, std::nullopt};
        return {Fleet(batch.At(*best).begin(), batch.At(*best).end()), outcomes[*best]};
    }

    // Sweeps every row through `center`: short rows whole, long ones coarsely and then more
    // finely where the outcome changes or is best.
    std::pair<Fleet, std::optional<FleetOutcome>> BestOnLines(const Fleet& center) {
        const std::size_t rows = space_.Rows();
        std::vector<std::vector<std::int32_t>> values(rows);  // tried values of each row, ascending
        Batch batch(rows);
        for (std::size_t r = 0; r < rows; ++r) {
            const std::int64_t count = Values(r);
            const std::int64_t taken = count <= kWholeLine ? count : kCoarseLine;
            for (std::int64_t i = 0; i < taken; ++i)
                values[r].push_back(static_cast<std::int32_t>(taken == 1 ? 0 : i * space_.Most(r) / (taken - 1)));
            for (const std::int64_t near : {std::int64_t{center[r]} - 1, std::int64_t{center[r]}, std::int64_t{center[r]} + 1})
                if (near >= 0 && near <= space_.Most(r)) values[r].push_back(static_cast<std::int32_t>(near));
            std::sort(values[r].begin(), values[r].end());
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
                std::sort(values[r].begin(), values[r].end());
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

    // Every fleet within a few ships of `center` in every row at once.
    void Box(const Fleet& center) {
        const std::size_t rows = space_.Rows();
        std::int64_t radius = 0;
        while (ProductUpTo(std::vector<std::int64_t>(rows, 2 * radius + 3), kBoxFleets) <= kBoxFleets) ++radius;
        if (radius == 0) return;
        const std::vector<std::int64_t> radix(rows, 2 * radius + 1);
        std::vector<std::int64_t> digits(rows, 0);
        Batch batch(rows);
        Fleet fleet(rows);
        do {
            for (std::size_t i = 0; i < rows; ++i) fleet[i] = space_.Clamped(i, center[i] + digits[i] - radius);
            batch.Add(fleet);
        } while (Advance(digits, radix));
        ledger_.Try(batch.Flat());
    }

    // Fleets not tried yet when the climbs bring nothing new: random ones, and once those are
    // mostly tried, the next ones in index order, so that the budget is always spent.
    void FreshFleets() {
        Batch batch(space_.Rows());
        for (int f = 0; f < kFreshBatch; ++f) batch.Add(RandomFleet());
        const std::int64_t before = ledger_.Evaluations();
        ledger_.Try(batch.Flat());
        if (ledger_.Evaluations() - before >= kFreshBatch / 2) return;
        batch.Clear();
        Fleet fleet(space_.Rows());
        for (; cursor_ < space_.Size() && static_cast<std::int64_t>(batch.Size()) < ledger_.Left() && !ledger_.Cancelled(); ++cursor_) {
            space_.FleetAt(cursor_, fleet);
            if (!ledger_.Find(fleet)) batch.Add(fleet);
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
    std::int64_t cursor_ = 0;  // where FreshFleets walks on
    Fleet boxed_;              // the fleet the last box was centred on
    Fleet planesCenter_;       // the fleet the planes are centred on, and their radius so far
    std::int64_t planesRadius_ = 0;
    std::int64_t raiseTo_ = 0;  // while raising: the asteroids sought, else 0
    std::int64_t stopAt_ = INT64_MAX;  // evaluations after which a phase's climbs stop
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
