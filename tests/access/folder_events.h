#pragma once
// What happens in a folder while a call watches it, so that a test playing the Integrador acts
// at a point of the call's progress instead of after a guessed sleep: when the call has read a
// file, or has looked at the folder again since a file arrived. On Linux the folder's
// notifications tell it; elsewhere each wait is a fixed pause, which an idle machine's call
// outruns.

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifdef __linux__
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#endif

class FolderEvents {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::minutes longest{1};

    explicit FolderEvents(const std::filesystem::path& folder) {
#ifdef __linux__
        notify_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        inotify_add_watch(notify_, folder.c_str(),
                          IN_OPEN | IN_CLOSE_NOWRITE | IN_CLOSE_WRITE | IN_MOVED_TO);
#else
        (void)folder;
#endif
    }
    ~FolderEvents() {
#ifdef __linux__
        close(notify_);
#endif
    }
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    // Waits until `name` has been read (opened and closed without writing) `times` times since
    // the watch began; false when that has not happened within `limit`.
    bool awaitRead(const std::string& name, int times, Clock::duration limit = longest) {
        return await(
            [&] {
                int reads = 0;
                for (const auto& event : events_)
                    reads += event.kind == Kind::Read && event.name == name;
                return reads >= times;
            },
            limit);
    }

    // Waits until the folder has been opened for a look `times` times since `name` last
    // arrived (written or moved in): with two, a whole pass over the folder began and ended
    // after its arrival.
    bool awaitLooksAfterArrival(const std::string& name, int times,
                                Clock::duration limit = longest) {
        return await(
            [&] {
                int looks = 0;
                for (const auto& event : events_) {
                    if (event.kind == Kind::Arrived && event.name == name)
                        looks = 0;
                    else if (event.kind == Kind::Looked)
                        ++looks;
                }
                return looks >= times;
            },
            limit);
    }

private:
    enum class Kind { Looked, Read, Arrived };
    struct Event {
        Kind kind;
        std::string name;
    };

    template <class Done>
    bool await([[maybe_unused]] Done done, [[maybe_unused]] Clock::duration limit) {
#ifdef __linux__
        const auto until = Clock::now() + limit;
        for (take(); !done(); take()) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
            if (left <= 0)
                return false;
            pollfd fd{notify_, POLLIN, 0};
            poll(&fd, 1, int(left));
        }
        return true;
#else
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return true;
#endif
    }

#ifdef __linux__
    // Takes the notifications queued by now.
    void take() {
        alignas(inotify_event) char buffer[4096];
        for (ssize_t n; (n = read(notify_, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                at += ssize_t(sizeof(inotify_event) + event->len);
                const std::string name = event->len ? event->name : "";
                if (name.empty() && (event->mask & IN_OPEN))
                    events_.push_back({Kind::Looked, name});
                else if (!name.empty() && (event->mask & IN_CLOSE_NOWRITE))
                    events_.push_back({Kind::Read, name});
                else if (!name.empty() && (event->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)))
                    events_.push_back({Kind::Arrived, name});
            }
    }

    int notify_ = -1;
#endif
    std::vector<Event> events_;
};
