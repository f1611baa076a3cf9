#include "access/driver_library.h"
#include "core/mfe_call.h"

#include "core/path_text.h"
#include "core/text.h"

#include <algorithm>
#include <filesystem>
#include <regex>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#endif

namespace backend {
namespace {

using Result = const char*;
using Txt = const char*;

// The seven shapes the sixteen functions come in, named by their parameter types.
using FnI = Result(MFE_CALL*)(int);
using FnIT = Result(MFE_CALL*)(int, Txt);
using FnITT = Result(MFE_CALL*)(int, Txt, Txt);
using FnITTT = Result(MFE_CALL*)(int, Txt, Txt, Txt);
using FnITI = Result(MFE_CALL*)(int, Txt, int);
using FnIITTI = Result(MFE_CALL*)(int, int, Txt, Txt, int);
using FnITITT = Result(MFE_CALL*)(int, Txt, int, Txt, Txt);

// The call's shape: its parameter types in order ('I' for an integer, 'T' for a text).
std::string shapeOf(const PassedArguments& args) {
    std::string shape;
    for (const auto& a : args)
        shape += std::holds_alternative<std::int32_t>(a) ? 'I' : 'T';
    return shape;
}

std::string invoke(void* entry, const PassedArguments& args) {
    const auto n = [&](std::size_t i) { return std::get<std::int32_t>(args[i]); };
    const auto t = [&](std::size_t i) { return std::get<std::string>(args[i]).c_str(); };

    const std::string shape = shapeOf(args);
    Result result = nullptr;
    if (shape == "I")
        result = reinterpret_cast<FnI>(entry)(n(0));
    else if (shape == "IT")
        result = reinterpret_cast<FnIT>(entry)(n(0), t(1));
    else if (shape == "ITT")
        result = reinterpret_cast<FnITT>(entry)(n(0), t(1), t(2));
    else if (shape == "ITTT")
        result = reinterpret_cast<FnITTT>(entry)(n(0), t(1), t(2), t(3));
    else if (shape == "ITI")
        result = reinterpret_cast<FnITI>(entry)(n(0), t(1), n(2));
    else if (shape == "IITTI")
        result = reinterpret_cast<FnIITTI>(entry)(n(0), n(1), t(2), t(3), n(4));
    else if (shape == "ITITT")
        result = reinterpret_cast<FnITITT>(entry)(n(0), t(1), n(2), t(3), t(4));
    else
        throw std::invalid_argument("no call shape " + shape);
    // Copied at once: the library owns the buffer and may reuse it on the next call.
    return result ? std::string(result) : std::string{};
}

} // namespace

std::size_t entryPointIndex(const core::Operation& operation) {
    const auto order = core::entryPointOrder();
    return std::size_t(std::find(order.begin(), order.end(), operation.name) - order.begin());
}

DriverLibrary::DriverLibrary(std::unique_ptr<DynamicLibrary> library)
    : library_(std::move(library)) {
    const auto order = core::entryPointOrder();
    for (std::size_t i = 0; i < order.size(); ++i)
        entryPoints_[i] = library_->symbol(std::string(order[i]).c_str());
}

std::unique_ptr<DriverLibrary> DriverLibrary::load(const std::string& path, std::string& error) {
    auto library = DynamicLibrary::open(path, error);
    if (!library)
        return nullptr;
    return std::unique_ptr<DriverLibrary>(new DriverLibrary(std::move(library)));
}

bool DriverLibrary::has(const core::Operation& operation) const {
    const std::size_t index = entryPointIndex(operation);
    return index < entryPoints_.size() && entryPoints_[index];
}

std::uint16_t DriverLibrary::entryPointMask() const {
    std::uint16_t mask = 0;
    for (std::size_t i = 0; i < entryPoints_.size(); ++i)
        if (entryPoints_[i])
            mask |= std::uint16_t(1u << i);
    return mask;
}

std::string DriverLibrary::call(const core::Operation& operation,
                                const core::Arguments& arguments) {
    if (!has(operation))
        return missingFunctionMessage(operation.name);
    return callEntry(entryPointIndex(operation), passedArguments(operation, arguments));
}

std::string DriverLibrary::callEntry(std::size_t index, const PassedArguments& arguments) {
    if (index >= entryPoints_.size() || !entryPoints_[index])
        throw std::invalid_argument("no entry point " + std::to_string(index));
    return invoke(entryPoints_[index], arguments);
}

std::string missingFunctionMessage(std::string_view name) {
    return "Função " + std::string(name) + " não encontrada na biblioteca.";
}

std::string libraryNotFoundMessage(std::string_view name) {
    return "DLL: \"" + std::string(name) + "\" Não encontrada";
}

#ifdef _WIN32

std::string libraryFileVersion(const std::string& path) {
    const std::wstring wide = core::pathFromUtf8(path).wstring();
    const auto fail = [] {
        const DWORD code = GetLastError();
        throw std::system_error(int(code), std::system_category(),
                                "System Error.  Code: " + std::to_string(code));
    };
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(wide.c_str(), &ignored);
    if (size == 0)
        fail();
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoW(wide.c_str(), 0, size, buffer.data()))
        fail();
    struct Translation {
        WORD language, codePage;
    }* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        fail();
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileVersion", translation->language,
             translation->codePage);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(buffer.data(), key, reinterpret_cast<void**>(&value), &length) || !value)
        return {};
    return core::utf8FromPath(std::filesystem::path(std::wstring(value)));
}

#else

std::string libraryFileVersion(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path given = core::pathFromUtf8(path);
    const auto real = std::filesystem::canonical(given, ec);
    const std::string name = core::utf8FromPath((ec ? given : real).filename());
    static const std::regex versioned(R"(\.so\.([0-9]+(?:\.[0-9]+)*)$)");
    std::smatch match;
    return std::regex_search(name, match, versioned) ? match[1].str() : std::string{};
}

#endif

} // namespace backend
