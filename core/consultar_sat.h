#pragma once
// The SAT query: the operation with no parameter but the session number.

#include "core/arguments.h"
#include "core/execution.h"

#include <string>

namespace core {

// The session number as the integer argument it is sent as, shown with its six digits.
Argument sessionArgument(const std::string& sessionNumber);

std::string consultarSatCallText(const std::string& sessionNumber);
Arguments consultarSatArguments(const std::string& sessionNumber);

// "Mostrar" of page 0: its call text and arguments.
PreparedCall consultarSatCall(const std::string& sessionNumber);

} // namespace core
