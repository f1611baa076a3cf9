#pragma once
// A child process that works until it is killed with SIGKILL, and tells its parent through a
// pipe what it has finished. Whatever the child reported before the kill is what the parent may
// rely on: each report is one write() of less than PIPE_BUF bytes, so it arrives whole or not
// at all. The parent reads the reports as they come, so it can kill the child at a point of its
// own progress rather than at a time guessed in advance. POSIX only.

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <climits>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

using Clock = std::chrono::steady_clock;

// The child's side of the pipe.
class Reporter {
public:
    explicit Reporter(int fd) : fd_(fd) {}
    // Sends one line (a line feed is added), stamped with the time it is sent: the steady clock
    // is the same in every process, so the parent learns how long the child's steps take
    // however late it reads them.
    void report(std::string_view line) const {
        std::string text = std::to_string(Clock::now().time_since_epoch().count()) + " ";
        text += line;
        text += '\n';
        if (text.size() >= PIPE_BUF)
            throw std::length_error("report longer than an atomic pipe write");
        if (::write(fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            ::_exit(3);
    }

private:
    int fd_;
};

// Reports that start with this word are the child's own failures, which the parent treats as
// a test failure.
inline constexpr std::string_view childFailure = "FALHA ";

class KilledChild {
public:
    // Forks a child that runs `work` and then ends. An exception in the child is reported as a
    // failure line. The child never returns into the test framework: it ends with _exit.
    explicit KilledChild(const std::function<void(const Reporter&)>& work) {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("pipe");
        std::fflush(nullptr); // nothing buffered in the parent is written twice
        started_ = Clock::now();
        pid_ = ::fork();
        if (pid_ < 0)
            throw std::runtime_error("fork");
        if (pid_ == 0) {
            ::close(ends[0]);
            const Reporter reporter(ends[1]);
            try {
                work(reporter);
            } catch (const std::exception& error) {
                reporter.report(std::string(childFailure) + error.what());
            } catch (...) {
                reporter.report(std::string(childFailure) + "exceção desconhecida");
            }
            ::_exit(0);
        }
        ::close(ends[1]);
        readEnd_ = ends[0];
        ::fcntl(readEnd_, F_SETFL, ::fcntl(readEnd_, F_GETFL) | O_NONBLOCK);
    }
    ~KilledChild() {
        kill();
        ::close(readEnd_);
    }
    KilledChild(const KilledChild&) = delete;
    KilledChild& operator=(const KilledChild&) = delete;

    // Kills the child (if it still runs), waits for its end and takes every report it left in
    // the pipe. Returns how it ended: empty when it was killed or ended normally.
    std::string kill() {
        if (pid_ <= 0)
            return end_;
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = 0;
        if (WIFSIGNALED(status) && WTERMSIG(status) != SIGKILL)
            end_ = "o filho terminou com o sinal " + std::to_string(WTERMSIG(status));
        else if (WIFEXITED(status) && WEXITSTATUS(status) != 0)
            end_ = "o filho terminou com o código " + std::to_string(WEXITSTATUS(status));
        while (!closed_)
            receive(); // the child is gone: the pipe ends after what it wrote
        return end_;
    }

    // Waits until the child has reported `count` lines, until its end, or until `until`;
    // returns whether the lines came.
    bool awaitReports(std::size_t count, Clock::time_point until) {
        for (receive(); lines_.size() < count && !closed_; receive()) {
            const auto now = Clock::now();
            if (now >= until)
                return false;
            waitForData({readEnd_}, until - now);
        }
        return lines_.size() >= count;
    }

    // Takes what the child has reported by now, without waiting.
    void receive() {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(readEnd_, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n <= 0) {
                closed_ = true;
                return;
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
            for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
                const std::size_t space = pending_.find(' ');
                sent_.push_back(Clock::time_point(Clock::duration(std::stoll(pending_))));
                lines_.push_back(pending_.substr(space + 1, end - space - 1));
                pending_.erase(0, end + 1);
            }
        }
    }

    // Every line the child reported so far: all of them once it has been killed.
    const std::vector<std::string>& reports() const { return lines_; }
    // When the child sent report `i`, and when it was started.
    Clock::time_point sent(std::size_t i) const { return sent_.at(i); }
    Clock::time_point started() const { return started_; }
    // Whether the pipe has ended: the child is gone.
    bool closed() const { return closed_; }
    int readEnd() const { return readEnd_; }

    // Returns when one of `fds` can be read, or after `longest`.
    static void waitForData(const std::vector<int>& fds, Clock::duration longest) {
        std::vector<pollfd> polled;
        for (const int fd : fds)
            polled.push_back({fd, POLLIN, 0});
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::max(longest, Clock::duration::zero()))
                            .count();
        const timespec timeout{static_cast<time_t>(ns / 1000000000),
                               static_cast<long>(ns % 1000000000)};
        ::ppoll(polled.data(), polled.size(), &timeout, nullptr);
    }

private:
    pid_t pid_ = 0;
    int readEnd_ = -1;
    Clock::time_point started_;
    std::string end_; // empty when the child was killed or ended normally
    std::string pending_;
    std::vector<std::string> lines_;
    std::vector<Clock::time_point> sent_;
    bool closed_ = false;
};

