#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kestrin {

/// Scratch array that lives on the stack for the usual sizes (one entry per unit type) and
/// falls back to the heap beyond, so the hot path allocates nothing.
template <typename T, std::size_t InlineCapacity = 64>
class SmallBuffer {
public:
    explicit SmallBuffer(std::size_t size) : size_(size) {
        if (size > InlineCapacity) heap_.resize(size);
        data_ = size > InlineCapacity ? heap_.data() : inline_.data();
    }
    SmallBuffer(const SmallBuffer&) = delete;
    SmallBuffer& operator=(const SmallBuffer&) = delete;

    /// Element access.
    T& operator[](std::size_t i) { return data_[i]; }
    /// Element access.
    const T& operator[](std::size_t i) const { return data_[i]; }
    /// Number of elements.
    std::size_t size() const { return size_; }

private:
    std::size_t size_;
    std::array<T, InlineCapacity> inline_;  // left uninitialised: callers fill what they use
    std::vector<T> heap_;
    T* data_;
};

}  // namespace kestrin
