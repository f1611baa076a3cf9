#include "core/disk_sync.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace core {

#ifdef _WIN32

bool syncToDisk(const std::filesystem::path& file) {
    const HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    return flushed;
}

#else

bool syncToDisk(const std::filesystem::path& file) {
    // fsync flushes the file's data whichever descriptor asks. Opened without blocking, so a
    // pipe standing at the name does not wait for a writer.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int result;
    while ((result = ::fsync(fd)) != 0 && errno == EINTR) {
    }
    const bool flushed = result == 0 || errno == EINVAL; // EINVAL: nothing on disk to flush
    ::close(fd);
    return flushed;
}

#endif

} // namespace core
