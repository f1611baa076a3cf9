#include "documents/end_to_end.h"

#include "core/answer_cuts.h"
#include "core/text.h"
#include "documents/document_file.h"
#include "documents/end_to_end_sample.h"

namespace documents {
namespace {

constexpr std::size_t messageField = 2;
constexpr std::size_t documentField = 5;
// The document, then timeStamp, numDocFiscal and chaveConsulta.
constexpr std::size_t fieldsAfterDocument = 3;
constexpr std::size_t expectedFields = documentField + 1 + fieldsAfterDocument;

} // namespace

std::filesystem::path endToEndAnswerFile(const std::filesystem::path& programFolder) {
    return retornosFile(programFolder, "Resp_CFeFimAFim.xml");
}

void endToEndReport(std::string_view answer, const std::filesystem::path& target,
                    DocumentOutcome& outcome, core::Lines& lines) {
    if (core::answerCode(answer) != "09000")
        return;
    const std::vector<std::string> fields = documentFields(answer);
    if (fields.size() > messageField)
        outcome.messages.push_back(core::decodeUtf8(fields[messageField]));
    if (fields.size() < expectedFields) {
        reportNotSaved(shortAnswerLine(fields.size(), expectedFields) +
                           ": o CFe de retorno não foi salvo.",
                       outcome, lines);
        return;
    }
    const std::size_t afterDocument = fields.size() - fieldsAfterDocument;
    outcome.accessKey = core::decodeUtf8(fields.back());
    std::string base64;
    for (std::size_t n = documentField; n < afterDocument; ++n)
        base64 += fields[n];
    const auto document = decodeReturnedDocument(base64);
    if (!document) {
        reportNotSaved(std::string(notBase64Line), outcome, lines);
        return;
    }
    lines.emplace_back();
    lines.emplace_back("---- CFe de retorno ----------------------------------");
    for (const auto& line : *document)
        lines.push_back(core::decodeUtf8(line));
    lines.emplace_back(closingLine54);
    saveReported(target, *document, "CFe de retorno salvo na pasta Retornos", outcome, lines);
}

core::OperationLogic bindTesteFimAFim(const core::Operation& operation, const core::Inputs& inputs,
                                      const core::OperationContext& context) {
    const std::string codigo = inputs.text(core::codigoField.key);
    const std::string arquivo = inputs.text(testFileField.key);
    core::OperationLogic logic = bindDocumentCall(
        operation, codigo,
        [arquivo](DocumentOutcome& outcome) {
            if (isExistingFile(arquivo))
                return readDocument(arquivo, outcome);
            outcome.messages.emplace_back("Usando XML FimAFim Padrão");
            return sampleSale();
        },
        endToEndAnswerFile(context.programFolder), endToEndReport);
    logic.analyse = [codigo] { return core::checkActivationCode(codigo); };
    return logic;
}

} // namespace documents
