#include "save_temporaries.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "engine/platform.h"

namespace kestrin {

namespace {

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

// How long a signal waits for the line being written: far longer than a line takes to reach
// a file, short enough that a stalled reader does not keep the program from ending.
constexpr std::chrono::seconds kLineWait{2};

// Takes `lock` unless another holds it all through `wait`. Polled: a timed lock is not seen by
// every thread checker, and this runs once, when the program is being ended.
bool LockWithin(std::unique_lock<std::mutex>& lock, std::chrono::steady_clock::duration wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!lock.try_lock()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool Ignored(int signal) {
    struct sigaction action {};
    return ::sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN;
}

}  // namespace

std::unique_lock<std::mutex> SaveTemporaries::Hold() {
    std::unique_lock lock(mutex_);
    // Without threads there are no signals to await either (WebAssembly).
    if (kHasThreads && !waiter_.joinable()) {
        sigemptyset(&signals_);
        for (int signal : kEndingSignals) {
            if (!Ignored(signal)) sigaddset(&signals_, signal);
        }
        // The waiter's own wake-up at the end, whatever the program was started ignoring.
        sigaddset(&signals_, SIGHUP);
        ::pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
        waiter_ = std::thread([this] { Await(); });
    }
    // The signal's thread takes the lock next, whoever else asks for it: it ends the process.
    neverWoken_.wait(lock, [this] { return !ending_; });
    return lock;
}

void SaveTemporaries::Forget() {
    const std::lock_guard lock(mutex_);
    temporary_.clear();
}

SaveTemporaries::~SaveTemporaries() {
    if constexpr (kHasThreads) {
        if (!waiter_.joinable()) return;
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        ::pthread_kill(waiter_.native_handle(), SIGHUP);
        waiter_.join();
    }
}

void SaveTemporaries::Await() {
    for (;;) {
        int signal = 0;
        if (::sigwait(&signals_, &signal) != 0) continue;
        const bool ending = !(signal == SIGHUP && Ignored(SIGHUP));
        ending_ = ending;
        std::unique_lock lock(mutex_, std::defer_lock);
        const bool held = ending ? LockWithin(lock, kLineWait) : (lock.lock(), true);
        if (held && stopping_) return;
        if (!ending) continue;
        // Without the lock the temporary's name may be changing: it cannot be read.
        if (held && !temporary_.empty()) ::unlink(temporary_.c_str());
        // Ends the process as the signal would have without this thread.
        std::signal(signal, SIG_DFL);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, signal);
        ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
        ::raise(signal);
        _exit(128 + signal);
    }
}

}  // namespace kestrin
