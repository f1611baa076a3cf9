#include "cli/extrato.h"

#include "cli/global_options.h"
#include "cli/run.h"
#include "cli/validar.h"
#include "core/path_text.h"
#include "core/whole_file.h"
#include "receipt/receipt_choices.h"
#include "receipt/receipt_drawing.h"
#include "receipt/receipt_files.h"

#include <iterator>
#include <stdexcept>
#include <vector>

namespace cli {
namespace {

constexpr Option cfe{"--cfe", "ARQUIVO", "o CF-e de venda emitido (o Resp_ da pasta Retornos)"};
constexpr Option cancelamento{"--cancelamento", "ARQUIVO",
                              "o CF-e de cancelamento emitido: extrato do cancelamento"};
constexpr Option pdf{"--pdf", "ARQUIVO", "o PDF a gravar"};
constexpr Option largura{"--largura", "MM", "largura do papel: 80 (padrão) ou 58"};
constexpr Option resumido{"--resumido", "", "extrato resumido: sem a lista de itens"};
constexpr const Option* own[] = {&cfe, &cancelamento, &pdf, &largura, &resumido};

receipt::Paper chosenPaper(const CommandLine& line) {
    const std::string width = line.value(largura.name).value_or("80");
    if (width == "80")
        return receipt::Paper::mm80;
    if (width == "58")
        return receipt::Paper::mm58;
    throw UsageError("largura desconhecida: " + width + " (use 80 ou 58)");
}

} // namespace

void printExtratoHelp(std::ostream& out) {
    out << "Uso: tarvik [--json] extrato --cfe ARQUIVO [--cancelamento ARQUIVO] --pdf ARQUIVO\n"
           "                            [--largura 80|58] [--resumido]\n"
           "\n"
           "Gera o extrato do CF-e-SAT (o cupom do consumidor) em PDF, numa página contínua da\n"
           "largura do papel, com o código de barras da chave e o QR Code. Com --cancelamento,\n"
           "gera o extrato do cancelamento, que repete o QR Code da venda (por isso pede\n"
           "também o CF-e de venda).\n"
           "\n";
    for (const Option* o : own) {
        std::string head = std::string(o->name);
        if (!o->value.empty())
            head += " " + std::string(o->value);
        out << "  " << head << std::string(head.size() < 22 ? 23 - head.size() : 1, ' ') << o->help
            << "\n";
    }
    out << "\n"
        << receipt::choices::helpText
        << "\n"
           "Situação de saída:\n"
           "  0  o PDF foi gravado\n"
           "  2  uso errado, arquivo ausente ou que não é o CF-e esperado, PDF não gravado\n";
}

int runExtrato(const Output& o, std::span<const std::string> args) {
    std::vector<const Option*> options(std::begin(global::all), std::end(global::all));
    options.insert(options.end(), std::begin(own), std::end(own));
    const CommandLine line(args, options);
    if (line.has(global::help.name)) {
        printExtratoHelp(o.out);
        return exitSuccess;
    }
    refuseModuleOptions(line, extratoCommand);
    if (line.has(global::layout.name))
        throw UsageError("extrato não usa --layout");
    if (line.words().size() != 1)
        throw UsageError("palavra a mais: " + line.words()[1]);
    const auto cfeFile = line.value(cfe.name);
    const auto pdfFile = line.value(pdf.name);
    if (!cfeFile || !pdfFile)
        throw UsageError("extrato pede --cfe ARQUIVO e --pdf ARQUIVO");
    if (line.has(resumido.name) && line.has(cancelamento.name))
        throw UsageError("--resumido vale só para o extrato de venda");

    receipt::ReceiptFiles files{core::pathFromUtf8(*cfeFile), std::nullopt};
    if (const auto canc = line.value(cancelamento.name))
        files.cancellation = core::pathFromUtf8(*canc);
    const receipt::BuiltReceipt built = receipt::receiptFromFiles(
        files, chosenPaper(line),
        line.has(resumido.name) ? receipt::Variant::summarised : receipt::Variant::full);
    if (!built.receipt)
        throw UsageError(built.error);
    std::string bytes;
    try {
        bytes = receipt::receiptPdf(*built.receipt);
    } catch (const std::runtime_error& e) {
        throw UsageError(e.what());
    }
    std::string error;
    if (!core::writeFileWhole(core::pathFromUtf8(*pdfFile), bytes, error))
        throw UsageError("Não foi possível gravar " + *pdfFile + ": " + error);
    if (o.json) {
        nlohmann::ordered_json j;
        j["files"] = std::vector{*pdfFile};
        printJson(o.out, j);
    } else {
        printLines(o.out, {"Extrato gravado: " + *pdfFile});
    }
    return exitSuccess;
}

} // namespace cli
