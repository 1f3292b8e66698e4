#include "battle_sweep.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "planner/point_battle.h"
#include "planner/worker_pool.h"

namespace kestrin {

namespace {

// How many points a worker may run ahead of the first one not yet handed on, per worker,
// when points are handed on as they finish.
constexpr std::size_t kPointsAheadPerWorker = 4;

// The sweep's points as a pool's tasks: each worker's battle, and the slots they fill.
class SweepJob {
public:
    SweepJob(const BattleRules& rules, const SweepRequest& request, const SweepControl& control, int workers)
        : request_(request), control_(control), costs_(FleetCosts::From(rules.catalogue)),
          streaming_(static_cast<bool>(control.pointFinished)),
          slots_(streaming_ ? std::min(request.values.size(), kPointsAheadPerWorker * static_cast<std::size_t>(workers))
                            : request.values.size()),
          ticks_(static_cast<std::size_t>(workers)) {
        battles_.reserve(static_cast<std::size_t>(workers));
        for (int w = 0; w < workers; ++w) battles_.emplace_back(rules, costs_, request.solver);
    }

    // Point `index` on worker `worker`. A failure wakes the workers waiting for room before
    // it goes on to the pool, which stops the others and throws it again to the caller.
    void RunPoint(int worker, std::size_t index) {
        try {
            if (streaming_ && !WaitForRoom(index)) return;
            std::vector<SweepFigures>& ticks = ticks_[static_cast<std::size_t>(worker)];
            const std::int64_t value = request_.values[index];
            battles_[static_cast<std::size_t>(worker)].Run(PointStart(request_.battle, request_.input, value),
                                                           request_.ticks, ticks);
            if (streaming_) {
                HandOn(index, SweepPoint{value, ticks});
            } else {
                slots_[index] = SweepPoint{value, ticks};
                Report();
            }
        } catch (...) {
            Fail();
            throw;
        }
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
    // A point more than the slots ahead of the first one not handed on waits for it; the
    // worker on that point is running, so it comes. False when the sweep failed meanwhile.
    bool WaitForRoom(std::size_t index) {
        std::unique_lock lock(mutex_);
        room_.wait(lock, [&] { return failed_ || index < handedOn_ + slots_.size(); });
        return !failed_;
    }

    void Fail() {
        std::lock_guard lock(mutex_);
        failed_ = true;
        room_.notify_all();
    }

    // Stores a finished point and hands on every point that is now next in order.
    void HandOn(std::size_t index, SweepPoint point) {
        std::lock_guard lock(mutex_);
        slots_[index % slots_.size()] = std::move(point);
        ++done_;
        if (control_.progress) control_.progress(done_, request_.values.size());
        for (;;) {
            std::optional<SweepPoint>& next = slots_[handedOn_ % slots_.size()];
            if (failed_ || !next) break;
            const SweepPoint finished = std::move(*next);
            next.reset();
            ++handedOn_;
            room_.notify_all();
            control_.pointFinished(finished);
        }
    }

    void Report() {
        std::lock_guard lock(mutex_);
        ++done_;
        if (control_.progress) control_.progress(done_, slots_.size());
    }

    const SweepRequest& request_;
    const SweepControl& control_;
    const FleetCosts costs_;
    const bool streaming_;
    // Each slot is written by the one worker that took its index. Handing points on, they
    // are a ring of the points between the first not handed on and the furthest ahead.
    std::vector<std::optional<SweepPoint>> slots_;
    std::vector<PointBattle> battles_;              // one per worker
    std::vector<std::vector<SweepFigures>> ticks_;  // one per worker
    std::mutex mutex_;  // guards done_, handedOn_, failed_, the ring and the callbacks
    std::condition_variable room_;  // a slot of the ring came free, or the sweep failed
    std::size_t done_ = 0;
    std::size_t handedOn_ = 0;
    bool failed_ = false;
};

}  // namespace

SweepResult RunSweep(const BattleRules& rules, const SweepRequest& request, const SweepControl& control) {
    WorkerPool pool(WorkerCount(control.workers, request.values.size()));
    SweepJob job(rules, request, control, pool.Workers());
    pool.Run(request.values.size(), [&job](int worker, std::size_t index) { job.RunPoint(worker, index); },
             control.cancel);
    return job.Result();
}

}  // namespace kestrin
