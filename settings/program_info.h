#pragma once
// Facts about the running program: its title, its INI file and the files beside it.

#include <filesystem>
#include <string>
#include <string_view>

namespace settings {

// The width of this build in bits: 64 or 32.
inline constexpr int thisBuildBits = int(sizeof(void*) * 8);

// "(64 bits)" on a 64-bit build, "(32 bits)" on a 32-bit one.
std::string buildWidth(int bits = thisBuildBits);

// "Tarvik VEXOR (64 bits) - Versão " + version, with the width of the build.
std::string baseTitle(std::string_view version, int bits = thisBuildBits);

// The executable's path with its extension replaced by ".ini" (appended when it has none), both
// UTF-8 text.
std::string iniPathFor(const std::string& executablePath);

// The window's executable, without extension; its INI file holds the access mode that the
// command line also follows.
inline constexpr std::string_view windowProgramName = "tarvikplus";

// The running program's own file, as the system knows it; `argv0` made absolute when the
// system cannot tell.
std::filesystem::path runningExecutable(const char* argv0);

inline constexpr std::string_view dllSuffix = "  --  Acesso pela DLL  --";
inline constexpr std::string_view integradorSuffix = "  --  Acesso pelo Integrador  --  ";

} // namespace settings
