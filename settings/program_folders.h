#pragma once
// Where the program finds its own files and where it writes, decided in one place for the
// window, the command line and the Integrador stand-in.
//
// Beside the executable (a build folder, a copied or portable folder): everything is in the
// executable's folder, read and written alike.
// Installed on Linux (the executable in <prefix>/bin or <prefix>/lib/tarvikplus, with
// <prefix>/share/tarvikplus present): the program's files are read from the prefix, and
// everything it writes goes to the user's folders ($XDG_CONFIG_HOME/tarvikplus for the INI
// file, $XDG_DATA_HOME/tarvikplus for the rest), so an installed program never writes into its
// prefix, even when run as root.
// Installed on Windows (the executable's folder below %ProgramFiles%, %ProgramW6432% or
// %ProgramFiles(x86)%, which a user cannot write): the program's files are read from that
// folder, the INI file goes to %APPDATA%\TarvikPlus and the rest to %LOCALAPPDATA%\TarvikPlus.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

struct ProgramFolders {
    bool installed = false;
    std::filesystem::path modules;   // the module library and integrador_standin
    std::filesystem::path resources; // HELP/ and welcome.png
    std::filesystem::path iniFile;   // tarvikplus.ini, the access mode
    // Retornos, Para_Cancelar, Temp, the default Integrador folder, Schemas and, installed,
    // the module emulator's state.
    std::filesystem::path data;
    // Installed only: the emulator's state file under `data`. Beside the executable the
    // emulator keeps its own default, beside the library.
    std::optional<std::filesystem::path> emulatorState;
};

// The value of an environment variable as UTF-8 text, nothing when it is unset.
using Environment = std::function<std::optional<std::string>(std::string_view)>;

// The running process's environment; HOME falls back to the user's home in the password
// database when unset.
Environment processEnvironment();

// The folders of the program whose executable (the window, `tarvik` or the stand-in) is
// `executable`.
ProgramFolders programFolders(const std::filesystem::path& executable,
                              const Environment& environment = processEnvironment());

// Installed layout: points the module emulator at its state under the user's folders through
// MFE_EMULADOR_ESTADO, unless the variable is already set. Beside the executable it does
// nothing.
void pointEmulatorAtUserState(const ProgramFolders& folders);

} // namespace settings
