#pragma once
// The module maker's driver library as the program calls it: loaded in this process, or in the
// library host, a process of its own that a crash or a hang in the library cannot take down.

#include "access/library_architecture.h"
#include "core/module_backend.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace backend {

class LibraryBackend : public core::ModuleBackend {
public:
    // Whether the library exports the operation's entry point.
    virtual bool has(const core::Operation& operation) const = 0;
    // Whether cancel() can stop a call in progress.
    virtual bool canCancel() const { return false; }
    // Stops the call in progress, from any thread: the call then throws LibraryEnded.
    virtual void cancel() {}
};

enum class LibraryWay {
    Host,      // in the library host (the default)
    InProcess, // in this process
};

// The INI value ([DEFAULT] PROCESSO_DLL) and the command line's value (--processo-dll) that
// choose the way: "SEPARADO" or "MESMO", in any case; anything else is nothing.
std::optional<LibraryWay> libraryWayFromText(std::string_view text);

// The host's file name for a library of `architecture`, the program's own or, on 64-bit
// Windows, 32-bit x86; empty when no host can load it.
std::string hostProgramName(Architecture architecture);

struct OpenedLibrary {
    std::unique_ptr<LibraryBackend> library; // nullptr when it could not be loaded
    std::string error;                       // why not
    bool wrongArchitecture = false;          // the library is of an architecture nothing here loads
    bool hostMissing = false; // the library host is not there, though this process could load it
};

// Loads the library at `path` (UTF-8) the way chosen; the hosts are looked for in `hostFolder`.
OpenedLibrary openLibrary(const std::string& path, LibraryWay way,
                          const std::filesystem::path& hostFolder);

} // namespace backend
