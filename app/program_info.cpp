#include "app/program_info.h"

#include <filesystem>

namespace app {

std::string buildWidth() {
    return "(" + std::to_string(sizeof(void*) * 8) + " bits)";
}

std::string baseTitle(std::string_view version) {
    return "Tarvik VEXOR " + buildWidth() + " - Versão " + std::string(version);
}

std::string iniPathFor(const std::string& executablePath) {
    std::filesystem::path path(executablePath);
    path.replace_extension(".ini");
    return path.string();
}

} // namespace app
