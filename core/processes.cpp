#include "core/processes.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <unistd.h>
#endif

namespace core {

#ifdef _WIN32

std::uint32_t currentProcessId() {
    return GetCurrentProcessId();
}

std::uint64_t currentThreadId() {
    return GetCurrentThreadId();
}

bool processRunning(std::uint32_t id) {
    const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (!process)
        return GetLastError() != ERROR_INVALID_PARAMETER; // no such process
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

#else

std::uint32_t currentProcessId() {
    return static_cast<std::uint32_t>(getpid());
}

std::uint64_t currentThreadId() {
    return static_cast<std::uint64_t>(gettid());
}

bool processRunning(std::uint32_t id) {
    // Signal 0 only checks: a process of another user answers EPERM, and still runs.
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

#endif

} // namespace core
