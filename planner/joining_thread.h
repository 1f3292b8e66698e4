#pragma once

#include <thread>
#include <utility>

#include "engine/platform.h"

namespace kestrin {

/// A thread that is joined when it is destroyed (std::jthread without the stop token, which
/// not every target's library has).
class JoiningThread {
public:
    template <typename Function>
    explicit JoiningThread(Function&& function) : thread_(std::forward<Function>(function)) {}
    /// No thread yet.
    JoiningThread() = default;
    JoiningThread(JoiningThread&&) noexcept = default;
    /// Waits for the thread held so far, then takes the other's.
    JoiningThread& operator=(JoiningThread&& other) noexcept {
        if (this != &other) {
            Join();
            thread_ = std::move(other.thread_);
        }
        return *this;
    }
    ~JoiningThread() { Join(); }

    /// Whether a thread is held that was not joined yet.
    bool joinable() const noexcept { return thread_.joinable(); }
    /// Waits for the thread to end.
    void join() { thread_.join(); }

private:
    void Join() noexcept {
        if (thread_.joinable()) thread_.join();
    }

    std::thread thread_;
};

/// The workers to use when `requested` (0: one per processor) are asked for: the calling
/// thread alone where the target has no threads.
inline int AvailableWorkers(int requested) {
    if constexpr (!kHasThreads) return 1;
    return requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace kestrin
