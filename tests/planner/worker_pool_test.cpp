// The worker pool when the system cannot start one of its threads.
#include <gtest/gtest.h>

#include <atomic>
#include <system_error>

#include "planner/worker_pool.h"

namespace kestrin {
namespace {

// Starts `allowed` threads, then fails as a system out of threads does; counts the threads
// that ended.
class FailingThreads final : public ThreadStarter {
public:
    explicit FailingThreads(int allowed) : allowed_(allowed) {}

    JoiningThread Start(std::function<void()> body) const override {
        if (started_ == allowed_) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        ++started_;
        return JoiningThread([this, body = std::move(body)] {
            body();
            ++ended_;
        });
    }

    int Started() const { return started_; }
    int Ended() const { return ended_; }

private:
    int allowed_;
    mutable int started_ = 0;
    mutable std::atomic<int> ended_{0};
};

// Whichever thread fails, the ones started before it are stopped and joined: the failure
// reaches the caller, nothing waits forever, and a pool can be made again.
TEST(WorkerPool, AThreadThatCannotStartStopsTheOthersAndIsReported) {
    for (int allowed = 0; allowed < 3; ++allowed) {
        const FailingThreads threads(allowed);
        EXPECT_THROW(WorkerPool(4, threads), std::system_error);
        EXPECT_EQ(threads.Started(), allowed);
        EXPECT_EQ(threads.Ended(), allowed);
    }
    const FailingThreads enough(2);
    WorkerPool pool(3, enough);
    std::atomic<int> ran{0};
    pool.Run(50, [&](int, std::size_t) { ++ran; });
    EXPECT_EQ(ran, 50);
}

}  // namespace
}  // namespace kestrin
