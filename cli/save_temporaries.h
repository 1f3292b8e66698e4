#pragma once

#include <atomic>
#include <condition_variable>
#include <csignal>
#include <filesystem>
#include <mutex>
#include <thread>

namespace kestrin {

/// Removes a --save temporary when the command is ended by SIGINT, SIGTERM or SIGHUP, and
/// keeps such a signal from ending the process in the middle of a sweep's line. Once a
/// temporary is about to be made (or a sweep is about to begin), those signals are blocked and
/// awaited by a thread of its own, which waits until no lock from Hold is held, removes the
/// file and then ends the process by the same signal. A lock held longer than a line takes
/// (a writer whose reader stopped reading) keeps the signal waiting for a moment only: then
/// the process ends without waiting further. A signal the program was started ignoring stays
/// ignored.
///
/// Start it before any other thread: threads inherit the blocked signals.
class SaveTemporaries {
public:
    SaveTemporaries() = default;
    ~SaveTemporaries();
    SaveTemporaries(const SaveTemporaries&) = delete;
    SaveTemporaries& operator=(const SaveTemporaries&) = delete;

    /// A signal waits while the returned lock is held: make the temporary and Track it
    /// under it, or write a whole line, so that none can come between. Once a signal is being
    /// acted on, the caller waits here for the process to end.
    [[nodiscard]] std::unique_lock<std::mutex> Hold();
    /// The temporary to remove on a signal (the lock from Hold held).
    void Track(const std::filesystem::path& temporary) { temporary_ = temporary; }
    /// Nothing to remove any more: the temporary was renamed or removed.
    void Forget();

private:
    void Await();

    std::mutex mutex_;
    std::filesystem::path temporary_;
    sigset_t signals_{};
    bool stopping_ = false;
    std::atomic<bool> ending_{false};   // a signal is ending the process
    std::condition_variable neverWoken_;  // where a Hold waits once the process is ending
    std::thread waiter_;
};

}  // namespace kestrin
