#include "core/call_thread.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

TEST(CallThread, RunsEveryTaskInOrderOnOneThreadOfItsOwn) {
    std::vector<std::thread::id> threads;
    std::vector<int> order;
    std::promise<void> last;
    {
        core::CallThread calls;
        for (int i = 0; i < 5; ++i)
            calls.post([&, i] {
                threads.push_back(std::this_thread::get_id());
                order.push_back(i);
                if (i == 4)
                    last.set_value();
            });
        last.get_future().wait();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    for (const auto& id : threads) {
        EXPECT_EQ(id, threads.front());
        EXPECT_NE(id, std::this_thread::get_id());
    }
}

TEST(CallThread, EndingRunsTheTasksStillQueued) {
    int ran = 0;
    {
        core::CallThread calls;
        for (int i = 0; i < 3; ++i)
            calls.post([&] { ++ran; });
    }
    EXPECT_EQ(ran, 3);
}

} // namespace
