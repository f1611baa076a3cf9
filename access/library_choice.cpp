#include "access/library_choice.h"

#include "core/path_text.h"
#include "settings/ini_file.h"
#include "settings/program_info.h"

#include <system_error>

namespace backend {

LibraryChoice chosenLibrary(const std::string& iniPath, const std::filesystem::path& modules) {
    const std::string stored =
        settings::readProfileString(iniPath, "DEFAULT", libraryKey).value_or("");
    if (stored.empty())
        return {modules / TARVIK_LIBRARY_NAME, false};
    // `/` keeps an absolute name as it is.
    return {modules / core::pathFromUtf8(stored), true};
}

bool storeLibraryChoice(const std::string& iniPath, const std::filesystem::path& file) {
    std::filesystem::path kept = file;
    std::error_code ec;
    if (!file.empty())
        kept = std::filesystem::absolute(file, ec);
    if (ec)
        kept = file;
    return settings::writeProfileString(iniPath, "DEFAULT", libraryKey, core::utf8FromPath(kept));
}

std::string chosenLibraryNote(const std::string& iniPath) {
    return "É a biblioteca escolhida na janela (" + std::string(libraryKey) + " em " + iniPath +
           ").";
}

std::string loadedLibraryText(const std::filesystem::path& file, LibraryWay way) {
    return "Biblioteca: " + core::utf8FromPath(file.filename()) +
           (way == LibraryWay::Host ? " (em processo à parte)" : " (no processo da janela)");
}

std::string libraryWidth(Architecture architecture) {
    switch (architecture) {
    case Architecture::X86:
        return settings::buildWidth(32);
    case Architecture::X86_64:
    case Architecture::Arm64:
        return settings::buildWidth(64);
    case Architecture::Other:
    case Architecture::Unknown:
        break;
    }
    return settings::buildWidth();
}

} // namespace backend
