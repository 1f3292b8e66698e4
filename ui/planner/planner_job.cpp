#include "ui/planner/planner_job.h"

#include <QMetaObject>

#include <algorithm>
#include <exception>
#include <new>
#include <string_view>

#include "planner/planner_fields.h"

namespace kestrin {

std::string PlannerCores::Claim(const PlannerJob& job) {
    for (const Holder& holder : holders_)
        if (std::string_view(holder.name) != job.Name())
            return OtherRunningText(holder.name);
    if (std::ranges::find(holders_, &job, &Holder::job) == holders_.end()) holders_.push_back({&job, job.Name()});
    return {};
}

void PlannerCores::Release(const PlannerJob& job) {
    std::erase_if(holders_, [&job](const Holder& holder) { return holder.job == &job; });
}

PlannerJob::PlannerJob(PlannerCores& cores, PlannerJobTexts texts, const ThreadStarter& threads, QObject* parent)
    : QObject(parent), cores_(cores), texts_(texts), threads_(threads) {}

PlannerJob::~PlannerJob() {
    closing_ = true;
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}

std::string PlannerJob::Start(Work work) {
    if (running_) return std::string("The ") + texts_.name + " is running.";
    if (std::string refused = cores_.Claim(*this); !refused.empty()) return refused;
    if (thread_.joinable()) thread_.join();
    cancel_ = false;
    error_.clear();
    try {
        thread_ = threads_.Start([this, work = std::move(work)] { Run(work); });
    } catch (const std::bad_alloc&) {
        cores_.Release(*this);
        return texts_.outOfMemory;
    } catch (const std::exception& failure) {
        cores_.Release(*this);
        return std::string("Unable to start the ") + texts_.name + ": " + failure.what();
    }
    running_ = true;
    return {};
}

// On the job's own thread. Nothing may leave it: what the work throws becomes the error, the
// memory it held already given back.
void PlannerJob::Run(const Work& work) {
    std::string error;
    try {
        int lastPermille = -1;
        work(cancel_, [this, &lastPermille](std::int64_t done, std::int64_t total) {
            const int permille = total > 0 ? static_cast<int>(done * 1000 / total) : 0;
            if (permille == lastPermille) return;
            lastPermille = permille;
            QMetaObject::invokeMethod(this, [this, done, total] {
                emit Progress(static_cast<int>(done), static_cast<int>(total));
            }, Qt::QueuedConnection);
        });
    } catch (const std::bad_alloc&) {
        error = texts_.outOfMemory;
    } catch (const std::exception& e) {
        error = std::string("The ") + texts_.name + " failed: " + e.what();
    } catch (...) {
        error = std::string("The ") + texts_.name + " failed.";
    }
    // Reporting back allocates. Should even that fail, the work's memory is given back by
    // now and another try will do; a job being destroyed is not waiting for the report.
    while (!Post(error) && !closing_) std::this_thread::yield();
}

// Queued to this object: dropped if the job is gone by then.
bool PlannerJob::Post(const std::string& error) noexcept {
    try {
        QMetaObject::invokeMethod(this, [this, error] { Done(error); }, Qt::QueuedConnection);
        return true;
    } catch (...) {
        return false;
    }
}

void PlannerJob::Done(const std::string& error) {
    if (thread_.joinable()) thread_.join();
    error_ = error;
    running_ = false;
    cores_.Release(*this);
    emit Finished();
}

}  // namespace kestrin
