#include "battle_sweep.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include "planner/joining_thread.h"
#include "planner/point_battle.h"
#include "sheet/result_rows.h"

namespace kestrin {

namespace {

// How many points a worker may run ahead of the first one not yet handed on, per worker,
// when points are handed on as they finish.
constexpr std::size_t kPointsAheadPerWorker = 4;

// What the workers share: the work, the next point to take and the slots they fill.
class SweepJob {
public:
    SweepJob(const BattleRules& rules, const SweepRequest& request, const SweepControl& control, int workers)
        : rules_(rules), request_(request), control_(control), costs_(FleetCosts::From(rules.catalogue)),
          streaming_(static_cast<bool>(control.pointFinished)),
          slots_(streaming_ ? std::min(request.values.size(), kPointsAheadPerWorker * static_cast<std::size_t>(workers))
                            : request.values.size()) {
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
            room_.notify_all();
        }
    }

    void RethrowFromWorkers() const {
        if (thrown_) std::rethrow_exception(thrown_);
    }

    SweepResult Result() {
        SweepResult result;
        if (streaming_) {
            result.partial = handedOn_ != request_.values.size();
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
            if (index >= request_.values.size()) return;
            if (streaming_ && !WaitForRoom(index)) return;
            const std::int64_t value = request_.values[index];
            battle.Run(PointStart(sheetInputs_, request_.input, value), request_.ticks, ticks);
            if (streaming_) {
                HandOn(index, SweepPoint{value, ticks});
            } else {
                slots_[index] = SweepPoint{value, ticks};
                Report();
            }
        }
    }

    // A point more than the slots ahead of the first one not handed on waits for it; the
    // worker on that point is running, so it comes. False when the sweep stopped meanwhile.
    bool WaitForRoom(std::size_t index) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return failed_.load() || index < handedOn_ + slots_.size(); });
        return !failed_.load();
    }

    // Stores a finished point and hands on every point that is now next in order.
    void HandOn(std::size_t index, SweepPoint point) {
        std::lock_guard lock(mutex_);
        slots_[index % slots_.size()] = std::move(point);
        ++done_;
        if (control_.progress) control_.progress(done_, request_.values.size());
        for (;;) {
            std::optional<SweepPoint>& next = slots_[handedOn_ % slots_.size()];
            if (failed_.load() || !next) break;
            const SweepPoint finished = std::move(*next);
            next.reset();
            ++handedOn_;
            room_.notify_all();
            control_.pointFinished(finished);
        }
    }

    bool Stopped() const {
        return failed_.load() || (control_.cancel != nullptr && control_.cancel->load());
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
    const bool streaming_;
    // Each slot is written by the one worker that took its index. Handing points on, they
    // are a ring of the points between the first not handed on and the furthest ahead.
    std::vector<std::optional<SweepPoint>> slots_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;  // guards done_, handedOn_, the ring, thrown_ and the callbacks
    std::condition_variable room_;  // a slot of the ring came free, or the sweep stopped
    std::size_t done_ = 0;
    std::size_t handedOn_ = 0;
    std::exception_ptr thrown_;
};

int WorkerCount(const SweepControl& control, std::size_t points) {
    const int workers = AvailableWorkers(control.workers);
    return static_cast<int>(std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1,
                                                    std::max<std::size_t>(points, 1)));
}

}  // namespace

SweepResult RunSweep(const BattleRules& rules, const SweepRequest& request, const SweepControl& control) {
    const int workers = WorkerCount(control, request.values.size());
    SweepJob job(rules, request, control, workers);
    // The calling thread is one of the workers.
    std::vector<JoiningThread> threads;
    for (int i = 1; i < workers; ++i) threads.emplace_back([&job] { job.Work(); });
    job.Work();
    threads.clear();
    job.RethrowFromWorkers();
    return job.Result();
}

}  // namespace kestrin
