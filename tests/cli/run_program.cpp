#include "tests/cli/run_program.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

extern char** environ;

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

Background::Background(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder,
                       const std::map<std::string, std::string>& environment)
    : out_(folder / (program.filename().string() + ".out")),
      err_(folder / (program.filename().string() + ".err")) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    std::vector<std::string> variables;
    for (char** e = environ; *e; ++e)
        variables.emplace_back(*e);
    for (const auto& [name, value] : environment)
        variables.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const std::string out = out_.string();
    const std::string err = err_.string();
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string path = program.string();
    const int failed = posix_spawn(&pid_, path.c_str(), &files, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&files);
    if (failed)
        throw std::runtime_error("cannot start " + path);
}

Background::~Background() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
}

void Background::signal(int number) {
    kill(pid_, number);
}

Ran Background::finish() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    Ran ran;
    ran.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.out = readFile(out_);
    ran.err = readFile(err_);
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

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

void writeFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace cli_test
