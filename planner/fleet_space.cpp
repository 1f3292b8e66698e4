#include "fleet_space.h"

#include <algorithm>
#include <limits>

#include "engine/saturating.h"

namespace kestrin {

FleetSpace::FleetSpace(std::vector<std::int32_t> most) : most_(std::move(most)) {
    // Exact in 128 bits: a saturated count times a row's values stays beyond the range.
    for (std::int32_t m : most_) {
        const Int128 exact = Int128{size_} * (Int128{m} + 1);
        beyond_ = beyond_ || exact > std::numeric_limits<std::int64_t>::max();
        size_ = SaturatingInt64(exact);
    }
}

void FleetSpace::FleetAt(std::int64_t index, std::span<std::int32_t> fleet) const {
    for (std::size_t i = most_.size(); i-- > 0;) {
        const std::int64_t values = std::int64_t{most_[i]} + 1;
        fleet[i] = static_cast<std::int32_t>(index % values);
        index /= values;
    }
}

std::int32_t FleetSpace::Clamped(std::size_t row, std::int64_t value) const {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, 0, most_[row]));
}

}  // namespace kestrin
