#pragma once
// Waiting for what another thread or process brings about, looking every few milliseconds. The
// limit only ends a wait that would never end: a busy machine makes the wait longer, not failed.

#include <chrono>
#include <thread>

namespace test_support {

// Returns whether `condition` came to hold within `limit`.
template <class Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::minutes(1)) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace test_support
