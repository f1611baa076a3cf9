#pragma once
// The help texts of the command line.

#include "cli/operation_entries.h"
#include "settings/program_folders.h"

#include <ostream>

namespace cli {

// One line per option: name, value name and help.
void printOptions(std::span<const Option* const> options, std::ostream& out);

// Usage, the general options, the operations in the order of the window's panel, and the exit
// statuses; where the program's library, settings and written files are, as `folders` says.
void printHelp(std::ostream& out, const settings::ProgramFolders& folders);

// One operation: its function as the library declares it, its options and its success codes.
void printOperationHelp(const OperationEntry& entry, std::ostream& out);

} // namespace cli
