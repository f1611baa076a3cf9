#pragma once

#include "core/lines.h"

#include <span>
#include <string>
#include <string_view>

namespace core {

// The call as the command box shows it: name + "(" + values joined by "," + ")".
std::string callText(std::string_view operationName, std::span<const std::string> values);

} // namespace core
