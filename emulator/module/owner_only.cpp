#include "emulator/module/owner_only.h"

#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace emulator {
namespace fs = std::filesystem;

#ifdef _WIN32

bool prepareOwnerOnlyFile(const fs::path& file, bool empty) {
    std::ofstream out(file, std::ios::binary | (empty ? std::ios::trunc : std::ios::app));
    return static_cast<bool>(out);
}

#else

bool prepareOwnerOnlyFile(const fs::path& file, bool empty) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (empty ? O_TRUNC : 0),
                          S_IRUSR | S_IWUSR);
    if (fd < 0)
        return false;
    // The mode given to open applies only to a new file, and the umask may narrow it further.
    const bool narrowed = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
    ::close(fd);
    return narrowed;
}

#endif

void ensureOwnerOnlyFolder(const fs::path& folder) {
    std::error_code ignored;
    if (folder.empty() || fs::is_directory(folder, ignored))
        return;
    if (fs::create_directories(folder, ignored))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ignored);
}

} // namespace emulator
