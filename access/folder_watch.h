#pragma once
// Waiting for a folder to change without spinning: on Linux a folder notification (inotify)
// wakes the waiter as soon as a file is created, closed after writing or renamed into the
// folder; elsewhere, or when the folder cannot be watched, the waiter sleeps in short steps.
// One watch serves many waits: setting a notification up and tearing it down costs the
// kernel milliseconds.

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace backend {

class FolderWatch {
public:
    using Clock = std::chrono::steady_clock;

    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches `folder` from now on (again, if it has been replaced since); false when it cannot
    // be watched, and waits then sleep in short steps.
    bool watch(const std::filesystem::path& folder);

    // Returns when a watched folder may have changed, when interrupt() has been called since
    // the last return, or at `until`, whichever comes first. Spurious returns are allowed: the
    // caller looks at the folder again.
    void waitForChange(Clock::time_point until);

    // Makes the current or next waitForChange return at once. Safe from any thread.
    void interrupt();

private:
    // With notifications, a look at the folder now and then still catches what they miss
    // (a folder on a network file system, a folder created after the watch).
    static constexpr std::chrono::milliseconds notifiedRecheck{250};
    static constexpr std::chrono::milliseconds sleepStep{5};

#ifdef __linux__
    int notify_ = -1; // inotify descriptor
    int wake_ = -1;   // eventfd written by interrupt()
    bool watching_ = false;
#else
    std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
#endif
};

} // namespace backend
