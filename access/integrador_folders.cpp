#include "access/integrador_folders.h"

#include <cstdlib>

namespace backend {
namespace {

// $TARVIK_INTEGRADOR_DIR, empty when unset; read as UTF-16 on Windows, where the 8-bit
// environment would lose characters outside the ANSI code page.
std::filesystem::path rootFromEnvironment() {
#ifdef _WIN32
    const wchar_t* root = _wgetenv(L"TARVIK_INTEGRADOR_DIR");
#else
    const char* root = std::getenv("TARVIK_INTEGRADOR_DIR");
#endif
    return root ? std::filesystem::path(root) : std::filesystem::path();
}

} // namespace

IntegradorFolders integradorFoldersUnder(const std::filesystem::path& root) {
    return {root / "Input", root / "Output"};
}

IntegradorFolders integradorFolders([[maybe_unused]] const std::filesystem::path& programFolder) {
    const std::filesystem::path root = rootFromEnvironment();
    if (!root.empty())
        return integradorFoldersUnder(root);
#ifdef _WIN32
    return integradorFoldersUnder("C:\\Integrador");
#else
    return integradorFoldersUnder(programFolder / "Integrador");
#endif
}

} // namespace backend
