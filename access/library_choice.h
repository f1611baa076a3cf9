#pragma once
// Which module library the window and the command line load: the file the technician chose in
// the window, kept in the INI file under [DEFAULT] BIBLIOTECA, or the fixed name beside the
// program while none is chosen.

#include "access/library_backend.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace backend {

inline constexpr std::string_view libraryKey = "BIBLIOTECA";

struct LibraryChoice {
    std::filesystem::path file;
    bool chosen = false; // named by the INI file, not the fixed name
};

// The library the INI file at `iniPath` (UTF-8) names, a relative name taken from `modules`;
// `modules` followed by the fixed name when the key is absent or empty.
LibraryChoice chosenLibrary(const std::string& iniPath, const std::filesystem::path& modules);

// Keeps `file` (made absolute) as the chosen library; an empty path goes back to the fixed
// name. False when the INI file cannot be written.
bool storeLibraryChoice(const std::string& iniPath, const std::filesystem::path& file);

// A line saying where a chosen library comes from, for the messages about it.
std::string chosenLibraryNote(const std::string& iniPath);

// The status bar's "Biblioteca: libmfe.so (em processo à parte)".
std::string loadedLibraryText(const std::filesystem::path& file, LibraryWay way);

// "(32 bits)" for a 32-bit x86 library, "(64 bits)" for a 64-bit one; the program's own width
// when the file's architecture cannot be told.
std::string libraryWidth(Architecture architecture);

} // namespace backend
