#include "access/library_backend.h"

#include "access/driver_library.h"
#include "access/hosted_library.h"
#include "core/path_text.h"

#include <algorithm>

namespace backend {

std::optional<LibraryWay> libraryWayFromText(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; });
    if (upper == "SEPARADO")
        return LibraryWay::Host;
    if (upper == "MESMO")
        return LibraryWay::InProcess;
    return std::nullopt;
}

std::string hostProgramName(Architecture architecture) {
#ifdef _WIN32
    if (architecture == programArchitecture() || architecture == Architecture::Unknown)
        return "tarvik_library_host.exe";
    if (architecture == Architecture::X86 && programArchitecture() == Architecture::X86_64)
        return "tarvik_library_host32.exe";
#else
    if (architecture == programArchitecture() || architecture == Architecture::Unknown)
        return "tarvik_library_host";
#endif
    return {};
}

OpenedLibrary openLibrary(const std::string& path, LibraryWay way,
                          const std::filesystem::path& hostFolder) {
    OpenedLibrary opened;
    const Architecture architecture = libraryArchitecture(core::pathFromUtf8(path));
    const bool foreign =
        architecture != Architecture::Unknown && architecture != programArchitecture();
    if (way == LibraryWay::InProcess) {
        if (foreign) {
            opened.wrongArchitecture = true;
            opened.error = architectureMismatchMessage(
                architecture, hostProgramName(architecture).empty()
                                  ? "Nenhum programa aqui pode carregá-la."
                                  : "Só o processo separado (PROCESSO_DLL=SEPARADO) pode "
                                    "carregá-la.");
            return opened;
        }
        opened.library = DriverLibrary::load(path, opened.error);
        return opened;
    }
    const std::string host = hostProgramName(architecture);
    if (host.empty()) {
        opened.wrongArchitecture = true;
        opened.error =
            architectureMismatchMessage(architecture, "Nenhum programa aqui pode carregá-la.");
        return opened;
    }
    const std::filesystem::path hostPath = hostFolder / host;
    if (!std::filesystem::exists(hostPath)) {
        opened.wrongArchitecture = foreign;
        opened.hostMissing = !foreign;
        opened.error = "O programa que carrega a biblioteca não foi encontrado: " +
                       core::utf8FromPath(hostPath);
        if (foreign)
            opened.error = architectureMismatchMessage(architecture, opened.error);
        return opened;
    }
    opened.library = HostedLibrary::load(hostPath, path, opened.error);
    return opened;
}

} // namespace backend
