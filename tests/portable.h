#pragma once
// What the tests need that POSIX and Windows spell differently: environment variables and the
// process id.

#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace portable {

// `value` is UTF-8 (set through the wide environment on Windows, so a path outside the ANSI code
// page arrives whole).
inline void setVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
    const auto wide = [](const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
    };
    _wputenv_s(wide(name).c_str(), wide(value).c_str());
#else
    ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

inline void unsetVariable(const std::string& name) {
#ifdef _WIN32
    _putenv_s(name.c_str(), ""); // an empty value removes the variable
#else
    ::unsetenv(name.c_str());
#endif
}

inline int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(::getpid());
#endif
}

} // namespace portable
