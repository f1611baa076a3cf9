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

// Runs `program` with `args` in `folder` through the shell, with `environment` added; standard
// output and error are captured whole. On a `terminal` both are one terminal, captured in `out`.
Ran runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& folder,
               const std::map<std::string, std::string>& environment = {}, bool terminal = false);

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
void writeFile(const std::filesystem::path& path, const std::string& content);

} // namespace cli_test
