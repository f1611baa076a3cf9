#pragma once
// A copy of tarvik in a folder of the test's own, with the library host it starts to load a
// module library: beside it, or in `hostFolder` (an installed layout's module folder).

#include <filesystem>

namespace cli_test {

inline void copyTarvik(const std::filesystem::path& program,
                       const std::filesystem::path& hostFolder = {}) {
    namespace fs = std::filesystem;
    fs::copy_file(TARVIK_EXE, program);
    const fs::path host(TARVIK_LIBRARY_HOST);
    const fs::path folder = hostFolder.empty() ? program.parent_path() : hostFolder;
    fs::create_directories(folder);
    fs::copy_file(host, folder / host.filename());
}

} // namespace cli_test
