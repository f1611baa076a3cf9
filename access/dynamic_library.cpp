#include "access/dynamic_library.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace backend {

#ifdef _WIN32

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path, std::string& error) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(size, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), size);
    // No critical-error box for a library that cannot be loaded; the caller reports it.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE handle = LoadLibraryW(wide.c_str());
    const DWORD code = GetLastError();
    SetErrorMode(previous);
    if (!handle) {
        error = "LoadLibrary error " + std::to_string(code);
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

void* DynamicLibrary::symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

#else

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* message = dlerror();
        error = message ? message : "dlopen failed";
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

void* DynamicLibrary::symbol(const char* name) const {
    return dlsym(handle_, name);
}

#endif

} // namespace backend
