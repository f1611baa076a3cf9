#include "cli/historico.h"

#include "cli/global_options.h"
#include "cli/help.h"
#include "cli/operation_entries.h"
#include "cli/run.h"
#include "cli/validar.h"
#include "core/path_text.h"
#include "core/text.h"
#include "journal/calendar_day.h"
#include "journal/entry_json.h"
#include "journal/journal_file.h"
#include "journal/secrets.h"
#include "journal/support_package.h"

#include <iterator>
#include <vector>

namespace cli {
namespace {

constexpr std::string_view exportWord = "exportar";

constexpr Option desde{"--desde", "DATA", "só as chamadas deste dia (AAAA-MM-DD) em diante"};
constexpr Option ate{"--ate", "DATA", "só as chamadas até este dia (AAAA-MM-DD), inclusive"};
constexpr Option operacao{"--operacao", "OP", "só as chamadas desta operação"};
constexpr Option codigoRetorno{"--codigo-retorno", "EEEEE",
                               "só as respostas com este código de retorno"};
constexpr Option texto{"--texto", "T",
                       "só as chamadas com T no texto da chamada ou na resposta (sem distinguir "
                       "maiúsculas nem acentos)"};
constexpr Option saida{"--saida", "ARQUIVO", "com exportar: o pacote de suporte (.zip)"};

constexpr const Option* own[] = {&desde, &ate, &operacao, &codigoRetorno, &texto, &saida};

std::vector<const Option*> historicoOptions() {
    std::vector<const Option*> options(std::begin(global::all), std::end(global::all));
    options.insert(options.end(), std::begin(own), std::end(own));
    return options;
}

void printHistoricoHelp(std::ostream& out, const settings::ProgramFolders& folders) {
    out << "Uso: tarvik [--json] historico [filtros]\n"
           "     tarvik historico exportar --saida PACOTE.zip [filtros]\n"
           "\n"
           "Mostra as chamadas ao módulo guardadas no histórico, da mais nova para a mais\n"
           "antiga; com exportar, grava-as num pacote de suporte (zip com as chamadas em JSON,\n"
           "os arquivos que elas gravaram e um resumo). O histórico fica em\n  "
        << core::utf8FromPath(journal::journalPath(folders.data)) << "\n\n";
    printOptions(own, out);
}

std::chrono::system_clock::time_point day(const CommandLine& line, const Option& option, bool end) {
    const std::string text = *line.value(option.name);
    const auto when = end ? journal::dayEnd(text) : journal::dayStart(text);
    if (!when)
        throw UsageError(std::string(option.name) + " \"" + text + "\" não é uma data AAAA-MM-DD");
    return *when;
}

journal::Filter filterOf(const CommandLine& line) {
    journal::Filter filter;
    if (line.has(desde.name))
        filter.from = day(line, desde, false);
    if (line.has(ate.name))
        filter.to = day(line, ate, true);
    if (const auto name = line.value(operacao.name)) {
        // The journal keeps the catalogue's names: a name in another letter case is the same
        // operation, and a name that is none would quietly match nothing.
        const OperationEntry* entry = entryNamed(*name);
        if (!entry)
            throw UsageError("operação desconhecida: " + *name +
                             " (as operações estão em tarvik --help)");
        filter.operation = entry->operation.name;
    }
    filter.answerCode = line.value(codigoRetorno.name).value_or("");
    filter.text = line.value(texto.name).value_or("");
    return filter;
}

bool filtered(const journal::Filter& filter) {
    return filter.from || filter.to || !filter.operation.empty() || !filter.answerCode.empty() ||
           !filter.text.empty();
}

// "  label value", the value's further lines under its first one, so that each call's block
// stays apart from the next.
void printField(std::ostream& out, std::string_view label, std::string_view value) {
    const std::string lines = core::displayLineBreaks(value);
    std::string_view rest = lines;
    const std::string indent(label.size() + 2, ' ');
    out << "  " << label;
    for (;;) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        out << line << "\n";
        if (end == std::string_view::npos)
            return;
        rest.remove_prefix(end + 1);
        out << indent;
    }
}

void printCalls(const Output& o, const journal::Filter& filter,
                const std::vector<journal::CallEntry>& calls) {
    if (calls.empty())
        printError(o, filtered(filter) ? "nenhuma chamada do histórico passa pelos filtros"
                                       : "o histórico não tem chamadas");
    if (o.json) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const auto& call : calls)
            list.push_back(journal::toJson(journal::withEchoedPasswordsMasked(call)));
        printJson(o.out, list);
        return;
    }
    for (const auto& kept : calls) {
        const journal::CallEntry call = journal::withEchoedPasswordsMasked(kept);
        o.out << "#" << call.id << "  " << call.startLocal << "  " << call.operation << "  "
              << (call.answerCode.empty() ? "-" : call.answerCode) << "  "
              << journal::outcomeName(call.outcome) << "  " << call.duration.count() / 1000
              << " ms  " << call.frontEnd << " " << call.accessMode << "\n";
        if (!call.callText.empty())
            printField(o.out, "chamada:  ", call.callText);
        if (!call.answer.empty())
            printField(o.out, "resposta: ", core::decodeUtf8(call.answer));
        if (!call.message.empty())
            printField(o.out, "motivo:   ", call.message);
        for (const auto& file : call.files)
            printField(o.out, "arquivo:  ", file.path);
    }
    o.out.flush();
}

int exportPackage(const Output& o, journal::Journal& journal,
                  const std::vector<journal::CallEntry>& calls, const CommandLine& line) {
    const auto zip = line.value(saida.name);
    if (!zip)
        throw UsageError("historico exportar pede --saida ARQUIVO.zip");
    if (calls.empty())
        throw UsageError("nenhuma chamada do histórico passa pelos filtros: nada a exportar");
    const journal::PackageContents contents =
        journal::writeSupportPackage(journal, calls, core::pathFromUtf8(*zip));
    for (const std::string& left : contents.leftOut)
        printError(o, "arquivo fora do pacote: " + left);
    if (o.json) {
        printJson(o.out, {{"package", *zip},
                          {"calls", contents.calls},
                          {"files", contents.files},
                          {"files_left_out", contents.leftOut}});
    } else {
        o.out << "pacote de suporte " << *zip << ": " << contents.calls << " chamada(s), "
              << contents.files << " arquivo(s)\n";
    }
    return exitSuccess;
}

} // namespace

int runHistorico(const Output& o, std::span<const std::string> args,
                 const settings::ProgramFolders& folders) {
    const auto options = historicoOptions();
    const CommandLine line(args, options);
    if (line.has(global::help.name)) {
        printHistoricoHelp(o.out, folders);
        return exitSuccess;
    }
    refuseModuleOptions(line, historicoCommand);
    const auto& words = line.words();
    const bool exporting = words.size() > 1 && words[1] == exportWord;
    if (words.size() > (exporting ? 2u : 1u))
        throw UsageError("palavra a mais: " + words.back());
    if (!exporting && line.has(saida.name))
        throw UsageError("--saida é só de historico exportar");
    const journal::Filter filter = filterOf(line);
    try {
        journal::Journal journal(journal::journalPath(folders.data));
        if (!journal.notice().empty())
            printError(o, journal.notice());
        const std::vector<journal::CallEntry> calls = journal.find(filter);
        if (exporting)
            return exportPackage(o, journal, calls, line);
        printCalls(o, filter, calls);
        return exitSuccess;
    } catch (const UsageError&) {
        throw;
    } catch (const std::runtime_error& e) {
        printError(o, e.what());
        return exitBadUsage;
    }
}

} // namespace cli
