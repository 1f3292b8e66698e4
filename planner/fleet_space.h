#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrin {

/// Counts of the varied rows, in the request's order.
using Fleet = std::vector<std::int32_t>;

/// The fleets a search may send: each varied row from 0 to its most ships. A fleet is held as
/// its counts, one per row in the request's order; many fleets are held flat, one after
/// another, so that a batch is one allocation.
class FleetSpace {
public:
    explicit FleetSpace(std::vector<std::int32_t> most);

    std::size_t Rows() const { return most_.size(); }
    std::int32_t Most(std::size_t row) const { return most_[row]; }
    /// Number of fleets, saturating at the 64-bit range.
    std::int64_t Size() const { return size_; }
    /// Whether there are more fleets than the 64-bit range holds (Size() is then its top).
    bool Beyond() const { return beyond_; }

    /// The fleet of `index` (below Size()), the first row as the most significant digit: in
    /// index order the fleets ascend row by row.
    void FleetAt(std::int64_t index, std::span<std::int32_t> fleet) const;
    /// `value` held within row `row`'s bounds.
    std::int32_t Clamped(std::size_t row, std::int64_t value) const;

private:
    std::vector<std::int32_t> most_;
    std::int64_t size_ = 1;
    bool beyond_ = false;
};

}  // namespace kestrin
