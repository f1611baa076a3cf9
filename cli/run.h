#pragma once
// The command line's work from its words to its exit status.

#include "settings/program_folders.h"

#include <filesystem>
#include <ostream>
#include <span>
#include <string>

namespace cli {

enum ExitStatus {
    exitSuccess = 0,     // the module answered with the operation's success code
    exitModuleError = 1, // the module answered with another code
    exitBadUsage = 2,    // the command line or its input cannot be used
    exitUnreachable = 3, // the module cannot be reached
    exitNotSaved = 4,    // the module answered its success code, but its document was not saved
};

// Runs the command `args` (the program name left out) of the program whose files are in
// `folders`, writing results to `out` and messages to `err`; returns the exit status.
int run(std::span<const std::string> args, const settings::ProgramFolders& folders,
        std::ostream& out, std::ostream& err);

} // namespace cli
