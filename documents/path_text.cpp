#include "documents/path_text.h"

#include "core/text.h"

namespace documents {

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8FromPath(const std::filesystem::path& path) {
    const auto text = path.u8string();
    return {text.begin(), text.end()};
}

std::string fileNamePart(std::string_view fieldText) {
    return utf8FromPath(pathFromUtf8(core::trimmed(fieldText)).filename());
}

} // namespace documents
