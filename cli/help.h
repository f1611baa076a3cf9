#pragma once
// The help texts of the command line.

#include "cli/operation_entries.h"

#include <ostream>

namespace cli {

// Usage, the general options, the operations in the order of the window's panel, and the exit
// statuses.
void printHelp(std::ostream& out);

// One operation: its function as the library declares it, its options and its success codes.
void printOperationHelp(const OperationEntry& entry, std::ostream& out);

} // namespace cli
