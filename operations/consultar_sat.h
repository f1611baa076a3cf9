#pragma once
// The SAT query: the operation with no parameter but the session number.

#include "core/arguments.h"
#include "core/execution.h"

#include <string>

namespace operations {

// The session number as the integer argument it is sent as, shown with its six digits.
core::Argument sessionArgument(const std::string& sessionNumber);

std::string consultarSatCallText(const std::string& sessionNumber);
core::Arguments consultarSatArguments(const std::string& sessionNumber);

// "Mostrar" of page 0: its call text and arguments.
core::PreparedCall consultarSatCall(const std::string& sessionNumber);

} // namespace operations
