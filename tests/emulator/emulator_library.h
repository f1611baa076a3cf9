#pragma once
// The emulator library as a client sees it: loaded with dlopen from the built file, its
// functions found by name, its state kept in a temporary folder of the test's own.

#include "tests/support/answer_text.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace emulator_test {

class EmulatorLibrary {
public:
    using Text = const char*;

    EmulatorLibrary() {
        handle_ = dlopen(MFE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr)
            throw std::runtime_error(dlerror());
    }
    ~EmulatorLibrary() { dlclose(handle_); }

    template <class... Args> std::string call(const char* name, Args... args) const {
        using Fn = Text (*)(Args...);
        auto fn = reinterpret_cast<Fn>(dlsym(handle_, name));
        if (fn == nullptr)
            throw std::runtime_error(std::string("missing ") + name);
        return fn(args...);
    }

    void* symbol(const char* name) const { return dlsym(handle_, name); }

private:
    void* handle_;
};

// A fresh state folder for one test, named in MFE_EMULADOR_ESTADO for the library.
class StateFolder {
public:
    StateFolder() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("mfe-emulador-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        ::setenv("MFE_EMULADOR_ESTADO", stateFile().c_str(), 1);
    }
    ~StateFolder() { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder() const { return folder_; }
    std::filesystem::path stateFile() const { return folder_ / "estado.json"; }

private:
    static inline int count_ = 0;
    std::filesystem::path folder_;
};

using test_support::answerFields;

} // namespace emulator_test
