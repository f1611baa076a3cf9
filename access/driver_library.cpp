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

std::string shapeOf(const core::Operation& operation) {
    std::string shape;
    for (const auto& p : operation.params)
        shape += p.type == core::ParamType::Int ? 'I' : 'T';
    return shape;
}

// The bytes a text argument is passed as: typed text in the module's code page, documents as read.
std::string passedBytes(const core::Argument& argument) {
    return argument.kind == core::Argument::Kind::Document ? argument.text
                                                           : core::toAnsi(argument.text);
}

std::string invoke(void* entry, const core::Operation& operation, const core::Arguments& args) {
    if (args.size() != operation.params.size())
        throw std::invalid_argument(std::string(operation.name) + ": wrong number of arguments");
    std::vector<std::string> texts;
    texts.reserve(args.size());
    for (const auto& a : args)
        texts.push_back(a.kind == core::Argument::Kind::Int ? std::string{} : passedBytes(a));
    const auto n = [&](std::size_t i) { return args[i].number; };
    const auto t = [&](std::size_t i) { return texts[i].c_str(); };

    const std::string shape = shapeOf(operation);
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
        throw std::logic_error("no call shape " + shape);
    // Copied at once: the library owns the buffer and may reuse it on the next call.
    return result ? std::string(result) : std::string{};
}

std::size_t resolutionIndex(const core::Operation& operation) {
    const auto order = core::entryPointOrder();
    return std::size_t(std::find(order.begin(), order.end(), operation.name) - order.begin());
}

} // namespace

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

void* DriverLibrary::entryPoint(const core::Operation& operation) const {
    const std::size_t index = resolutionIndex(operation);
    return index < entryPoints_.size() ? entryPoints_[index] : nullptr;
}

bool DriverLibrary::has(const core::Operation& operation) const {
    return entryPoint(operation) != nullptr;
}

std::string DriverLibrary::call(const core::Operation& operation,
                                const core::Arguments& arguments) {
    void* entry = entryPoint(operation);
    if (!entry)
        return missingFunctionMessage(operation.name);
    return invoke(entry, operation, arguments);
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
