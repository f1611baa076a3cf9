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

// The user's home folder: HOME, or USERPROFILE on Windows, where HOME is seldom set.
fs::path homeFolder(const Environment& environment) {
    auto home = environment("HOME");
#ifdef _WIN32
    if (!home)
        home = environment("USERPROFILE");
#endif
    return core::pathFromUtf8(home.value_or("/"));
}

#ifdef _WIN32
constexpr std::string_view windowsName = "TarvikPlus";

// `text` with ASCII letters in lower case: Windows compares file names without case.
std::string folded(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

// Whether `folder` lies below `parent` (both absolute), compared as Windows does.
bool isBelow(const fs::path& folder, const fs::path& parent) {
    const auto text = [](const fs::path& p) {
        return folded(core::utf8FromPath(p.lexically_normal().make_preferred()));
    };
    std::string outer = text(parent);
    if (outer.empty())
        return false;
    if (outer.back() != '\\')
        outer += '\\';
    return text(folder).starts_with(outer);
}

// Whether `folder` is an installation: below one of the Program Files folders, which a user
// cannot write.
bool isInstalled(const fs::path& folder, const Environment& environment) {
    for (const char* variable : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"})
        if (const auto value = environment(variable);
            value && isBelow(folder, core::pathFromUtf8(*value)))
            return true;
    return false;
}
#else
// `folder` without its trailing `tail` (a relative path such as "lib/tarvikplus"), or nothing
// when it does not end with it.
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

// The install prefix when `folder` is the programs' or the modules' folder of an installation.
std::optional<fs::path> installPrefix(const fs::path& folder) {
    for (const char* tail : {TARVIK_INSTALL_BINDIR, TARVIK_INSTALL_MODULEDIR}) {
        const auto prefix = withoutTail(folder, tail);
        std::error_code ec;
        if (prefix && fs::is_directory(*prefix / TARVIK_INSTALL_DATADIR, ec))
            return prefix;
    }
    return std::nullopt;
}
#endif

// A user's base folder: the variable when it holds an absolute path (a relative one is
// ignored), else `fallback` below the home folder.
fs::path baseFolder(const Environment& environment, std::string_view variable,
                    const fs::path& fallback) {
    if (const auto value = environment(variable); value && core::pathFromUtf8(*value).is_absolute())
        return core::pathFromUtf8(*value);
    return homeFolder(environment) / fallback;
}

// The window's INI file when its executable is in `folder`.
fs::path iniFileIn(const fs::path& folder) {
    return core::pathFromUtf8(iniPathFor(core::utf8FromPath(folder / windowProgramName)));
}

// Everything in the executable's folder.
ProgramFolders besideTheExecutable(const fs::path& here) {
    ProgramFolders folders;
    folders.modules = folders.resources = folders.data = here;
    folders.iniFile = iniFileIn(here);
    return folders;
}

// The user's folders of an installation: the INI file in `config`, the rest in `data`.
void writeInUsersFolders(ProgramFolders& folders, const fs::path& config, const fs::path& data) {
    folders.installed = true;
    folders.iniFile = iniFileIn(config);
    folders.data = data;
    folders.emulatorState = data / "mfe_emulador" / "estado.json";
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
#ifdef _WIN32
    if (!isInstalled(here, environment))
        return besideTheExecutable(here);
    ProgramFolders folders = besideTheExecutable(here);
    writeInUsersFolders(
        folders, baseFolder(environment, "APPDATA", fs::path("AppData") / "Roaming") / windowsName,
        baseFolder(environment, "LOCALAPPDATA", fs::path("AppData") / "Local") / windowsName);
    return folders;
#else
    const auto prefix = installPrefix(here);
    if (!prefix)
        return besideTheExecutable(here);
    ProgramFolders folders;
    folders.modules = *prefix / TARVIK_INSTALL_MODULEDIR;
    folders.resources = *prefix / TARVIK_INSTALL_DATADIR;
    writeInUsersFolders(folders,
                        baseFolder(environment, "XDG_CONFIG_HOME", ".config") / packageName,
                        baseFolder(environment, "XDG_DATA_HOME", ".local/share") / packageName);
    return folders;
#endif
}

void pointEmulatorAtUserState(const ProgramFolders& folders) {
    if (!folders.emulatorState)
        return;
    // An empty value counts as unset for the emulator, which would then write beside itself.
    if (core::environmentText("MFE_EMULADOR_ESTADO"))
        return;
#ifdef _WIN32
    // The wide environment, so a folder name outside the ANSI code page arrives whole.
    _wputenv_s(L"MFE_EMULADOR_ESTADO", folders.emulatorState->c_str());
#else
    setenv("MFE_EMULADOR_ESTADO", folders.emulatorState->c_str(), 1);
#endif
}

} // namespace settings
