#pragma once
// What the tests need that POSIX and Windows spell differently: environment variables and the
// process id.

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace portable {

inline void setVariable(const std::string& name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name.c_str(), value.c_str());
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
