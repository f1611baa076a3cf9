#include "cli/gerar_cancelamento.h"

#include "cli/global_options.h"
#include "cli/run.h"
#include "cli/validar.h"
#include "core/path_text.h"
#include "documents/cancellation_request.h"
#include "documents/path_text.h"

#include <iterator>
#include <stdexcept>
#include <vector>

namespace cli {
namespace {

constexpr Option cfe{"--cfe", "ARQUIVO", "o CF-e emitido (por exemplo o Resp_ da pasta Retornos)"};

} // namespace

void printGerarCancelamentoHelp(std::ostream& out, const std::filesystem::path& programFolder) {
    out << "Uso: tarvik [--layout VERSAO] [--json] gerar-cancelamento --cfe ARQUIVO\n"
           "\n"
           "Gera o CFeCanc do CF-e emitido, como \"Gerar XML para Cancelamento\" da página de\n"
           "venda, e o grava como C_ + nome da venda (o nome do ARQUIVO sem Resp_: Resp_venda.xml\n"
           "dá C_venda.xml) na pasta\n  "
        << core::utf8FromPath(programFolder / "Para_Cancelar")
        << "\nO cliente (CPF ou CNPJ) só entra no layout 0.06; nos outros o grupo dest fica "
           "vazio.\n"
           "\n"
           "  --cfe ARQUIVO          "
        << cfe.help
        << "\n"
           "  --layout VERSAO        0.06, 0.07 (padrão) ou 0.08\n"
           "\n"
           "Situação de saída:\n"
           "  0  o CFeCanc foi gravado\n"
           "  2  uso errado, arquivo que não pôde ser gravado\n";
}

int runGerarCancelamento(const Output& o, std::span<const std::string> args,
                         const std::filesystem::path& programFolder) {
    std::vector<const Option*> options(std::begin(global::all), std::end(global::all));
    options.push_back(&cfe);
    const CommandLine line(args, options);
    if (line.has(global::help.name)) {
        printGerarCancelamentoHelp(o.out, programFolder);
        return exitSuccess;
    }
    refuseModuleOptions(line, gerarCancelamentoCommand);
    if (line.words().size() != 1)
        throw UsageError("palavra a mais: " + line.words()[1]);
    const auto file = line.value(cfe.name);
    if (!file)
        throw UsageError("gerar-cancelamento pede --cfe ARQUIVO");
    const documents::Layout layout = chosenLayout(line);
    documents::GeneratedCancellation generated;
    try {
        generated = documents::generateAfterSale(
            core::pathFromUtf8(*file), documents::saleFileNameOf(documents::fileNamePart(*file)),
            layout, programFolder);
    } catch (const std::runtime_error& e) {
        throw UsageError(e.what());
    }
    const std::string written = core::utf8FromPath(generated.file);
    if (o.json) {
        nlohmann::ordered_json j;
        j["layout"] = documents::layoutName(layout);
        j["key"] = generated.key;
        j["files"] = std::vector{written};
        printJson(o.out, j);
    } else {
        printLines(o.out, {generated.message, written});
    }
    return exitSuccess;
}

} // namespace cli
