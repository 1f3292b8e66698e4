#include "battle_sweep.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

#include "planner/point_battle.h"
#include "sheet/result_rows.h"

namespace kestrin {

namespace {

// What the workers share: the work, the next point to take and the slots they fill.
class SweepJob {
public:
    SweepJob(const BattleRules& rules, const SweepRequest& request, const SweepControl& control)
        : rules_(rules), request_(request), control_(control), costs_(FleetCosts::From(rules.catalogue)),
          slots_(request.values.size()) {
        ReadSheetInputs(request.cells, sheetInputs_);
    }

    // One worker: takes points until none is left or the sweep is stopped. What it throws
    // (running out of memory) stops the others and is thrown again by the caller's thread:
    // an exception may not leave a thread.
    void Work() {
        try {
            TakePoints();
        } catch (...) {
            std::lock_guard lock(mutex_);
            if (!thrown_) thrown_ = std::current_exception();
            failed_ = true;
        }
    }

    void RethrowFromWorkers() const {
        if (thrown_) std::rethrow_exception(thrown_);
    }

    SweepResult Result() {
        SweepResult result;
        if (!error_.empty()) {
            result.error = error_;
            return result;
        }
        for (std::optional<SweepPoint>& slot : slots_) {
            if (slot) result.points.push_back(std::move(*slot));
        }
        result.partial = result.points.size() != slots_.size();
        return result;
    }

private:
    void TakePoints() {
        PointBattle battle(rules_, costs_, request_.solver);
        std::vector<SweepFigures> ticks;
        for (;;) {
            if (Stopped()) return;
            const std::size_t index = next_.fetch_add(1);
            if (index >= slots_.size()) return;
            const std::int64_t value = request_.values[index];
            std::string error = battle.Run(PointStart(sheetInputs_, request_.input, value), request_.ticks, ticks);
            if (!error.empty()) return Fail(std::move(error));
            slots_[index] = SweepPoint{value, ticks};
            Report();
        }
    }

    bool Stopped() const {
        return failed_.load() || (control_.cancel != nullptr && control_.cancel->load());
    }

    void Fail(std::string error) {
        std::lock_guard lock(mutex_);
        if (error_.empty()) error_ = std::move(error);
        failed_ = true;
    }

    void Report() {
        std::lock_guard lock(mutex_);
        ++done_;
        if (control_.progress) control_.progress(done_, slots_.size());
    }

    const BattleRules& rules_;
    const SweepRequest& request_;
    const SweepControl& control_;
    const FleetCosts costs_;
    BattleState sheetInputs_;
    // Each slot is written by the one worker that took its index.
    std::vector<std::optional<SweepPoint>> slots_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;  // guards done_, error_, thrown_ and the progress calls
    std::size_t done_ = 0;
    std::string error_;
    std::exception_ptr thrown_;
};

int WorkerCount(const SweepControl& control, std::size_t points) {
    int workers = control.workers > 0 ? control.workers : static_cast<int>(std::thread::hardware_concurrency());
    return static_cast<int>(std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1,
                                                    std::max<std::size_t>(points, 1)));
}

}  // namespace

SweepResult RunSweep(const BattleRules& rules, const SweepRequest& request, const SweepControl& control) {
    SweepJob job(rules, request, control);
    const int workers = WorkerCount(control, request.values.size());
    // The calling thread is one of the workers.
    std::vector<std::jthread> threads;
    for (int i = 1; i < workers; ++i) threads.emplace_back([&job] { job.Work(); });
    job.Work();
    threads.clear();
    job.RethrowFromWorkers();
    return job.Result();
}

}  // namespace kestrin
