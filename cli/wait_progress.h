#pragma once
// A module call seen from a terminal: the time it has taken, and Ctrl-C to give up waiting.

#include "core/wait_info.h"

#include <functional>
#include <string>

namespace cli {

struct Waited {
    std::string answer;
    bool cancelled = false; // Ctrl-C ended the wait through info.cancel
};

// Runs `call` on a worker thread and returns its answer; an exception it throws is passed on.
// Meanwhile, when standard error is a terminal and the call takes more than a moment, one line
// there shows the operation, the time elapsed and the limit. When the call can be cancelled,
// Ctrl-C cancels it (as "Cancelar" does in the window) instead of ending the program.
Waited waitWithProgress(const core::WaitInfo& info, const std::function<std::string()>& call);

} // namespace cli
