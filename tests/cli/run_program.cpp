#include "tests/cli/run_program.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace cli_test {
namespace {

// The text as one word for the shell.
std::string shellWord(const std::string& text) {
    std::string q = "'";
    for (char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

} // namespace

Ran runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& folder,
               const std::map<std::string, std::string>& environment, bool terminal) {
    const auto out = folder / ".stdout";
    const auto err = folder / ".stderr";
    std::string run = "env";
    for (const auto& [name, value] : environment)
        run += " " + shellWord(name + "=" + value);
    run += " " + shellWord(program.string());
    for (const auto& arg : args)
        run += " " + shellWord(arg);
    std::string command = "cd " + shellWord(folder.string()) + " && ";
    if (terminal) // script(1) gives the program a terminal of its own
        command += "script -qec " + shellWord(run) + " /dev/null";
    else
        command += run;
    command += " </dev/null >" + shellWord(out.string()) + " 2>" + shellWord(err.string());
    const int status = std::system(command.c_str());
    Ran ran;
    ran.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.out = readFile(out);
    ran.err = readFile(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return ran;
}

TemporaryFolder::TemporaryFolder() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("tarvik-cli-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace cli_test
