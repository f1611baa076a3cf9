#pragma once
// One thread that makes the module calls, one after the other, for the life of the window: the
// driver library is always called from the same thread, never from two at once.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace core {

class CallThread {
public:
    CallThread();
    // Runs the tasks still queued, then ends the thread.
    ~CallThread();
    CallThread(const CallThread&) = delete;
    CallThread& operator=(const CallThread&) = delete;

    // Queues a task; tasks run in the order they were posted.
    void post(std::function<void()> task);

private:
    void run();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    bool stopping_ = false;
    std::thread thread_; // declared last: it starts once the members above exist
};

} // namespace core