// The random source of a kill loop: fixed, so a failing run names a seed that replays the same
// kill moments.
inline constexpr std::uint32_t killSeed = 20261210;

// A delay uniformly up to `longest` microseconds.
inline std::chrono::microseconds killDelay(std::mt19937& random, int longest) {
    return std::chrono::microseconds(std::uniform_int_distribution<int>(0, longest)(random));
}

// When a child is killed: once it has reported `steps` lines, and then `fraction` of one step
// later, a step being the time between its last two reports. Counted in the child's own
// progress, the kill falls inside the step after `steps`, however busy the machine is.
struct KillMoment {
    std::size_t steps = 0;
    double fraction = 0;
};

inline KillMoment randomKillMoment(std::mt19937& random, std::size_t mostSteps) {
    const std::size_t steps = std::uniform_int_distribution<std::size_t>(0, mostSteps)(random);
    return {steps, std::uniform_real_distribution<double>(0, 1)(random)};
}

// Kills each child at its moment, the children running side by side, and returns how each
// ended (as KilledChild::kill tells it). `step` carries the length of a step from one kill to
// the next: a child that has reported fewer than two lines is measured by the last step seen.
// A child still short of its steps at `limit` is killed then, and that is its end.
inline std::vector<std::string> killAtMoments(const std::vector<KilledChild*>& children,
                                              const std::vector<KillMoment>& moments,
                                              Clock::duration& step, Clock::time_point limit) {
    std::vector<std::optional<Clock::time_point>> killAt(children.size());
    std::vector<std::optional<std::string>> ends(children.size());
    for (;;) {
        const auto now = Clock::now();
        auto wake = limit;
        std::vector<int> awaited;
        for (std::size_t c = 0; c < children.size(); ++c) {
            if (ends[c])
                continue;
            KilledChild& child = *children[c];
            child.receive();
            const std::size_t steps = moments[c].steps;
            if (!killAt[c] && child.reports().size() >= steps) {
                if (steps >= 2)
                    step = child.sent(steps - 1) - child.sent(steps - 2);
                const auto reached = steps == 0 ? child.started() : child.sent(steps - 1);
                killAt[c] = reached +
                            std::chrono::duration_cast<Clock::duration>(step * moments[c].fraction);
            }
            if ((killAt[c] && now >= *killAt[c]) || child.closed() || now >= limit) {
                const bool late = !killAt[c] && !child.closed();
                ends[c] = child.kill();
                if (late)
                    *ends[c] += "morto no limite de tempo, antes do passo " +
                                std::to_string(steps) + "; relatou " +
                                std::to_string(child.reports().size());
                continue;
            }
            if (killAt[c])
                wake = std::min(wake, *killAt[c]);
            else
                awaited.push_back(child.readEnd());
        }
        if (std::all_of(ends.begin(), ends.end(), [](const auto& end) { return bool(end); }))
            break;
        KilledChild::waitForData(awaited, wake - Clock::now());
    }
    std::vector<std::string> result;
    for (auto& end : ends)
        result.push_back(std::move(*end));
    return result;
}

} // namespace test_support
