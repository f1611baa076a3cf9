#pragma once
// The arguments of a call as the library receives them: 32-bit integers, and texts as their
// exact bytes (typed text already in the module's code page, documents as read).

#include "core/arguments.h"
#include "core/catalogue.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace backend {

using PassedArgument = std::variant<std::int32_t, std::string>;
using PassedArguments = std::vector<PassedArgument>;

// Throws std::invalid_argument when the count does not match the operation's parameters.
PassedArguments passedArguments(const core::Operation& operation, const core::Arguments& arguments);

} // namespace backend
