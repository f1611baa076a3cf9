#include "cli/module_access.h"

#include "access/driver_library.h"
#include "app/ini_file.h"
#include "app/program_info.h"
#include "cli/wait_progress.h"
#include "core/session_number.h"
#include "core/text.h"

namespace cli {

AccessChoice chooseAccess(const CommandLine& line, const std::filesystem::path& programFolder) {
    const auto dll = line.value("--dll");
    const auto integrador = line.value("--integrador");
    if (dll && integrador)
        throw UsageError("escolha --dll ou --integrador, não os dois");
    if (dll)
        return {AccessChoice::Mode::Dll, *dll};
    if (integrador)
        return {AccessChoice::Mode::Integrador, *integrador};

    const std::string ini = app::iniPathFor((programFolder / app::windowProgramName).string());
    const auto stored = app::readProfileString(ini, "DEFAULT", "ACESSO").value_or("");
    if (stored == "DLL")
        return {AccessChoice::Mode::Dll, programFolder / TARVIK_LIBRARY_NAME};
    if (stored == "INTEGRADOR")
        return {AccessChoice::Mode::Integrador, {}};
    throw UsageError("forma de acesso não escolhida: use --dll ARQUIVO ou --integrador PASTA, "
                     "ou escolha-a na janela (" +
                     ini + ")");
}

Access::Access(const AccessChoice& choice) : choice_(choice) {
    if (choice.mode == AccessChoice::Mode::Integrador)
        throw UsageError("o acesso pelo Integrador ainda não está disponível na linha de comando");
    const std::string path = choice.path.string();
    if (!std::filesystem::exists(choice.path))
        throw BackendUnavailable(backend::libraryNotFoundMessage(path));
    std::string error;
    library_ = backend::DriverLibrary::load(path, error);
    if (!library_)
        throw BackendUnavailable(core::displayLineBreaks(backend::libraryLoadFailureMessage) +
                                 "\n" + error);
}

Access::~Access() = default;

bool Access::integradorMode() const {
    return choice_.mode == AccessChoice::Mode::Integrador;
}

std::string Access::drawSessionNumber() {
    return core::geranumsessao(core::localTimeOfDay());
}

core::Lines Access::requestPreview(const core::Operation&, const core::Arguments&) {
    return {};
}

std::string Access::callModule(const core::Operation& operation, const core::Arguments& arguments) {
    unanswered_.clear();
    if (!library_->has(operation))
        unanswered_ = backend::missingFunctionMessage(operation.name);
    backend::DriverLibrary& library = *library_;
    const core::WaitInfo info{std::string(operation.name), std::nullopt, {}};
    return waitWithProgress(info, [&] { return library.call(operation, arguments); }).answer;
}

std::string Access::answerDocumentForDisplay() {
    return core::decodeUtf8(state_.answerDocument);
}

} // namespace cli
