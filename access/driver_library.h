#pragma once
// The module maker's driver library: its sixteen entry points resolved by name, and calls into
// them with the catalogue's signatures.

#include "access/dynamic_library.h"
#include "access/library_backend.h"
#include "access/passed_arguments.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace backend {

// In this process: a crash in the library ends the program, and a call cannot be stopped.
class DriverLibrary : public LibraryBackend {
public:
    // Loads the library at `path` (UTF-8) and resolves its entry points; nullptr with `error` set
    // on failure.
    static std::unique_ptr<DriverLibrary> load(const std::string& path, std::string& error);

    bool has(const core::Operation& operation) const override;
    // Bit i set when the library exports the entry point i of the catalogue's resolution order.
    std::uint16_t entryPointMask() const;

    // Calls the operation's entry point and copies its answer at once. An operation whose
    // entry point the library lacks is not called: the answer is a line saying so.
    std::string call(const core::Operation& operation, const core::Arguments& arguments) override;

    // Calls entry point `index` (resolution order) with arguments already as the library takes
    // them; std::invalid_argument when the library lacks it or the arguments fit no shape.
    std::string callEntry(std::size_t index, const PassedArguments& arguments);

private:
    explicit DriverLibrary(std::unique_ptr<DynamicLibrary> library);

    std::unique_ptr<DynamicLibrary> library_;
    std::array<void*, 16> entryPoints_{}; // in the catalogue's resolution order
};

// The operation's place in the catalogue's resolution order.
std::size_t entryPointIndex(const core::Operation& operation);

// "Função <name> não encontrada na biblioteca."
std::string missingFunctionMessage(std::string_view name);

// "DLL: "<name>" Não encontrada": the library file is not there.
std::string libraryNotFoundMessage(std::string_view name);

// The library file is there but cannot be loaded (line break "\n\r" inside).
inline constexpr std::string_view libraryLoadFailureMessage =
    "Atenção!!! Erro na carga da DLL.\n\rVerifique se DLL e o driver instalado são compatíveis.";

// The version of the library file at `path` (UTF-8): on Windows its version resource's FileVersion;
// elsewhere the numbers after ".so." in the name of the real file behind any symbolic links
// ("1.2.0" for libmfe.so.1.2.0), or empty when the name carries none.
std::string libraryFileVersion(const std::string& path);

} // namespace backend
