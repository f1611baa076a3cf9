#pragma once
// A program run on a terminal of its own, as at a prompt: it leads the terminal's foreground
// process group, so a key the terminal turns into a signal (Ctrl-C) reaches every process of
// that group, the programs it started included. Not on Windows, which has no such terminal.

#ifndef _WIN32

#include "tests/cli/run_program.h"

#include <atomic>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace cli_test {

class TerminalProgram {
public:
    TerminalProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                    const std::filesystem::path& folder,
                    const std::map<std::string, std::string>& environment = {});
    // Kills the program's process group if it still runs.
    ~TerminalProgram();
    TerminalProgram(const TerminalProgram&) = delete;
    TerminalProgram& operator=(const TerminalProgram&) = delete;

    // Types `keys` on the terminal ("\x03" is Ctrl-C).
    void type(std::string_view keys);
    // Waits for the program to end; `out` holds all it wrote to the terminal.
    Ran finish();

private:
    void readScreen();

    int pid_ = -1;
    int terminal_ = -1; // the terminal's controlling side
    std::atomic<bool> ended_{false};
    std::mutex mutex_;
    std::string screen_;
    std::thread reader_;
};

} // namespace cli_test

#endif
