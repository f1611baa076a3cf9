#include "cli/module_access.h"

#include "access/answer_reader.h"
#include "access/driver_library.h"
#include "access/integrador_answer.h"
#include "access/integrador_backend.h"
#include "access/integrador_request.h"
#include "access/library_choice.h"
#include "access/library_ended.h"
#include "cli/global_options.h"
#include "cli/wait_progress.h"
#include "core/path_text.h"
#include "core/session_number.h"
#include "core/text.h"
#include "settings/ini_file.h"

#include <charconv>
#include <system_error>

namespace cli {
namespace {

std::optional<std::chrono::milliseconds> waitLimitOf(const CommandLine& line) {
    const auto text = line.value(global::espera.name);
    if (!text)
        return std::nullopt;
    int seconds = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), seconds);
    if (error != std::errc{} || end != text->data() + text->size() || seconds <= 0)
        throw UsageError("--espera pede um número de segundos maior que zero: " + *text);
    return std::chrono::seconds(seconds);
}

backend::LibraryWay libraryWayOf(const CommandLine& line, const settings::ProgramFolders& folders) {
    if (const auto text = line.value(global::processoDll.name)) {
        if (const auto way = backend::libraryWayFromText(*text))
            return *way;
        throw UsageError("--processo-dll pede separado ou mesmo: " + *text);
    }
    const std::string ini = core::utf8FromPath(folders.iniFile);
    const auto stored = settings::readProfileString(ini, "DEFAULT", "PROCESSO_DLL");
    if (!stored || stored->empty())
        return backend::LibraryWay::Host;
    if (const auto way = backend::libraryWayFromText(*stored))
        return *way;
    throw UsageError("PROCESSO_DLL pede SEPARADO ou MESMO (" + ini + "): " + *stored);
}

std::string seconds(std::chrono::milliseconds limit) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count());
}

} // namespace

AccessChoice chooseAccess(const CommandLine& line, const settings::ProgramFolders& folders) {
    const auto dll = line.value(global::dll.name);
    const auto integrador = line.value(global::integrador.name);
    if (dll && integrador)
        throw UsageError("escolha --dll ou --integrador, não os dois");

    AccessChoice choice;
    if (dll) {
        // A bare file name would make the loader search the system's library folders instead
        // of taking the file named here.
        std::error_code ec;
        const std::filesystem::path given = core::pathFromUtf8(*dll);
        choice.library = std::filesystem::absolute(given, ec);
        if (ec)
            choice.library = given;
    } else if (integrador) {
        choice.mode = AccessChoice::Mode::Integrador;
        choice.folders = backend::integradorFoldersUnder(core::pathFromUtf8(*integrador));
    } else {
        const std::string ini = core::utf8FromPath(folders.iniFile);
        const auto stored = settings::readProfileString(ini, "DEFAULT", "ACESSO").value_or("");
        if (stored == "DLL") {
            // The library chosen in the window, as the window would load it.
            const backend::LibraryChoice library = backend::chosenLibrary(ini, folders.modules);
            choice.library = library.file;
            if (library.chosen)
                choice.libraryNote = backend::chosenLibraryNote(ini);
        } else if (stored == "INTEGRADOR") {
            choice.mode = AccessChoice::Mode::Integrador;
            choice.folders = backend::integradorFolders(folders.data);
        } else {
            throw UsageError("forma de acesso não escolhida: use --dll ARQUIVO ou --integrador "
                             "PASTA, ou escolha-a na janela (" +
                             ini + ")");
        }
    }
    choice.way = libraryWayOf(line, folders);
    choice.hostFolder = folders.modules;
    choice.waitLimit = waitLimitOf(line);
    if (choice.waitLimit && choice.mode == AccessChoice::Mode::Dll)
        throw UsageError(
            "--espera vale só para o Integrador: uma chamada à biblioteca não tem limite de tempo");
    return choice;
}

Access::Access(const AccessChoice& choice) : choice_(choice) {
    if (integradorMode()) {
        integrador_ =
            std::make_unique<backend::IntegradorBackend>(choice.folders, state_, choice.waitLimit);
        return;
    }
    const std::string path = core::utf8FromPath(choice.library);
    if (!std::filesystem::exists(choice.library))
        throw BackendUnavailable(backend::libraryNotFoundMessage(path) +
                                 (choice.libraryNote.empty() ? "" : "\n\r" + choice.libraryNote));
    auto opened = backend::openLibrary(path, choice.way, choice.hostFolder);
    if (!opened.library) {
        std::string message =
            std::string(backend::libraryLoadFailureMessage) + "\n\r" + opened.error;
        if (opened.hostMissing) // a tarvik copied alone still runs the library in its own process
            message += "\n\rSem esse programa, carregue a biblioteca no próprio tarvik: "
                       "--processo-dll mesmo";
        throw BackendUnavailable(message);
    }
    library_ = std::move(opened.library);
}

Access::~Access() = default;

bool Access::integradorMode() const {
    return choice_.mode == AccessChoice::Mode::Integrador;
}

std::string Access::callModule(const core::Operation& operation, const core::Arguments& arguments) {
    unanswered_.clear();
    notice_.clear();
    lastCallEnd_ = core::CallEnd::Answered;
    return integradorMode() ? callIntegrador(operation, arguments)
                            : callLibrary(operation, arguments);
}

std::string Access::callLibrary(const core::Operation& operation,
                                const core::Arguments& arguments) {
    if (!library_->has(operation))
        unanswered_ = backend::missingFunctionMessage(operation.name);
    backend::LibraryBackend& library = *library_;
    core::WaitInfo info{std::string(operation.name), std::nullopt, {}};
    if (library.canCancel())
        info.cancel = [&library] { library.cancel(); };
    try {
        return waitWithProgress(info, [&] { return library.call(operation, arguments); }).answer;
    } catch (const backend::LibraryEnded& ended) {
        unanswered_ = ended.what();
        lastCallEnd_ = ended.cause() == backend::LibraryEnded::Cause::Cancelled
                           ? core::CallEnd::Cancelled
                           : core::CallEnd::LibraryEnded;
        return backend::answerOfEndedCall(ended, operation, arguments.at(0).number);
    }
}

std::string Access::callIntegrador(const core::Operation& operation,
                                   const core::Arguments& arguments) {
    backend::IntegradorBackend& integrador = *integrador_;
    const auto limit = choice_.waitLimit.value_or(operation.waitLimit);
    const core::WaitInfo info{std::string(operation.integradorMethod), limit,
                              [&integrador] { integrador.cancel(); }};
    std::string answer =
        waitWithProgress(info, [&] { return integrador.call(operation, arguments); }).answer;
    notice_ = backend::skippedFilesMessage(integrador.skippedFiles());
    using Outcome = backend::IntegradorBackend::Outcome;
    switch (integrador.lastOutcome()) {
    case Outcome::Answered:
        break;
    case Outcome::NotWritten:
        unanswered_ =
            "a requisição não pôde ser escrita em " + core::utf8FromPath(choice_.folders.input);
        break;
    case Outcome::TimedOut:
        unanswered_ = "o Integrador não respondeu em " + seconds(limit) + " s (pasta " +
                      core::utf8FromPath(choice_.folders.output) + ")";
        break;
    case Outcome::Cancelled:
        unanswered_ = "espera pela resposta do Integrador cancelada";
        lastCallEnd_ = core::CallEnd::Cancelled;
        break;
    }
    return answer;
}

} // namespace cli
