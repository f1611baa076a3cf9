#include "tests/cli/terminal_program.h"

#ifndef _WIN32

#include <csignal>
#include <pty.h>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <poll.h>

namespace cli_test {

TerminalProgram::TerminalProgram(const std::filesystem::path& program,
                                 const std::vector<std::string>& args,
                                 const std::filesystem::path& folder,
                                 const std::map<std::string, std::string>& environment) {
    // Everything the child needs is made before it is forked.
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    const ChildVectors child(std::move(words), environment);
    const std::string where = folder.string();

    // The terminal's usual settings, whatever this process runs on: Ctrl-C interrupts.
    termios settings{};
    settings.c_iflag = ICRNL;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_cflag = CS8 | CREAD;
    settings.c_lflag = ISIG | ICANON | ECHO;
    settings.c_cc[VINTR] = 0x03;
    settings.c_cc[VMIN] = 1;
    pid_ = forkpty(&terminal_, nullptr, &settings, nullptr);
    if (pid_ < 0)
        throw std::runtime_error("forkpty failed");
    if (pid_ == 0) {
        if (chdir(where.c_str()) == 0)
            execve(child.argv()[0], child.argv(), child.envp());
        _exit(127);
    }
    reader_ = std::thread([this] { readScreen(); });
}

TerminalProgram::~TerminalProgram() {
    if (pid_ > 0) {
        ::kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    ended_ = true;
    if (reader_.joinable())
        reader_.join();
    close(terminal_);
}

// Read all along, so that the program never waits on a full terminal.
void TerminalProgram::readScreen() {
    char buffer[4096];
    for (;;) {
        pollfd screen{terminal_, POLLIN, 0};
        const int ready = poll(&screen, 1, 50);
        if (ready == 0) {
            if (ended_)
                return;
            continue;
        }
        const ssize_t got = read(terminal_, buffer, sizeof buffer);
        if (got <= 0) // every process holding the terminal has closed it
            return;
        std::lock_guard lock(mutex_);
        screen_.append(buffer, std::size_t(got));
    }
}

void TerminalProgram::type(std::string_view keys) {
    if (write(terminal_, keys.data(), keys.size()) != ssize_t(keys.size()))
        throw std::runtime_error("cannot type on the terminal");
}

Ran TerminalProgram::finish() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    ended_ = true;
    reader_.join();
    std::lock_guard lock(mutex_);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, screen_, {}};
}

} // namespace cli_test

#endif
