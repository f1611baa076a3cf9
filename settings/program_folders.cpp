#include "settings/program_folders.h"

#include "core/environment.h"
#include "core/path_text.h"
#include "settings/program_info.h"

#include <cstdlib>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace settings {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view packageName = "tarvikplus";

#ifndef _WIN32
// `folder` without its trailing `tail` (a relative path such as "lib/tarvikplus"), or nothing
// when it does not end with it. (A Windows installation is one folder.)
std::optional<fs::path> withoutTail(const fs::path& folder, const fs::path& tail) {
    std::vector<fs::path> parts(folder.begin(), folder.end());
    std::vector<fs::path> tailParts(tail.begin(), tail.end());
    if (tailParts.empty() || parts.size() <= tailParts.size())
        return std::nullopt;
    if (!std::equal(tailParts.begin(), tailParts.end(), parts.end() - tailParts.size()))
        return std::nullopt;
    fs::path prefix;
    for (auto it = parts.begin(); it != parts.end() - tailParts.size(); ++it)
        prefix /= *it;
    return prefix;
}
#endif

// The install prefix when `folder` is the programs' or the modules' folder of an installation.
std::optional<fs::path> installPrefix(const fs::path& folder) {
#ifdef _WIN32
    (void)folder;
    return std::nullopt;
#else
    for (const char* tail : {TARVIK_INSTALL_BINDIR, TARVIK_INSTALL_MODULEDIR}) {
        const auto prefix = withoutTail(folder, tail);
        std::error_code ec;
        if (prefix && fs::is_directory(*prefix / TARVIK_INSTALL_DATADIR, ec))
            return prefix;
    }
    return std::nullopt;
#endif
}

// An XDG base folder: the variable when it holds an absolute path (a relative one is
// ignored), else `fallback` below the home folder.
fs::path baseFolder(const Environment& environment, std::string_view variable,
                    const fs::path& fallback) {
    if (const auto value = environment(variable); value && core::pathFromUtf8(*value).is_absolute())
        return core::pathFromUtf8(*value);
    return core::pathFromUtf8(environment("HOME").value_or("/")) / fallback;
}

// The window's INI file when its executable is in `folder`.
fs::path iniFileIn(const fs::path& folder) {
    return core::pathFromUtf8(iniPathFor(core::utf8FromPath(folder / windowProgramName)));
}

} // namespace

Environment processEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        if (auto value = core::environmentText(name))
            return value;
#ifndef _WIN32
        if (name == "HOME")
            if (const passwd* user = getpwuid(getuid()); user && user->pw_dir)
                return std::string(user->pw_dir);
#endif
        return std::nullopt;
    };
}

ProgramFolders programFolders(const fs::path& executable, const Environment& environment) {
    const fs::path here = executable.parent_path();
    ProgramFolders folders;
    const auto prefix = installPrefix(here);
    if (!prefix) {
        folders.modules = folders.resources = folders.data = here;
        folders.iniFile = iniFileIn(here);
        return folders;
    }
    const fs::path config = baseFolder(environment, "XDG_CONFIG_HOME", ".config") / packageName;
    folders.installed = true;
    folders.modules = *prefix / TARVIK_INSTALL_MODULEDIR;
    folders.resources = *prefix / TARVIK_INSTALL_DATADIR;
    folders.iniFile = iniFileIn(config);
    folders.data = baseFolder(environment, "XDG_DATA_HOME", ".local/share") / packageName;
    folders.emulatorState = folders.data / "mfe_emulador" / "estado.json";
    return folders;
}

void pointEmulatorAtUserState(const ProgramFolders& folders) {
    if (!folders.emulatorState)
        return;
#ifndef _WIN32
    // An empty value counts as unset for the emulator, which would then write beside itself.
    const char* chosen = std::getenv("MFE_EMULADOR_ESTADO");
    if (chosen == nullptr || *chosen == '\0')
        setenv("MFE_EMULADOR_ESTADO", folders.emulatorState->c_str(), 1);
#endif
}

} // namespace settings
