#include "documents/sale.h"

#include "core/answer_cuts.h"
#include "core/text.h"
#include "documents/document_file.h"
#include "documents/path_text.h"

#include <array>
#include <iterator>
#include <span>
#include <utility>

namespace documents {
namespace {

constexpr std::size_t documentField = 6;
constexpr std::size_t keyField = 8;

constexpr std::array<std::pair<std::string_view, std::size_t>, 5> issuedFields = {{
    {"Data_Hora da emissão: ", 7},
    {"Chave de Consulta: ", keyField},
    {"Total da CFe: ", 9},
    {"CPF_CNPJ do Cliente: ", 10},
    {"Assinatura QRCODE: ", 11},
}};

constexpr std::string_view closingLine53 = closingLine54.substr(1);

} // namespace

std::filesystem::path saleAnswerFile(const std::filesystem::path& programFolder,
                                     std::string_view typedFileName) {
    return retornosFile(programFolder, core::pathFromUtf8("Resp_" + fileNamePart(typedFileName)));
}

void saleReport(std::string_view answer, const std::filesystem::path& target,
                DocumentOutcome& outcome, core::Lines& lines) {
    if (core::answerCode(answer) != "06000")
        return;
    const std::vector<std::string> fields = documentFields(answer);
    const std::size_t expected = std::size(issuedAnswerFields);
    std::string shortAnswer;
    if (fields.size() < expected)
        shortAnswer = shortAnswerLine(fields.size(), expected,
                                      std::span(issuedAnswerFields).subspan(fields.size()));
    if (fields.size() <= documentField) {
        reportNotSaved(shortAnswer + ": o CFe de retorno não foi salvo.", outcome, lines);
        return;
    }
    if (fields.size() > keyField)
        outcome.accessKey = core::decodeUtf8(fields[keyField]);
    lines.emplace_back();
    lines.emplace_back("---- Informações do CFe emitido ----------------------");
    // A short answer still brings the issued CF-e in field 6: it is shown and saved.
    for (const auto& [label, field] : issuedFields)
        if (field < fields.size())
            lines.push_back(std::string(label) + core::decodeUtf8(fields[field]));
    if (!shortAnswer.empty())
        lines.push_back(shortAnswer + ".");
    lines.emplace_back(closingLine54);

    const auto document = reportReturnedDocument(
        fields[documentField],
        {"---- XML do CFe emitido em BASE64 -------------------", closingLine53,
         "---- XML do CFe emitido -----------------------------", closingLine53},
        outcome, lines);
    if (!document)
        return;
    saveReported(target, *document,
                 "CFe de retorno salvo na pasta Retornos com nome: " +
                     core::utf8FromPath(target.filename()),
                 outcome, lines);
}

core::OperationLogic bindEnviarDadosVenda(const core::Operation& operation,
                                          const core::Inputs& inputs,
                                          const core::OperationContext& context) {
    const std::string codigo = inputs.text(core::codigoField.key);
    const std::string arquivo = inputs.text(cfeFileField.key);
    core::OperationLogic logic = bindDocumentCall(
        operation, codigo,
        [arquivo](DocumentOutcome& outcome) {
            return isExistingFile(arquivo) ? readDocument(arquivo, outcome) : std::string();
        },
        saleAnswerFile(context.programFolder, arquivo), saleReport);
    logic.analyse = [codigo, arquivo] {
        core::Lines findings = core::checkActivationCode(codigo);
        if (!isExistingFile(arquivo))
            findings.emplace_back("Arquivo CFe inválido.");
        return findings;
    };
    return logic;
}

} // namespace documents
