#include "ui/planner/fleet_search_runner.h"

#include <QMetaObject>

#include <exception>
#include <new>

namespace kestrin {

namespace {

const char* const kSearchOutOfMemory =
    "Out of memory: the search needs more memory than there is. Try fewer ticks.";

}  // namespace

FleetSearchRunner::FleetSearchRunner(const BattleRules& rules, QObject* parent) : QObject(parent), rules_(rules) {}

FleetSearchRunner::~FleetSearchRunner() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

void FleetSearchRunner::Start(FleetSearchRequest request, std::vector<std::int32_t> gridCounts, int workers) {
    if (running_) return;
    if (thread_.joinable()) thread_.join();
    running_ = true;
    cancel_ = false;
    thread_ = std::thread([this, request = std::move(request), gridCounts = std::move(gridCounts), workers] {
        FleetSearchControl control;
        control.workers = workers;
        control.cancel = &cancel_;
        // Called on this thread after each batch: a few hundred signals per search.
        control.progress = [this](std::int64_t done, std::int64_t total) {
            QMetaObject::invokeMethod(this, [this, done, total] {
                emit Progress(static_cast<int>(done), static_cast<int>(total));
            }, Qt::QueuedConnection);
        };
        // Nothing may leave the thread: what the search throws becomes its error.
        auto outcome = std::make_shared<FleetSearchOutcome>();
        try {
            outcome->result = FindBestFleet(rules_, request, control);
            outcome->grid = EvaluateFleet(rules_, request, gridCounts);
        } catch (const std::bad_alloc&) {
            outcome = std::make_shared<FleetSearchOutcome>(FleetSearchOutcome{{}, {}, kSearchOutOfMemory});
        } catch (const std::exception& e) {
            outcome = std::make_shared<FleetSearchOutcome>(FleetSearchOutcome{{}, {}, e.what()});
        }
        // Queued to this object: dropped if the runner is gone by then.
        QMetaObject::invokeMethod(this, [this, outcome] { Done(outcome); }, Qt::QueuedConnection);
    });
}

void FleetSearchRunner::Done(std::shared_ptr<FleetSearchOutcome> outcome) {
    if (thread_.joinable()) thread_.join();
    outcome_ = std::move(*outcome);
    running_ = false;
    emit Finished();
}

}  // namespace kestrin
