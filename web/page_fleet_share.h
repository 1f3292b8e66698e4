#pragma once

#include "shared_fleets.h"

namespace kestrin {

/// The block the page handed this module as `Module.fleetShare` (a SharedArrayBuffer).
/// Waiting (Atomics.wait) blocks only a worker, never the page: both sides run in workers.
class PageFleetShare final : public FleetShare {
public:
    std::size_t Bytes() const override;
    std::int32_t State() const override;
    bool Move(std::int32_t from, std::int32_t to) override;
    void Set(std::int32_t to) override;
    void WaitWhile(std::int32_t now) const override;
    std::int32_t Count() const override;
    void SetCount(std::int32_t count) override;
    void Write(std::size_t offset, const void* bytes, std::size_t size) override;
    void Read(std::size_t offset, void* bytes, std::size_t size) const override;
};

}  // namespace kestrin
