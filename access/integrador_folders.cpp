#include "access/integrador_folders.h"

#include <cstdlib>

namespace backend {

IntegradorFolders integradorFoldersUnder(const std::filesystem::path& root) {
    return {root / "Input", root / "Output"};
}

IntegradorFolders integradorFolders([[maybe_unused]] const std::filesystem::path& programFolder) {
#ifdef _WIN32
    return integradorFoldersUnder("C:\\Integrador");
#else
    const char* root = std::getenv("TARVIK_INTEGRADOR_DIR");
    if (root && *root)
        return integradorFoldersUnder(root);
    return integradorFoldersUnder(programFolder / "Integrador");
#endif
}

} // namespace backend
