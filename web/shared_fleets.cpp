#include "shared_fleets.h"

#include <emscripten/emscripten.h>

#include <stdexcept>
#include <type_traits>

namespace kestrin {

// Outcomes cross the block as their bytes: both workers run the same module.
static_assert(std::is_trivially_copyable_v<FleetOutcome> && sizeof(FleetOutcome) == 24);

namespace {

// The block's states, in its first word.
enum : int { kIdle = 0, kLent = 1, kDone = 2, kFailed = 3, kEnd = 4 };

EM_JS(int, share_bytes, (), { return Module['fleetShare'].byteLength; });

// Lent fleets of `rows` varied rows that fit in the block beside their outcomes.
std::size_t FleetsThatFit(std::size_t rows) {
    const auto bytes = static_cast<std::size_t>(share_bytes());
    return bytes < 16 ? 0 : (bytes - 16) / (rows * sizeof(std::int32_t) + sizeof(FleetOutcome));
}

// Atomics.wait blocks only a worker, never the page: both sides run in workers.
EM_JS(void, share_lend, (const std::int32_t* fleets, int count, int rows), {
    const share = Module['fleetShare'];
    const state = new Int32Array(share, 0, 4);
    new Int32Array(share, 16, count * rows).set(HEAP32.subarray(fleets >> 2, (fleets >> 2) + count * rows));
    Atomics.store(state, 1, count);
    Atomics.store(state, 0, 1);
    Atomics.notify(state, 0);
});

EM_JS(int, share_collect, (void* outcomes, int count, int rows, int capacity), {
    const share = Module['fleetShare'];
    const state = new Int32Array(share, 0, 4);
    let now;
    while ((now = Atomics.load(state, 0)) === 1) Atomics.wait(state, 0, 1);
    if (now !== 2) return 0;
    HEAPU8.set(new Uint8Array(share, 16 + capacity * rows * 4, count * 24), outcomes);
    Atomics.store(state, 0, 0);
    return 1;
});

EM_JS(void, share_signal, (int to), {
    const state = new Int32Array(Module['fleetShare'], 0, 4);
    Atomics.store(state, 0, to);
    Atomics.notify(state, 0);
});

// The next lent fleets, copied to `fleets`: their number, or -1 once the search is done.
EM_JS(int, share_take, (std::int32_t* fleets, int rows), {
    const share = Module['fleetShare'];
    const state = new Int32Array(share, 0, 4);
    for (;;) {
        const now = Atomics.load(state, 0);
        if (now === 1) break;
        if (now === 4 || now === 3) return -1;
        Atomics.wait(state, 0, now);
    }
    const count = Atomics.load(state, 1);
    HEAP32.set(new Int32Array(share, 16, count * rows), fleets >> 2);
    return count;
});

EM_JS(void, share_return, (const void* outcomes, int count, int rows, int capacity), {
    const share = Module['fleetShare'];
    new Uint8Array(share, 16 + capacity * rows * 4, count * 24).set(HEAPU8.subarray(outcomes, outcomes + count * 24));
    const state = new Int32Array(share, 0, 4);
    // Only fleets still awaited are answered: a search that ended meanwhile stays ended.
    Atomics.compareExchange(state, 0, 1, 2);
    Atomics.notify(state, 0);
});

}  // namespace

SharedFleetHelper::~SharedFleetHelper() { share_signal(kEnd); }

std::size_t SharedFleetHelper::Capacity(std::size_t rows) const { return FleetsThatFit(rows); }

void SharedFleetHelper::Start(std::span<const std::int32_t> fleets, std::size_t rows) {
    rows_ = rows;
    share_lend(fleets.data(), static_cast<int>(fleets.size() / rows), static_cast<int>(rows));
}

void SharedFleetHelper::Finish(std::span<FleetOutcome> outcomes) {
    if (share_collect(outcomes.data(), static_cast<int>(outcomes.size()), static_cast<int>(rows_),
                      static_cast<int>(FleetsThatFit(rows_))) == 0)
        throw std::runtime_error("the second core's worker stopped");
}

void ServeSharedFleets(const BattleRules& rules, const FleetSearchRequest& request) {
    const std::size_t rows = request.rows.size();
    const std::size_t capacity = FleetsThatFit(rows);
    try {
        FleetHelperWork work(rules, request);
        std::vector<std::int32_t> fleets(capacity * rows);
        std::vector<FleetOutcome> outcomes(capacity);
        for (;;) {
            const int count = share_take(fleets.data(), static_cast<int>(rows));
            if (count < 0) return;
            const auto n = static_cast<std::size_t>(count);
            work.Evaluate(std::span(fleets).first(n * rows), std::span(outcomes).first(n));
            share_return(outcomes.data(), count, static_cast<int>(rows), static_cast<int>(capacity));
        }
    } catch (...) {
        share_signal(kFailed);
        throw;
    }
}

}  // namespace kestrin
