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

// Input and Output below $TARVIK_INTEGRADOR_DIR; when that is unset or empty, below
// C:\Integrador on Windows and below the folder "Integrador" in `programFolder` elsewhere.
IntegradorFolders integradorFolders(const std::filesystem::path& programFolder);

} // namespace backend
