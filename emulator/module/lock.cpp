#include "emulator/module/lock.h"

#include "core/path_text.h"

#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace emulator {

#ifdef _WIN32

FileLock::FileLock(const std::filesystem::path& path) {
    handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        throw std::runtime_error("não foi possível abrir " + core::utf8FromPath(path));
    OVERLAPPED overlapped{};
    if (!LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &overlapped)) {
        CloseHandle(handle_);
        throw std::runtime_error("não foi possível travar " + core::utf8FromPath(path));
    }
}

FileLock::~FileLock() {
    OVERLAPPED overlapped{};
    UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &overlapped);
    CloseHandle(handle_);
}

#else

FileLock::FileLock(const std::filesystem::path& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd_ < 0)
        throw std::runtime_error("não foi possível abrir " + core::utf8FromPath(path));
    ::fchmod(fd_, S_IRUSR | S_IWUSR); // a lock file made before by a wider mode
    // flock locks belong to the open file, so two threads with their own FileLock exclude
    // each other as two processes do.
    int result;
    while ((result = ::flock(fd_, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        ::close(fd_);
        throw std::runtime_error("não foi possível travar " + core::utf8FromPath(path));
    }
}

FileLock::~FileLock() {
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
}

#endif

} // namespace emulator
