#include "access/child_process.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace backend {

#ifdef _WIN32

struct ChildProcess::Handles {
    HANDLE process = nullptr;
    HANDLE input = nullptr;  // we write, the program reads
    HANDLE output = nullptr; // the program writes, we read
    ~Handles() {
        for (HANDLE h : {process, input, output})
            if (h)
                CloseHandle(h);
    }
};

namespace {

// This process's standard error as a handle the program may inherit; nullptr when there is none
// (a window program).
HANDLE inheritableStandardError() {
    const HANDLE standardError = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE copy = nullptr;
    if (standardError && standardError != INVALID_HANDLE_VALUE &&
        DuplicateHandle(GetCurrentProcess(), standardError, GetCurrentProcess(), &copy, 0, TRUE,
                        DUPLICATE_SAME_ACCESS))
        return copy;
    return nullptr;
}

} // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                  std::string& error) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto handles = std::make_unique<Handles>();
    HANDLE childInput = nullptr, childOutput = nullptr;
    if (!CreatePipe(&childInput, &handles->input, &inherit, 0) ||
        !CreatePipe(&handles->output, &childOutput, &inherit, 0)) {
        error = "CreatePipe error " + std::to_string(GetLastError());
        return nullptr;
    }
    SetHandleInformation(handles->input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(handles->output, HANDLE_FLAG_INHERIT, 0);
    const HANDLE childError = inheritableStandardError();

    // The program inherits its three standard handles and nothing else of this process: an
    // output file this process was given stays closable when this process ends.
    std::vector<HANDLE> inherited{childInput, childOutput};
    if (childError)
        inherited.push_back(childError);
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    std::vector<char> storage(size);
    const auto attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    BOOL started = InitializeProcThreadAttributeList(attributes, 1, 0, &size) &&
                   UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST,
                                             inherited.data(), inherited.size() * sizeof(HANDLE),
                                             nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = childInput;
    startup.StartupInfo.hStdOutput = childOutput;
    startup.StartupInfo.hStdError = childError;
    startup.lpAttributeList = attributes;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    // No console of its own: nothing shows, and no console host is started beside it.
    started =
        started && CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr,
                                  TRUE, DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT, nullptr,
                                  nullptr, &startup.StartupInfo, &info);
    const DWORD code = GetLastError();
    DeleteProcThreadAttributeList(attributes);
    for (HANDLE h : inherited)
        CloseHandle(h);
    if (!started) {
        error = "CreateProcess error " + std::to_string(code);
        return nullptr;
    }
    CloseHandle(info.hThread);
    handles->process = info.hProcess;
    return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(handles)));
}

bool ChildProcess::write(std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handles_->input, bytes.data(), DWORD(bytes.size()), &written, nullptr))
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::size_t ChildProcess::read(char* buffer, std::size_t size) {
    DWORD got = 0;
    if (!ReadFile(handles_->output, buffer, DWORD(size), &got, nullptr))
        return 0;
    return got;
}

void ChildProcess::kill() {
    std::lock_guard lock(mutex_);
    if (!ended_)
        TerminateProcess(handles_->process, 1);
}

std::string ChildProcess::waitForEnd() {
    std::lock_guard lock(mutex_);
    if (ended_)
        return howEnded_;
    CloseHandle(handles_->input);
    handles_->input = nullptr;
    WaitForSingleObject(handles_->process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(handles_->process, &code);
    char text[32];
    if (code >= 0xC0000000u)
        std::snprintf(text, sizeof text, "exceção 0x%08lX", static_cast<unsigned long>(code));
    else
        std::snprintf(text, sizeof text, "código de saída %lu", static_cast<unsigned long>(code));
    ended_ = true;
    howEnded_ = text;
    return howEnded_;
}

#else

struct ChildProcess::Handles {
    pid_t pid = -1;
    int socket = -1; // both ways: the program's standard input and output
    ~Handles() {
        if (socket >= 0)
            close(socket);
    }
};

std::unique_ptr<ChildProcess> ChildProcess::start(const std::filesystem::path& program,
                                                  std::string& error) {
    // A socket rather than pipes: writing to a program that has died fails with an error
    // (MSG_NOSIGNAL) instead of raising SIGPIPE in this process.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        error = std::string("socketpair: ") + std::strerror(errno);
        return nullptr;
    }
    // Buffers large enough for a whole sale and its answer: each side writes a call or an answer
    // in one go instead of waking the other one for every slice (the system may grant less).
    const int buffer = 4 * 1024 * 1024;
    for (const int end : ends)
        for (const int option : {SO_SNDBUF, SO_RCVBUF})
            setsockopt(end, SOL_SOCKET, option, &buffer, sizeof buffer);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (failed) {
        close(ends[0]);
        error = path + ": " + std::strerror(failed);
        return nullptr;
    }
    auto handles = std::make_unique<Handles>();
    handles->pid = pid;
    handles->socket = ends[0];
    return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(handles)));
}

bool ChildProcess::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(handles_->socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes.remove_prefix(std::size_t(sent));
    }
    return true;
}

std::size_t ChildProcess::read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = recv(handles_->socket, buffer, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        return got > 0 ? std::size_t(got) : 0;
    }
}

void ChildProcess::kill() {
    std::lock_guard lock(mutex_);
    if (!ended_)
        ::kill(handles_->pid, SIGKILL);
}

namespace {

std::string signalName(int number) {
    switch (number) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGABRT:
        return "SIGABRT";
    case SIGBUS:
        return "SIGBUS";
    case SIGFPE:
        return "SIGFPE";
    case SIGILL:
        return "SIGILL";
    case SIGKILL:
        return "SIGKILL";
    case SIGTERM:
        return "SIGTERM";
    default:
        return "";
    }
}

} // namespace

std::string ChildProcess::waitForEnd() {
    shutdown(handles_->socket, SHUT_WR);
    // Waited for without reaping first, so that kill() never reaches an id the system has
    // handed to another process meanwhile.
    siginfo_t info{};
    while (waitid(P_PID, id_t(handles_->pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    std::lock_guard lock(mutex_);
    if (ended_)
        return howEnded_;
    int status = 0;
    while (waitpid(handles_->pid, &status, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
    if (WIFSIGNALED(status)) {
        const std::string name = signalName(WTERMSIG(status));
        howEnded_ =
            "sinal " + std::to_string(WTERMSIG(status)) + (name.empty() ? "" : " (" + name + ")");
    } else {
        howEnded_ = "código de saída " + std::to_string(WEXITSTATUS(status));
    }
    return howEnded_;
}

#endif

ChildProcess::ChildProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

ChildProcess::~ChildProcess() {
    kill();
    waitForEnd();
}

} // namespace backend
