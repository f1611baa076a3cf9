#pragma once
// How the command line reaches the module: the access mode chosen on the line or in the
// window's INI file, and the back-end that serves it.

#include "cli/command_line.h"
#include "core/execution.h"

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace backend {
class DriverLibrary;
}

namespace cli {

// The module cannot be reached at all (exit status 3).
struct BackendUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct AccessChoice {
    enum class Mode { Dll, Integrador };
    Mode mode = Mode::Dll;
    std::filesystem::path path; // the library file, or the Integrador's root folder
};

// --dll FILE or --integrador DIR when one is given; otherwise the access mode of the window's
// INI file beside the program, with the library beside the program. Throws UsageError when
// both options are given or no access mode is chosen anywhere.
AccessChoice chooseAccess(const CommandLine& line, const std::filesystem::path& programFolder);

class Access : public core::ModuleAccess {
public:
    // Loads the library; throws BackendUnavailable, with the window's message, when the file is
    // missing or cannot be loaded.
    explicit Access(const AccessChoice& choice);
    ~Access() override;

    core::SharedState& state() override { return state_; }
    bool integradorMode() const override;
    std::string drawSessionNumber() override;
    core::Lines requestPreview(const core::Operation& operation,
                               const core::Arguments& arguments) override;
    std::string callModule(const core::Operation& operation,
                           const core::Arguments& arguments) override;
    std::string answerDocumentForDisplay() override;

    // Why the last call's answer did not come from the module, or empty when it did: the
    // library lacks the operation's function.
    const std::string& unanswered() const { return unanswered_; }

private:
    AccessChoice choice_;
    core::SharedState state_;
    std::unique_ptr<backend::DriverLibrary> library_;
    std::string unanswered_;
};

} // namespace cli
