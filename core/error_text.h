#pragma once
// What a failure that no handler caught says to the user: the standard library's own texts
// ("filesystem error: cannot create directories: Permission denied [...]", "std::bad_alloc")
// become Portuguese, with the system's reason as detail; every other text is the program's
// own and stays as it is.

#include <exception>
#include <string>

namespace core {

std::string errorText(const std::exception& error);

} // namespace core
