#pragma once
// Environment variables as UTF-8 text.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The value of the variable `name`, nothing when it is unset or empty. On Windows it is read from
// the wide environment: the 8-bit one holds it in the ANSI code page, which loses a folder name
// with a character outside it.
std::optional<std::string> environmentText(std::string_view name);

} // namespace core
