#pragma once
// How the command line reaches the module: the access mode chosen on the line or in the
// window's INI file, and the back-end that serves it.

#include "access/integrador_folders.h"
#include "access/library_backend.h"
#include "access/module_access_base.h"
#include "cli/command_line.h"
#include "core/execution.h"
#include "settings/program_folders.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

namespace backend {
class IntegradorBackend;
} // namespace backend

namespace cli {

// The module cannot be reached at all (exit status 3).
struct BackendUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct AccessChoice {
    enum class Mode { Dll, Integrador };
    Mode mode = Mode::Dll;
    std::filesystem::path library; // DLL mode
    std::string libraryNote; // DLL mode: where the INI's choice of library comes from, if it does
    backend::LibraryWay way = backend::LibraryWay::Host; // DLL mode
    std::filesystem::path hostFolder;                    // DLL mode: where the library hosts are
    backend::IntegradorFolders folders;                  // Integrador mode
    std::optional<std::chrono::milliseconds> waitLimit;  // --espera; else each method's own
};

// --dll FILE (made absolute) or --integrador DIR (Input and Output below DIR) when one is given;
// otherwise the access mode of the window's INI file, with the module library chosen in the
// window (BIBLIOTECA) or the Integrador's folders where the window finds them. The library's way is
// --processo-dll, else the INI file's PROCESSO_DLL, else the library host. Throws UsageError when
// both options are given, no access mode is chosen anywhere, --espera is not a number of seconds,
// or a way is neither "separado" nor "mesmo".
AccessChoice chooseAccess(const CommandLine& line, const settings::ProgramFolders& folders);

class Access : public backend::ModuleAccessBase {
public:
    // In DLL mode loads the library the way chosen; throws BackendUnavailable, with the window's
    // message, when the file is missing or cannot be loaded.
    explicit Access(const AccessChoice& choice);
    ~Access() override;

    core::SharedState& state() override { return state_; }
    bool integradorMode() const override;
    std::string callModule(const core::Operation& operation,
                           const core::Arguments& arguments) override;

    // Why the last call's answer is not the module's, or empty when it is: the library lacks
    // the operation's function, the library ended during the call, the request could not be
    // written, the wait ran out or was cancelled.
    const std::string& unanswered() const { return unanswered_; }
    // What the user should know besides the answer (answer files that could not be read).
    const std::string& notice() const { return notice_; }

private:
    std::string callLibrary(const core::Operation& operation, const core::Arguments& arguments);
    std::string callIntegrador(const core::Operation& operation, const core::Arguments& arguments);

    AccessChoice choice_;
    core::SharedState state_;
    std::unique_ptr<backend::LibraryBackend> library_;
    std::unique_ptr<backend::IntegradorBackend> integrador_;
    std::string unanswered_;
    std::string notice_;
};

} // namespace cli
