#pragma once
// Replaces the program's operator new: include it in one source file of a test program only.
// While a RefuseLargeAllocations lives, allocations from a given size on fail with
// std::bad_alloc, except those of the thread it spares. Running out of memory is tested this
// way rather than by capping the address space, which also counts thread stacks and so
// depends on the machine's limits and number of cores.

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>
#include <thread>

namespace kestrin::testing {

/// The size from which allocations fail, and the thread that is spared.
inline std::atomic<std::size_t> refuseFrom{std::numeric_limits<std::size_t>::max()};
inline std::atomic<std::thread::id> sparedThread{};

/// Makes allocations of `size` bytes and more fail while it lives.
struct RefuseLargeAllocations {
    explicit RefuseLargeAllocations(std::size_t size, bool spareThisThread = false) {
        if (spareThisThread) sparedThread = std::this_thread::get_id();
        refuseFrom = size;
    }
    ~RefuseLargeAllocations() {
        refuseFrom = std::numeric_limits<std::size_t>::max();
        sparedThread = std::thread::id();
    }
    RefuseLargeAllocations(const RefuseLargeAllocations&) = delete;
    RefuseLargeAllocations& operator=(const RefuseLargeAllocations&) = delete;
};

}  // namespace kestrin::testing

// Never inlined: the compiler would otherwise see free() meet a pointer from operator new.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (size >= kestrin::testing::refuseFrom.load(std::memory_order_relaxed) &&
        std::this_thread::get_id() != kestrin::testing::sparedThread.load())
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
