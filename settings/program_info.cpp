#include "settings/program_info.h"

#include "core/path_text.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace settings {

std::string buildWidth(int bits) {
    return "(" + std::to_string(bits) + " bits)";
}

std::string baseTitle(std::string_view version, int bits) {
    return "Tarvik VEXOR " + buildWidth(bits) + " - Versão " + std::string(version);
}

std::string iniPathFor(const std::string& executablePath) {
    std::filesystem::path path = core::pathFromUtf8(executablePath);
    path.replace_extension(".ini");
    return core::utf8FromPath(path);
}

std::filesystem::path runningExecutable(const char* argv0) {
#ifdef _WIN32
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return std::filesystem::path(path);
#else
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self;
#endif
    return std::filesystem::absolute(argv0 ? argv0 : "");
}

} // namespace settings
