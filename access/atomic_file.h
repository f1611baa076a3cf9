#pragma once
// Writing a file whole: the bytes go to a temporary name in the same folder, which is then
// renamed to the final name, so a reader never sees a half-written file.

#include <filesystem>
#include <string>
#include <string_view>

namespace backend {

// Writes `bytes` to `target` through `target` + ".tmp" (a name a reader watching for ".xml"
// files ignores), replacing any file of that name. False with `error` set on failure; the
// temporary file is then removed.
bool writeFileWhole(const std::filesystem::path& target, std::string_view bytes,
                    std::string& error);

} // namespace backend
