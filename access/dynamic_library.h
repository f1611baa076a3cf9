#pragma once
// Loading a shared library by full path and finding its exported functions: dlopen on POSIX,
// LoadLibraryW on Windows. The library stays loaded for the life of the process.

#include <memory>
#include <string>

namespace backend {

class DynamicLibrary {
public:
    // Loads the library at `path` (UTF-8); on failure returns nullptr and sets `error`.
    static std::unique_ptr<DynamicLibrary> open(const std::string& path, std::string& error);

    // The address of an exported function, or nullptr when the library has none of that name.
    void* symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace backend
