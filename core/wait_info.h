#pragma once
// What the user is told, and may do, while a module call is waiting for its answer.

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace core {

struct WaitInfo {
    std::string operation;
    std::optional<std::chrono::milliseconds> limit; // none for a library call
    std::function<void()> cancel;                   // empty when the call cannot be interrupted
};

} // namespace core
