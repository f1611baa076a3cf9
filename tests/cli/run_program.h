#pragma once
// Running a program as a user would, in a folder of the test's own.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace cli_test {

struct Ran {
    int exit = -1;
    std::string out;
    std::string err;
};

// Runs `program` with `args` in `folder`, with `environment` added; standard output and error
// are captured whole. On a `terminal` both are one terminal, captured in `out` (not on Windows).
Ran runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& folder,
               const std::map<std::string, std::string>& environment = {}, bool terminal = false);

#ifndef _WIN32
// The argument and environment vectors of a child: `words` (the program first), with this
// process's environment and `environment` added or replacing. Made before a fork, after which the
// child may call only async-signal-safe functions.
class ChildVectors {
public:
    ChildVectors(std::vector<std::string> words,
                 const std::map<std::string, std::string>& environment);
    ChildVectors(const ChildVectors&) = delete;
    ChildVectors& operator=(const ChildVectors&) = delete;

    char* const* argv() const { return argv_.data(); }
    char* const* envp() const { return envp_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<std::string> variables_;
    std::vector<char*> argv_;
    std::vector<char*> envp_;
};
#endif

// A program started in the background, its output captured in files in `folder` named
// after it; ended (SIGTERM, or TerminateProcess on Windows) if it is still running when the
// object goes.
class Background {
public:
    Background(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& folder,
               const std::map<std::string, std::string>& environment = {});
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

#ifndef _WIN32
    void signal(int number);
#endif
    // Waits for the program to end.
    Ran finish();

private:
    std::filesystem::path out_;
    std::filesystem::path err_;
#ifdef _WIN32
    void* process_ = nullptr;
#else
    int pid_ = -1;
#endif
};

// A fresh empty folder below the system's temporary folder, removed with the object.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
// A program's output as its lines, without their line feeds.
std::vector<std::string> lines(const std::string& text);
void writeFile(const std::filesystem::path& path, const std::string& content);

} // namespace cli_test
