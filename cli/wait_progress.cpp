#include "cli/wait_progress.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <future>
#include <iostream>
#include <optional>
#include <thread>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long a call may take before its progress line appears, and how often it is redrawn.
constexpr auto quietTime = 300ms;
constexpr auto tick = 100ms;

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

// Ctrl-C sets `interrupted` while this lives.
class InterruptCatcher {
public:
    InterruptCatcher() {
        interrupted = 0;
        previous_ = std::signal(SIGINT, onInterrupt);
    }
    ~InterruptCatcher() { std::signal(SIGINT, previous_); }
    InterruptCatcher(const InterruptCatcher&) = delete;
    InterruptCatcher& operator=(const InterruptCatcher&) = delete;

private:
    void (*previous_)(int) = SIG_DFL;
};

std::string minutesSeconds(Clock::duration d) {
    const auto s = std::chrono::duration_cast<std::chrono::seconds>(d).count();
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(s / 60),
                  static_cast<long long>(s % 60));
    return text;
}

std::string progressLine(const core::WaitInfo& info, Clock::duration elapsed, bool cancelling) {
    std::string line =
        "Executando " + info.operation + "... Tempo decorrido: " + minutesSeconds(elapsed);
    if (info.limit)
        line += " de " + minutesSeconds(*info.limit);
    if (cancelling)
        line += " (cancelando)";
    else if (info.cancel)
        line += " (Ctrl-C cancela)";
    return line;
}

} // namespace

Waited waitWithProgress(const core::WaitInfo& info, const std::function<std::string()>& call) {
    const bool terminal = isatty(fileno(stderr)) != 0;
    std::optional<InterruptCatcher> catcher;
    if (info.cancel)
        catcher.emplace();

    std::packaged_task<std::string()> task(call);
    std::future<std::string> answer = task.get_future();
    std::thread worker(std::move(task));

    const auto start = Clock::now();
    bool cancelled = false;
    std::size_t shown = 0; // width of the progress line on the terminal
    while (answer.wait_for(tick) != std::future_status::ready) {
        if (info.cancel && interrupted) {
            // Repeated until the call ends: a cancel that comes before the wait began is lost.
            cancelled = true;
            info.cancel();
        }
        if (terminal && Clock::now() - start >= quietTime) {
            const std::string line = progressLine(info, Clock::now() - start, cancelled);
            std::cerr << '\r' << line << std::flush;
            shown = std::max(shown, line.size());
        }
    }
    worker.join();
    if (shown > 0)
        std::cerr << '\r' << std::string(shown, ' ') << '\r' << std::flush;
    return {answer.get(), cancelled};
}

} // namespace cli
