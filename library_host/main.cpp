// The library host: loads one module library and makes its calls for the program that started
// it, one at a time, over standard input and output (access/host_protocol.h). It ends when its
// input closes, even in the middle of a call, and is otherwise ended only by that program.
// Whatever the library itself prints to standard output goes to standard error, so
// that it cannot break into the frames.

#include "access/driver_library.h"
#include "access/host_protocol.h"

#include <cstdio>
#include <memory>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <thread>
#include <unistd.h>
#endif

namespace {

// Exit statuses: the input ended (0), a message the host cannot serve (2).
constexpr int finished = 0;
constexpr int badRequest = 2;

#ifdef _WIN32
// A crash ends the host at once with the exception's code, with no error box or debugger.
LONG WINAPI endWithExceptionCode(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

int takeProtocolOutput() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endWithExceptionCode);
    _setmode(0, _O_BINARY);
    const int protocol = _dup(1);
    _setmode(protocol, _O_BINARY);
    _dup2(2, 1);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    return protocol;
}
std::size_t readInput(char* buffer, std::size_t size) {
    const int got = _read(0, buffer, unsigned(size));
    return got > 0 ? std::size_t(got) : 0;
}
bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const int n = _write(fd, bytes.data() + done, unsigned(bytes.size() - done));
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}
// Started without a console, the host receives no console Ctrl-C: nothing to set aside.
void leaveEndingToTheParent() {}
#else
// The terminal's Ctrl-C reaches the whole foreground process group, the host included. The
// program that started the host answers it by cancelling the call, which ends the host; the host
// itself must outlive the interrupt so that the cancel is seen as a cancel, not a crash.
// Since a host stuck in a library call no longer reads its input, a watcher ends it once that
// input is closed: the program that started it has ended, however it ended.
void leaveEndingToTheParent() {
    std::signal(SIGINT, SIG_IGN);
    std::thread([] {
        pollfd input{0, POLLRDHUP, 0};
        while (poll(&input, 1, -1) < 0 && errno == EINTR) {
        }
        if (input.revents & (POLLRDHUP | POLLHUP | POLLERR))
            _exit(finished);
    }).detach();
}

int takeProtocolOutput() {
    const int protocol = dup(1);
    dup2(2, 1);
    return protocol;
}
std::size_t readInput(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = read(0, buffer, size);
        if (got < 0 && errno == EINTR)
            continue;
        return got > 0 ? std::size_t(got) : 0;
    }
}
bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}
#endif

} // namespace

int main() {
    using namespace backend;
    const int protocol = takeProtocolOutput();
    leaveEndingToTheParent();
    std::unique_ptr<DriverLibrary> library;
    std::string payload;
    for (;;) {
        const auto status = host::readFrame(readInput, payload);
        if (status == host::FrameStatus::Closed)
            return finished;
        if (status != host::FrameStatus::Complete)
            return badRequest;
        const auto request = host::decodeRequest(payload);
        if (!request)
            return badRequest;
        host::Reply reply;
        if (const auto* load = std::get_if<host::LoadRequest>(&*request)) {
            std::string error;
            library = DriverLibrary::load(load->path, error);
            reply = library ? host::Reply(host::Loaded{library->entryPointMask()})
                            : host::Reply(host::LoadFailed{error});
        } else {
            const auto& call = std::get<host::CallRequest>(*request);
            if (!library)
                return badRequest;
            try {
                reply = host::Answer{library->callEntry(call.entry, call.arguments)};
            } catch (const std::invalid_argument&) {
                return badRequest;
            }
        }
        std::fflush(stdout);
        if (!writeAll(protocol, host::encode(reply)))
            return finished;
    }
}
