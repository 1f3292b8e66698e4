#include "worker_pool.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kestrin {

int WorkerCount(int requested, std::size_t tasks) {
    const int workers = requested > 0 ? requested : static_cast<int>(std::thread::hardware_concurrency());
    return static_cast<int>(std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1,
                                                    std::max<std::size_t>(tasks, 1)));
}

void RunOnWorkers(int workers, std::size_t count, const std::function<void(int, std::size_t)>& task,
                  const std::atomic<bool>* cancel) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::mutex mutex;  // guards thrown
    std::exception_ptr thrown;
    const auto work = [&](int worker) {
        try {
            while (!failed.load() && (cancel == nullptr || !cancel->load())) {
                const std::size_t index = next.fetch_add(1);
                if (index >= count) return;
                task(worker, index);
            }
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!thrown) thrown = std::current_exception();
            failed = true;
        }
    };
    std::vector<std::jthread> threads;
    for (int w = 1; w < workers; ++w) threads.emplace_back(work, w);
    work(0);
    threads.clear();
    if (thrown) std::rethrow_exception(thrown);
}

}  // namespace kestrin
