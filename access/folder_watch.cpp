#include "access/folder_watch.h"

#include <algorithm>

#ifdef __linux__
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace backend {

#ifdef __linux__

FolderWatch::FolderWatch()
    : notify_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)),
      wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

FolderWatch::~FolderWatch() {
    if (notify_ >= 0)
        close(notify_);
    if (wake_ >= 0)
        close(wake_);
}

bool FolderWatch::watch(const std::filesystem::path& folder) {
    watching_ = notify_ >= 0 && inotify_add_watch(notify_, folder.c_str(),
                                                  IN_CREATE | IN_CLOSE_WRITE | IN_MOVED_TO) >= 0;
    return watching_;
}

void FolderWatch::waitForChange(Clock::time_point until) {
    const auto step = watching_ ? std::chrono::milliseconds(notifiedRecheck) : sleepStep;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now());
    const int timeout = int(std::clamp(left, std::chrono::milliseconds(0), step).count());
    pollfd fds[2] = {{wake_, POLLIN, 0}, {notify_, POLLIN, 0}};
    if (poll(fds, 2, timeout) <= 0)
        return;
    // Drain both descriptors: one look at the folder answers every event so far.
    char buffer[4096];
    if (fds[0].revents & POLLIN)
        while (read(wake_, buffer, sizeof(std::uint64_t)) > 0) {
        }
    if (fds[1].revents & POLLIN)
        while (read(notify_, buffer, sizeof buffer) > 0) {
        }
}

void FolderWatch::interrupt() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = write(wake_, &one, sizeof one);
}

#else

FolderWatch::FolderWatch() = default;

FolderWatch::~FolderWatch() = default;

bool FolderWatch::watch(const std::filesystem::path&) {
    return false;
}

void FolderWatch::waitForChange(Clock::time_point until) {
    std::unique_lock lock(mutex_);
    woken_.wait_until(lock, std::min(until, Clock::now() + sleepStep),
                      [this] { return interrupted_; });
    interrupted_ = false;
}

void FolderWatch::interrupt() {
    {
        std::lock_guard lock(mutex_);
        interrupted_ = true;
    }
    woken_.notify_all();
}

#endif

} // namespace backend
