#pragma once

// Best Fleet on both cores of a browser. WebAssembly here has no threads, so the page runs
// the search in two Web Workers sharing one block of memory (a SharedArrayBuffer the page
// hands each module): the searching worker lends part of every batch of fleets to the
// helping worker and waits for their outcomes. The block holds four 32-bit words (state,
// count), then room for as many lent fleets as fit with their outcomes.

#include <cstddef>
#include <cstdint>
#include <span>

#include "planner/fleet_search.h"

namespace kestrin {

/// The shared block as one worker sees it. Every change of the state wakes the other side.
class FleetShare {
public:
    /// The states of the block's first word. Failed and End are final: nothing moves on from
    /// them, so a failure is never overwritten by the next lend.
    enum : std::int32_t { kIdle = 0, kLent = 1, kDone = 2, kFailed = 3, kEnd = 4 };

    virtual ~FleetShare() = default;
    /// The block's size in bytes.
    virtual std::size_t Bytes() const = 0;
    /// The block's state (kIdle...).
    virtual std::int32_t State() const = 0;
    /// Moves the state from `from` to `to` if it is `from`; whether it did.
    virtual bool Move(std::int32_t from, std::int32_t to) = 0;
    /// Sets the state whatever it was (a failure, the end).
    virtual void Set(std::int32_t to) = 0;
    /// Waits while the state is `now`.
    virtual void WaitWhile(std::int32_t now) const = 0;
    /// The number of fleets lent (the block's second word).
    virtual std::int32_t Count() const = 0;
    virtual void SetCount(std::int32_t count) = 0;
    /// Copies bytes into and out of the block, `offset` from its start.
    virtual void Write(std::size_t offset, const void* bytes, std::size_t size) = 0;
    virtual void Read(std::size_t offset, void* bytes, std::size_t size) const = 0;
};

/// The searching worker's side: lends fleets through the shared block. When it goes, the
/// helper is told that no more will come.
class SharedFleetHelper final : public FleetHelper {
public:
    explicit SharedFleetHelper(FleetShare& share) : share_(share) {}
    ~SharedFleetHelper() override;
    SharedFleetHelper(const SharedFleetHelper&) = delete;
    SharedFleetHelper& operator=(const SharedFleetHelper&) = delete;

    std::size_t Capacity(std::size_t rows) const override;
    /// Throws (std::runtime_error) when the helper has failed, even before its first batch.
    void Start(std::span<const std::int32_t> fleets, std::size_t rows) override;
    void Finish(std::span<FleetOutcome> outcomes) override;

private:
    FleetShare& share_;
    std::size_t rows_ = 1;
};

/// The helping worker's side: evaluates the fleets lent through the shared block until the
/// searching worker is done. What it throws is thrown again after the block says Failed.
void ServeSharedFleets(const BattleRules& rules, const FleetSearchRequest& request, FleetShare& share);

/// What the searching worker says when the helper has stopped.
inline constexpr const char* kHelperStopped = "The second core's worker stopped";

}  // namespace kestrin
