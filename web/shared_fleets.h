#pragma once

// Best Fleet on both cores of a browser. WebAssembly here has no threads, so the page runs
// the same `optimise` in two Web Workers sharing one block of memory (a SharedArrayBuffer the
// page hands each module as `fleetShare`): the searching worker lends part of every batch of
// fleets to the helping worker and waits for their outcomes. The block holds four 32-bit
// words (state, count), then room for as many lent fleets as fit with their outcomes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "planner/fleet_search.h"

namespace kestrin {

/// The searching worker's side: lends fleets through the shared block. When it goes, the
/// helper is told that no more will come.
class SharedFleetHelper final : public FleetHelper {
public:
    SharedFleetHelper() = default;
    ~SharedFleetHelper() override;
    SharedFleetHelper(const SharedFleetHelper&) = delete;
    SharedFleetHelper& operator=(const SharedFleetHelper&) = delete;

    std::size_t Capacity(std::size_t rows) const override;
    void Start(std::span<const std::int32_t> fleets, std::size_t rows) override;
    void Finish(std::span<FleetOutcome> outcomes) override;

private:
    std::size_t rows_ = 1;
};

/// The helping worker's side: evaluates the fleets lent through the shared block until the
/// searching worker is done.
void ServeSharedFleets(const BattleRules& rules, const FleetSearchRequest& request);

}  // namespace kestrin
