#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrin::fuzz {

/// Reads the fuzzer's bytes one at a time; 0 once they are used up, so that any input is a
/// complete run.
struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Next() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
};

}  // namespace kestrin::fuzz
