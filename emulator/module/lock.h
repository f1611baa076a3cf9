#pragma once
// An exclusive lock on a file, held from construction to destruction, that excludes other
// processes (the program and the Integrador stand-in) as well as other threads: flock on POSIX,
// LockFileEx on Windows. The lock file itself is never renamed or deleted.

#include <filesystem>

namespace emulator {

class FileLock {
public:
    // Blocks until the lock is held. Throws std::runtime_error when the file cannot be opened.
    explicit FileLock(const std::filesystem::path& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
#ifdef _WIN32
    void* handle_;
#else
    int fd_;
#endif
};

} // namespace emulator
