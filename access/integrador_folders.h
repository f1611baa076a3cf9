#pragma once
// Where the Integrador takes requests (Input) and leaves answers (Output).

#include <filesystem>

namespace backend {

struct IntegradorFolders {
    std::filesystem::path input;
    std::filesystem::path output;
};

// Input and Output below `root`.
IntegradorFolders integradorFoldersUnder(const std::filesystem::path& root);

// C:\Integrador\Input and Output on Windows. Elsewhere below $TARVIK_INTEGRADOR_DIR, or, when
// that is unset or empty, below the folder "Integrador" in `programFolder`.
IntegradorFolders integradorFolders(const std::filesystem::path& programFolder);

} // namespace backend
