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
    JoiningThread(JoiningThread&&) noexcept = default;
    JoiningThread& operator=(JoiningThread&&) = delete;
    ~JoiningThread() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

/// The workers to use when `requested` (0: one per processor) are asked for: the calling
/// thread alone where the target has no threads.
inline int AvailableWorkers(int requested) {
    if constexpr (!kHasThreads) return 1;
    return requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
}

}  // namespace kestrin
