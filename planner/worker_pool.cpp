#include "worker_pool.h"

#include <algorithm>
#include <utility>

namespace kestrin {

int WorkerCount(int requested, std::size_t tasks) {
    const int workers = AvailableWorkers(requested);
    return static_cast<int>(std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1,
                                                    std::max<std::size_t>(tasks, 1)));
}

namespace {

class SystemThreadStarter final : public ThreadStarter {
public:
    JoiningThread Start(std::function<void()> body) const override { return JoiningThread(std::move(body)); }
};

}  // namespace

const ThreadStarter& SystemThreads() {
    static const SystemThreadStarter starter;
    return starter;
}

WorkerPool::WorkerPool(int workers, const ThreadStarter& starter) {
    // Room for every thread first: a started thread is never dropped for want of a place.
    threads_.reserve(static_cast<std::size_t>(std::max(workers - 1, 0)));
    try {
        for (int w = 1; w < workers; ++w) threads_.push_back(starter.Start([this, w] { Loop(w); }));
    } catch (...) {
        // The destructor does not run for a constructor that throws: the threads started
        // would wait for work forever.
        Stop();
        throw;
    }
}

WorkerPool::~WorkerPool() { Stop(); }

void WorkerPool::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    threads_.clear();  // joins
}

void WorkerPool::Run(std::size_t count, const std::function<void(int, std::size_t)>& task,
                     const std::atomic<bool>* cancel) {
    {
        std::lock_guard lock(mutex_);
        task_ = &task;
        count_ = count;
        cancel_ = cancel;
        next_ = 0;
        failed_ = false;
        thrown_ = nullptr;
        busy_ = static_cast<int>(threads_.size());
        ++generation_;
    }
    wake_.notify_all();
    Work(0);
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return busy_ == 0; });
    if (thrown_) std::rethrow_exception(std::exchange(thrown_, nullptr));
}

void WorkerPool::Loop(int worker) {
    std::uint64_t seen = 0;
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
        }
        Work(worker);
        std::lock_guard lock(mutex_);
        if (--busy_ == 0) done_.notify_one();
    }
}

void WorkerPool::Work(int worker) {
    try {
        while (!failed_.load() && (cancel_ == nullptr || !cancel_->load())) {
            const std::size_t index = next_.fetch_add(1);
            if (index >= count_) return;
            (*task_)(worker, index);
        }
    } catch (...) {
        std::lock_guard lock(mutex_);
        if (!thrown_) thrown_ = std::current_exception();
        failed_ = true;
    }
}

}  // namespace kestrin
