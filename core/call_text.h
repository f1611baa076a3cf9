#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

using Lines = std::vector<std::string>;

// The call as the command box shows it: name + "(" + values joined by "," + ")".
std::string callText(std::string_view operationName, std::span<const std::string> values);

} // namespace core
