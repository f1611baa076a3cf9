#include "tests/cli/run_program.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace cli_test {
namespace {

// The tests of library calls run twice: through the library host, tarvik's default, and once
// more in tarvik's own process (ctest sets TARVIK_TEST_PROCESSO_DLL for that round).
std::vector<std::string> inChosenWay(const std::filesystem::path& program,
                                     const std::vector<std::string>& args) {
    const char* way = std::getenv("TARVIK_TEST_PROCESSO_DLL");
    if (!way || !program.stem().string().starts_with("tarvik") ||
        std::find(args.begin(), args.end(), "--dll") == args.end())
        return args;
    std::vector<std::string> chosen{"--processo-dll", way};
    chosen.insert(chosen.end(), args.begin(), args.end());
    return chosen;
}

// What a program wrote, with Windows' line ends (the C runtime's text mode writes CR LF, as
// Windows programs do) read as the line feeds the tests compare against.
std::string written(const std::filesystem::path& file) {
    std::string text = readFile(file);
#ifdef _WIN32
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            text[kept++] = text[i];
    text.resize(kept);
#endif
    return text;
}

// A program's exit status and what it wrote into the two files, which `removed` deletes.
Ran collected(int exit, const std::filesystem::path& out, const std::filesystem::path& err,
              bool removed) {
    Ran ran{exit, written(out), written(err)};
    if (removed) {
        std::filesystem::remove(out);
        std::filesystem::remove(err);
    }
    return ran;
}

} // namespace

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& utf8) {
    std::wstring out(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0),
                     L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), out.data(), int(out.size()));
    return out;
}

// One argument as the C runtime splits a command line again: quoted, with the backslashes
// before a quote doubled.
std::wstring commandWord(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return word;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, L'\\');
    return quoted + L"\"";
}

// This process's environment with `extra` added or replacing (names compared without case).
std::wstring environmentBlock(const std::map<std::string, std::string>& extra) {
    std::map<std::wstring, std::wstring> byName;
    const auto upper = [](std::wstring name) {
        CharUpperBuffW(name.data(), DWORD(name.size()));
        return name;
    };
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        const std::wstring text(entry);
        const auto equals = text.find(L'=', 1);
        byName[upper(text.substr(0, equals))] = text;
    }
    FreeEnvironmentStringsW(strings);
    for (const auto& [name, value] : extra)
        byName[upper(wide(name))] = wide(name + "=" + value);
    std::wstring block;
    for (const auto& [name, entry] : byName)
        block += entry + L'\0';
    return block + L'\0';
}

HANDLE inheritable(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts `program` in `folder` with its standard output and error in the two files. The child
// inherits these three handles and no other, so a program started meanwhile (a stand-in in the
// background, or a console host) never holds a test's output file open after its own program
// has ended.
HANDLE start(const std::filesystem::path& program, const std::vector<std::string>& args,
             const std::filesystem::path& folder,
             const std::map<std::string, std::string>& environment,
             const std::filesystem::path& out, const std::filesystem::path& err) {
    // A full path with a drive: CreateProcessW takes no path that starts with "/".
    const std::wstring application = std::filesystem::absolute(program).make_preferred().wstring();
    std::wstring command = commandWord(application);
    for (const auto& arg : args)
        command += L" " + commandWord(wide(arg));
    std::wstring block = environmentBlock(environment);
    HANDLE handles[] = {inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING),
                        inheritable(out.wstring(), GENERIC_WRITE, CREATE_ALWAYS),
                        inheritable(err.wstring(), GENERIC_WRITE, CREATE_ALWAYS)};
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    BOOL started = InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                   UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                             handles, sizeof handles, nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = handles[0];
    startup.StartupInfo.hStdOutput = handles[1];
    startup.StartupInfo.hStdError = handles[2];
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION process{};
    // Without a console of its own: its output goes to the files only.
    started =
        started &&
        CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, TRUE,
                       CREATE_UNICODE_ENVIRONMENT | DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT,
                       block.data(), folder.wstring().c_str(), &startup.StartupInfo, &process);
    DeleteProcThreadAttributeList(attributes);
    for (HANDLE h : handles)
        CloseHandle(h);
    if (!started)
        throw std::runtime_error("cannot start " + program.string());
    CloseHandle(process.hThread);
    return process.hProcess;
}

int waitForExit(HANDLE process) {
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return int(code);
}

} // namespace

Ran runProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& folder,
               const std::map<std::string, std::string>& environment, bool terminal) {
    if (terminal)
        throw std::logic_error("no terminal on Windows: the test skips that case");
    const auto out = folder / ".stdout";
    const auto err = folder / ".stderr";
    return collected(
        waitForExit(start(program, inChosenWay(program, args), folder, environment, out, err)), out,
        err, true);
}

Background::Background(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder,
                       const std::map<std::string, std::string>& environment)
    : out_(folder / (program.filename().string() + ".out")),
      err_(folder / (program.filename().string() + ".err")),
      process_(start(program, inChosenWay(program, args), folder, environment, out_, err_)) {}

Background::~Background() {
    if (process_) {
        TerminateProcess(process_, 1);
        waitForExit(process_);
    }
}

Ran Background::finish() {
    const int exit = waitForExit(process_);
    process_ = nullptr;
    return collected(exit, out_, err_, false);
}

#else

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
    for (const auto& arg : inChosenWay(program, args))
        run += " " + shellWord(arg);
    std::string command = "cd " + shellWord(folder.string()) + " && ";
    if (terminal) // script(1) gives the program a terminal of its own
        command += "script -qec " + shellWord(run) + " /dev/null";
    else
        command += run;
    command += " </dev/null >" + shellWord(out.string()) + " 2>" + shellWord(err.string());
    const int status = std::system(command.c_str());
    return collected(WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, err, true);
}

ChildVectors::ChildVectors(std::vector<std::string> words,
                           const std::map<std::string, std::string>& environment)
    : words_(std::move(words)) {
    // A variable given replaces the inherited one: with both, the child's getenv finds the first.
    for (char** e = environ; *e; ++e) {
        const std::string_view variable(*e);
        if (!environment.contains(std::string(variable.substr(0, variable.find('=')))))
            variables_.emplace_back(variable);
    }
    for (const auto& [name, value] : environment)
        variables_.push_back(name + "=" + value);
    for (auto& word : words_)
        argv_.push_back(word.data());
    argv_.push_back(nullptr);
    for (auto& variable : variables_)
        envp_.push_back(variable.data());
    envp_.push_back(nullptr);
}

Background::Background(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder,
                       const std::map<std::string, std::string>& environment)
    : out_(folder / (program.filename().string() + ".out")),
      err_(folder / (program.filename().string() + ".err")) {
    std::vector<std::string> words{program.string()};
    const auto chosen = inChosenWay(program, args);
    words.insert(words.end(), chosen.begin(), chosen.end());
    const ChildVectors child(std::move(words), environment);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    const std::string out = out_.string();
    const std::string err = err_.string();
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const std::string path = program.string();
    const int failed =
        posix_spawn(&pid_, path.c_str(), &files, nullptr, child.argv(), child.envp());
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
    return collected(WIFEXITED(status) ? WEXITSTATUS(status) : -1, out_, err_, false);
}

#endif

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
