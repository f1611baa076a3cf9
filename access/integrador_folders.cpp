#include "access/integrador_folders.h"

#include "core/environment.h"
#include "core/path_text.h"

namespace backend {
namespace {

// $TARVIK_INTEGRADOR_DIR, empty when unset.
std::filesystem::path rootFromEnvironment() {
    const auto root = core::environmentText("TARVIK_INTEGRADOR_DIR");
    return root ? core::pathFromUtf8(*root) : std::filesystem::path();
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
