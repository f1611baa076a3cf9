#pragma once
// A child process that works until it is killed with SIGKILL, and tells its parent through a
// pipe what it has finished. Whatever the child reported before the kill is what the parent may
// rely on: each report is one write() of less than PIPE_BUF bytes, so it arrives whole or not
// at all. POSIX only.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <climits>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace test_support {

// The child's side of the pipe.
class Reporter {
public:
    explicit Reporter(int fd) : fd_(fd) {}
    // Sends one line (a line feed is added).
    void report(std::string_view line) const {
        std::string text(line);
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
    }
    ~KilledChild() {
        kill();
        ::close(readEnd_);
    }
    KilledChild(const KilledChild&) = delete;
    KilledChild& operator=(const KilledChild&) = delete;

    // Kills the child (if it still runs) and waits for its end. Returns how it ended, as
    // described by describeEnd.
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
        return end_;
    }

    // Every line the child reported; call after kill().
    std::vector<std::string> reports() {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(readEnd_, buffer, sizeof buffer)) != 0;) {
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                break;
            text.append(buffer, static_cast<std::size_t>(n));
        }
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }

private:
    pid_t pid_ = 0;
    int readEnd_ = -1;
    std::string end_; // empty when the child was killed or ended normally
};

// The random source of a kill loop: fixed, so a failing run names a seed that replays the same
// kill times (as far as the machine's speed allows).
inline constexpr std::uint32_t killSeed = 20261210;

// A delay before the kill, uniformly up to `longest` microseconds.
inline std::chrono::microseconds killDelay(std::mt19937& random, int longest) {
    return std::chrono::microseconds(std::uniform_int_distribution<int>(0, longest)(random));
}

} // namespace test_support
