#pragma once

#include <atomic>
#include <cstddef>
#include <functional>

namespace kestrin {

/// The worker threads to use for `tasks` tasks when `requested` are asked for (0: one per
/// core): at least one, never more than there are tasks.
int WorkerCount(int requested, std::size_t tasks);

/// Runs task(worker, index) for every index below `count` on `workers` threads (the calling
/// thread is worker 0), each thread taking the next index as it finishes one. A set `cancel`
/// stops every worker before its next index. What a task throws stops the others and is
/// thrown again here once all have stopped: an exception may not leave a thread.
void RunOnWorkers(int workers, std::size_t count, const std::function<void(int worker, std::size_t index)>& task,
                  const std::atomic<bool>* cancel = nullptr);

}  // namespace kestrin
