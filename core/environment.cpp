#include "core/environment.h"

#include "core/path_text.h"

#include <cstdlib>

namespace core {

std::optional<std::string> environmentText(std::string_view name) {
#ifdef _WIN32
    const wchar_t* value = _wgetenv(pathFromUtf8(name).wstring().c_str());
    if (value == nullptr || *value == L'\0')
        return std::nullopt;
    return utf8FromPath(std::filesystem::path(value));
#else
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
#endif
}

} // namespace core
