#include "ui/planner/sweep_runner.h"

#include <QMetaObject>

#include <exception>
#include <new>
#include <system_error>

namespace kestrin {

SweepRunner::SweepRunner(const BattleRules& rules, QObject* parent) : QObject(parent), rules_(rules) {}

SweepRunner::~SweepRunner() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string SweepRunner::Start(SweepRequest request, int workers) {
    return Launch(std::move(request), workers, false);
}

std::string SweepRunner::StartFindings(SweepRequest request, int workers) {
    return Launch(std::move(request), workers, true);
}

std::string SweepRunner::Launch(SweepRequest request, int workers, bool findings) {
    if (running_) return {};
    if (thread_.joinable()) thread_.join();
    cancel_ = false;
    try {
        thread_ = std::thread([this, request = std::move(request), workers, findings] { Run(request, workers, findings); });
    } catch (const std::bad_alloc&) {
        return kSweepOutOfMemory;
    } catch (const std::system_error& failure) {
        return std::string("Unable to start the sweep: ") + failure.what();
    }
    running_ = true;
    return {};
}

// On the sweep's own thread.
void SweepRunner::Run(const SweepRequest& request, int workers, bool findings) {
    int lastPermille = -1;
    SweepControl control;
    control.workers = workers;
    control.cancel = &cancel_;
    // Called one at a time: only a change of a thousandth reaches the window.
    control.progress = [this, &lastPermille](std::size_t done, std::size_t total) {
        const int permille = static_cast<int>(done * 1000 / total);
        if (permille == lastPermille) return;
        lastPermille = permille;
        QMetaObject::invokeMethod(this, [this, done, total] {
            emit Progress(static_cast<int>(done), static_cast<int>(total));
        }, Qt::QueuedConnection);
    };
    // Nothing may leave the thread: what the sweep throws becomes its error, the
    // memory it held already given back.
    std::shared_ptr<Outcome> outcome;
    try {
        outcome = std::make_shared<Outcome>();
        if (findings) outcome->findings = RunFindingsPass(rules_, request, control);
        else outcome->result = RunSweep(rules_, request, control);
    } catch (const std::bad_alloc&) {
        outcome = std::make_shared<Outcome>(Outcome{{}, {}, kSweepOutOfMemory});
    } catch (const std::exception& e) {
        outcome = std::make_shared<Outcome>(Outcome{{}, {}, e.what()});
    }
    // Queued to this object: dropped if the runner is gone by then.
    QMetaObject::invokeMethod(this, [this, outcome] { Done(outcome); }, Qt::QueuedConnection);
}

void SweepRunner::Done(std::shared_ptr<Outcome> outcome) {
    if (thread_.joinable()) thread_.join();
    result_ = std::move(outcome->result);
    findings_ = std::move(outcome->findings);
    error_ = std::move(outcome->error);
    running_ = false;
    emit Finished();
}

}  // namespace kestrin
