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
