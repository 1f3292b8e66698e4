#include "shared_fleets.h"

#include <stdexcept>
#include <type_traits>
#include <vector>

namespace kestrin {

// Outcomes cross the block as their bytes: both workers run the same module.
static_assert(std::is_trivially_copyable_v<FleetOutcome> && sizeof(FleetOutcome) == 24);

namespace {

constexpr std::size_t kHeader = 16;

// Lent fleets of `rows` varied rows that fit in the block beside their outcomes.
std::size_t FleetsThatFit(const FleetShare& share, std::size_t rows) {
    const std::size_t bytes = share.Bytes();
    return bytes < kHeader ? 0 : (bytes - kHeader) / (rows * sizeof(std::int32_t) + sizeof(FleetOutcome));
}

// Where the outcomes begin: after room for every fleet that fits.
std::size_t OutcomesAt(const FleetShare& share, std::size_t rows) {
    return kHeader + FleetsThatFit(share, rows) * rows * sizeof(std::int32_t);
}

}  // namespace

SharedFleetHelper::~SharedFleetHelper() { share_.Set(FleetShare::kEnd); }

std::size_t SharedFleetHelper::Capacity(std::size_t rows) const { return FleetsThatFit(share_, rows); }

void SharedFleetHelper::Start(std::span<const std::int32_t> fleets, std::size_t rows) {
    rows_ = rows;
    share_.Write(kHeader, fleets.data(), fleets.size_bytes());
    share_.SetCount(static_cast<std::int32_t>(fleets.size() / rows));
    // Only an idle helper takes fleets: a helper that failed stays failed.
    if (!share_.Move(FleetShare::kIdle, FleetShare::kLent)) throw std::runtime_error(kHelperStopped);
}

void SharedFleetHelper::Finish(std::span<FleetOutcome> outcomes) {
    std::int32_t now;
    while ((now = share_.State()) == FleetShare::kLent) share_.WaitWhile(FleetShare::kLent);
    if (now != FleetShare::kDone) throw std::runtime_error(kHelperStopped);
    share_.Read(OutcomesAt(share_, rows_), outcomes.data(), outcomes.size_bytes());
    if (!share_.Move(FleetShare::kDone, FleetShare::kIdle)) throw std::runtime_error(kHelperStopped);
}

void ServeSharedFleets(const BattleRules& rules, const FleetSearchRequest& request, FleetShare& share) {
    const std::size_t rows = request.rows.size();
    try {
        FleetHelperWork work(rules, request);
        std::vector<std::int32_t> fleets(FleetsThatFit(share, rows) * rows);
        std::vector<FleetOutcome> outcomes(FleetsThatFit(share, rows));
        for (;;) {
            std::int32_t now;
            while ((now = share.State()) == FleetShare::kIdle || now == FleetShare::kDone) share.WaitWhile(now);
            if (now != FleetShare::kLent) return;
            const auto count = static_cast<std::size_t>(share.Count());
            share.Read(kHeader, fleets.data(), count * rows * sizeof(std::int32_t));
            work.Evaluate(std::span(fleets).first(count * rows), std::span(outcomes).first(count));
            share.Write(OutcomesAt(share, rows), outcomes.data(), count * sizeof(FleetOutcome));
            // Only fleets still awaited are answered: a search that ended meanwhile stays ended.
            share.Move(FleetShare::kLent, FleetShare::kDone);
        }
    } catch (...) {
        share.Set(FleetShare::kFailed);
        throw;
    }
}

}  // namespace kestrin
