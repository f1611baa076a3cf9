#include "cli/run.h"

#include "access/driver_library.h"
#include "access/integrador_request.h"
#include "cli/gerar_cancelamento.h"
#ifdef TARVIK_RECEIPT_DRAWING
#include "cli/extrato.h"
#endif
#include "cli/global_options.h"
#include "cli/help.h"
#include "cli/historico.h"
#include "cli/module_access.h"
#include "cli/operation_entries.h"
#include "cli/operation_record.h"
#include "cli/output.h"
#include "cli/validar.h"
#include "core/answer_cuts.h"
#include "core/error_text.h"
#include "core/path_text.h"
#include "core/success_code.h"
#include "core/text.h"
#include "journal/call_recorder.h"
#include "journal/retention.h"

#include <algorithm>
#include <vector>

namespace cli {
namespace {

// Ends the run with `status`: the message on standard error and, with --json, the record.
int stop(const Output& o, OperationRecord& record, int status, const std::string& message) {
    record.exitStatus = status;
    record.error = core::displayLineBreaks(message);
    printError(o, message);
    if (o.json)
        printJson(o.out, toJson(record));
    return status;
}

int finish(const Output& o, OperationRecord& record, int status) {
    record.exitStatus = status;
    if (o.json)
        printJson(o.out, toJson(record));
    return status;
}

// The operation's own options first: they lead the list an unknown option is answered with.
std::vector<const Option*> optionsOf(const OperationEntry& entry) {
    std::vector<const Option*> options = entry.optionList();
    options.insert(options.end(), std::begin(global::all), std::end(global::all));
    return options;
}

// "Analisar" alone: its findings, or "Análise OK.".
int analyse(const Output& o, const OperationEntry& entry, const core::OperationLogic& logic,
            OperationRecord& record) {
    if (!logic.analyse)
        return stop(o, record, exitBadUsage,
                    std::string(entry.operation.name) +
                        " não tem análise: a página não tem o botão \"Analisar\".");
    record.analysis = logic.analyse();
    if (!o.json)
        printLines(o.out, record.analysis->empty() ? core::Lines{std::string(core::analysisOk)}
                                                   : *record.analysis);
    return finish(o, record, record.analysis->empty() ? exitSuccess : exitBadUsage);
}

// "Executar": the command box, the call, the answer box.
// Where the journal says the call went: the library's file and version, or the Integrador's
// folder.
journal::CallSource sourceOf(const AccessChoice& choice, const std::string& layout) {
    journal::CallSource source{"tarvik", "DLL", core::utf8FromPath(choice.library), layout};
    if (choice.mode == AccessChoice::Mode::Dll) {
        try {
            const std::string version = backend::libraryFileVersion(source.target);
            source.target += " (versão " + (version.empty() ? "não informada" : version) + ")";
        } catch (const std::exception&) {
            // A library without a readable version is still named.
        }
    }
    if (choice.mode == AccessChoice::Mode::Integrador) {
        source.accessMode = "INTEGRADOR";
        source.target = core::utf8FromPath(choice.folders.input.parent_path());
    }
    return source;
}

int execute(const Output& o, const OperationEntry& entry, const core::OperationLogic& logic,
            const AccessChoice& choice, OperationRecord& record, core::CallAttempt& attempt) {
    const core::Operation& operation = entry.operation;
    record.access = choice.mode == AccessChoice::Mode::Dll ? "DLL" : "INTEGRADOR";
    std::unique_ptr<Access> access;
    try {
        access = std::make_unique<Access>(choice);
    } catch (const BackendUnavailable& e) {
        attempt.failure = std::current_exception();
        return stop(o, record, exitUnreachable, core::errorText(e));
    }
    attempt.integradorMode = access->integradorMode();

    try {
        if (const auto refused = logic.refusal ? logic.refusal() : std::nullopt) {
            attempt.refusal = *refused;
            return stop(o, record, exitBadUsage, *refused);
        }
        record.shown = core::mostrar(*access, operation, logic.prepare);
    } catch (const std::exception& e) {
        attempt.refusal = core::errorText(e);
        return stop(o, record, exitBadUsage, attempt.refusal);
    }
    attempt.call = record.shown->call;
    record.session = attempt.session = access->state().sessionNumber;
    if (access->integradorMode()) {
        record.identifier = attempt.requestIdentifier = access->state().requestIdentifier;
        record.request =
            backend::requestDocument(operation, record.identifier, record.shown->call.arguments);
    }
    if (!o.json)
        printLines(o.out, record.shown->commandBox);
    if (!record.shown->call.unsendable.empty()) {
        attempt.refusal = record.shown->call.unsendable;
        return stop(o, record, exitBadUsage, record.shown->call.unsendable);
    }

    attempt.start = std::chrono::system_clock::now();
    attempt.startedAt = std::chrono::steady_clock::now();
    try {
        record.executed = core::executar(*access, operation, record.shown->call, logic.report);
        attempt.finish();
    } catch (const std::exception& e) {
        attempt.finish();
        attempt.failure = std::current_exception();
        return stop(o, record, exitUnreachable, core::errorText(e));
    }
    attempt.executed = record.executed;
    attempt.end = access->lastCallEnd();
    if (logic.writtenFiles)
        record.files = attempt.files = logic.writtenFiles();
    if (logic.takeMessages)
        record.messages = logic.takeMessages();
    if (logic.accessKey)
        record.accessKey = logic.accessKey();
    if (logic.savedDocument)
        record.saved = logic.savedDocument();
    if (!o.json) {
        printLines(o.out, record.executed->answerBox);
        for (const auto& message : record.messages)
            printError(o, message);
        for (const auto& file : record.files)
            printError(o, "arquivo salvo: " + file);
    }
    if (!access->notice().empty())
        printError(o, access->notice());
    if (!access->unanswered().empty())
        return stop(o, record, exitUnreachable, access->unanswered());
    const bool success = core::isSuccessCode(operation, core::answerCode(record.executed->answer));
    if (success && record.saved && !record.saved->saved)
        return stop(o, record, exitNotSaved,
                    "o módulo respondeu com sucesso, mas o documento de retorno não foi salvo: " +
                        record.saved->reason);
    return finish(o, record, success ? exitSuccess : exitModuleError);
}

int runOperation(const Output& o, const OperationEntry& entry, std::span<const std::string> args,
                 const settings::ProgramFolders& folders) {
    const auto options = optionsOf(entry);
    const CommandLine line(args, options);
    if (line.has(global::help.name)) {
        printOperationHelp(entry, o.out);
        return exitSuccess;
    }
    // Only the pages that validate documents use the layout; a wrong one is never ignored.
    const documents::Layout layout = chosenLayout(line);
    OperationRecord record;
    record.operation = entry.operation.name;
    if (line.words().size() > 1)
        return stop(o, record, exitBadUsage, "palavra a mais: " + line.words()[1]);
    core::OperationContext context;
    context.programFolder = folders.data;
    context.layout = documents::layoutName(layout);
    core::CallAttempt attempt;
    attempt.operation = &entry.operation;
    attempt.fields = entry.definition.fields;
    attempt.inputs = inputsFrom(entry, line);
    const core::OperationLogic logic =
        entry.definition.bind(entry.operation, attempt.inputs, context);
    if (line.has(global::analisar.name))
        return analyse(o, entry, logic, record);
    const AccessChoice choice = chooseAccess(line, folders);
    const int status = execute(o, entry, logic, choice, record, attempt);
    // Kept once everything is shown: the journal never delays the answer.
    journal::CallRecorder recorder(journal::journalPath(folders.data),
                                   journal::retentionFrom(core::utf8FromPath(folders.iniFile)));
    for (const std::string& warning : recorder.keep(attempt, sourceOf(choice, context.layout)))
        printError(o, warning);
    return status;
}

int runCommand(const Output& o, std::span<const std::string> args,
               const settings::ProgramFolders& folders) {
    const auto word = commandWord(args, global::all);
    if (!word) {
        const CommandLine line(args, global::all);
        if (line.has(global::version.name)) {
            o.out << "tarvik " << TARVIK_VERSION << "\n";
            return exitSuccess;
        }
        printHelp(line.has(global::help.name) ? o.out : o.err, folders);
        return line.has(global::help.name) ? exitSuccess : exitBadUsage;
    }
    if (*word == historicoCommand)
        return runHistorico(o, args, folders);
    if (*word == validarCommand)
        return runValidar(o, args, folders);
    if (*word == gerarCancelamentoCommand)
        return runGerarCancelamento(o, args, folders.data);
#ifdef TARVIK_RECEIPT_DRAWING
    if (*word == extratoCommand)
        return runExtrato(o, args);
#else
    if (*word == "extrato")
        throw UsageError("extrato não existe nesta compilação (Windows, sem cairo e zint)");
#endif
    const OperationEntry* entry = entryNamed(*word);
    if (!entry)
        throw UsageError("operação desconhecida: " + *word + " (veja tarvik --help)");
    return runOperation(o, *entry, args, folders);
}

} // namespace

int run(std::span<const std::string> args, const settings::ProgramFolders& folders,
        std::ostream& out, std::ostream& err) {
    const Output o{out, err, std::find(args.begin(), args.end(), "--json") != args.end()};
    try {
        return runCommand(o, args, folders);
    } catch (const UsageError& e) {
        OperationRecord record;
        return stop(o, record, exitBadUsage, e.what());
    }
}

} // namespace cli
