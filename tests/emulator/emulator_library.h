#pragma once
// The emulator library as a client sees it: loaded from the built file (dlopen, LoadLibraryW on
// Windows), its functions found by name and called with the module's calling convention, its
// state kept in a temporary folder of the test's own.

#include "core/mfe_call.h"
#include "sale_documents.h"
#include "tests/portable.h"
#include "tests/support/answer_text.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace emulator_test {

class EmulatorLibrary {
public:
    using Text = const char*;

#ifdef _WIN32
    EmulatorLibrary() {
        handle_ = LoadLibraryW(std::filesystem::path(MFE_LIBRARY).wstring().c_str());
        if (handle_ == nullptr)
            throw std::runtime_error("LoadLibraryW failed: " + std::to_string(GetLastError()));
    }
    ~EmulatorLibrary() {
        FreeLibrary(handle_);
    }
    void* symbol(const char* name) const {
        return reinterpret_cast<void*>(GetProcAddress(handle_, name));
    }
#else
    EmulatorLibrary() {
        handle_ = dlopen(MFE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (handle_ == nullptr)
            throw std::runtime_error(dlerror());
    }
    ~EmulatorLibrary() {
        dlclose(handle_);
    }
    void* symbol(const char* name) const {
        return dlsym(handle_, name);
    }
#endif

    template <class... Args> std::string call(const char* name, Args... args) const {
        using Fn = Text(MFE_CALL*)(Args...);
        auto fn = reinterpret_cast<Fn>(symbol(name));
        if (fn == nullptr)
            throw std::runtime_error(std::string("missing ") + name);
        return fn(args...);
    }

private:
#ifdef _WIN32
    HMODULE handle_;
#else
    void* handle_;
#endif
};

// A fresh state folder for one test, named in MFE_EMULADOR_ESTADO for the library.
class StateFolder {
public:
    StateFolder() {
        folder_ = std::filesystem::temp_directory_path() /
                  ("mfe-emulador-" + std::to_string(portable::processId()) + "-" +
                   std::to_string(++count_));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        portable::setVariable("MFE_EMULADOR_ESTADO", stateFile().string());
    }
    ~StateFolder() { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder() const { return folder_; }
    std::filesystem::path stateFile() const { return folder_ / "estado.json"; }

private:
    static inline int count_ = 0;
    std::filesystem::path folder_;
};

using test_support::answerFields;

// Activates the library's module for the test taxpayer (AC-SAT, sessions 1 and 2) and associates
// the test signature; the codes answered, "04000 13000" when both succeed.
inline std::string activateAndAssociate(const EmulatorLibrary& lib) {
    const char* code = activationCode.c_str();
    const std::string value = softwareHouseCnpj + taxpayerCnpj;
    const std::string activated =
        answerFields(lib.call("AtivarSAT", 1, 1, code, taxpayerCnpj.c_str(), 35)).at(1);
    const std::string associated =
        answerFields(lib.call("AssociarAssinatura", 2, code, value.c_str(), acSignature().c_str()))
            .at(1);
    return activated + " " + associated;
}

} // namespace emulator_test
