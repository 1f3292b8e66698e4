#pragma once

#include <csignal>
#include <filesystem>
#include <mutex>
#include <thread>

namespace kestrin {

/// Removes a --save temporary when the command is ended by SIGINT, SIGTERM or SIGHUP. Once
/// a temporary is about to be made, those signals are blocked and awaited by a thread of
/// its own, which removes the file and then ends the process by the same signal. A signal
/// the program was started ignoring stays ignored.
///
/// Start it before any other thread: threads inherit the blocked signals.
class SaveTemporaries {
public:
    SaveTemporaries() = default;
    ~SaveTemporaries();
    SaveTemporaries(const SaveTemporaries&) = delete;
    SaveTemporaries& operator=(const SaveTemporaries&) = delete;

    /// A signal waits while the returned lock is held: make the temporary and Track it
    /// under it, so that none can come between.
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
    std::thread waiter_;
};

}  // namespace kestrin
