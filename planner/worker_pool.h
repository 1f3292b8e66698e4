#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

#include "planner/joining_thread.h"

namespace kestrin {

/// The worker threads to use for `tasks` tasks when `requested` are asked for (0: one per
/// core): at least one, never more than there are tasks.
int WorkerCount(int requested, std::size_t tasks);

/// Starts the threads of the planner's background work. The system's starter is the one the
/// programs use; a test passes one that fails, as the system does when it is out of threads.
class ThreadStarter {
public:
    virtual ~ThreadStarter() = default;
    /// A thread running `body`; throws (std::system_error) when none can be started.
    virtual JoiningThread Start(std::function<void()> body) const = 0;
};

/// The starter that asks the system for threads.
const ThreadStarter& SystemThreads();

/// Worker threads kept for many batches of tasks, so that a search of many small batches does
/// not start threads for each. The calling thread is worker 0. Not for use by two threads at
/// once.
class WorkerPool {
public:
    /// A pool of `workers` (at least one, the caller included). When a thread cannot be
    /// started, the ones already started are stopped and joined before the failure is thrown:
    /// nothing is left waiting.
    explicit WorkerPool(int workers, const ThreadStarter& starter = SystemThreads());
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    /// Runs task(worker, index) for every index below `count`, each worker taking the next
    /// index, in ascending order, as it finishes one. A set `cancel` stops every worker before
    /// its next index. What a task throws stops the others and is thrown again here once all
    /// have stopped: an exception may not leave a thread.
    void Run(std::size_t count, const std::function<void(int worker, std::size_t index)>& task,
             const std::atomic<bool>* cancel = nullptr);

    int Workers() const { return static_cast<int>(threads_.size()) + 1; }

private:
    void Loop(int worker);
    void Work(int worker);
    void Stop();

    std::mutex mutex_;  // guards generation_, busy_, stopping_ and thrown_
    std::condition_variable wake_, done_;
    std::uint64_t generation_ = 0;  // one more per batch
    int busy_ = 0;                  // threads not done with the batch
    bool stopping_ = false;
    std::exception_ptr thrown_;
    // The batch, set before the threads are woken.
    const std::function<void(int, std::size_t)>* task_ = nullptr;
    std::size_t count_ = 0;
    const std::atomic<bool>* cancel_ = nullptr;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> failed_{false};
    std::vector<JoiningThread> threads_;
};

}  // namespace kestrin
