#include "documents/cancel_last_sale.h"

#include "core/answer_cuts.h"
#include "core/call_builder.h"
#include "core/text.h"
#include "documents/cancellation_request.h"
#include "documents/document_file.h"
#include "documents/document_operation.h"
#include "documents/path_text.h"
#include "documents/returned_document.h"

#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <system_error>
#include <utility>

namespace documents {
namespace {

bool isFile(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
}

// The file the cancellation sends and where its answer goes, as the inputs name them.
struct CancellationFiles {
    std::string fieldText;   // the field's text as typed
    bool issuedMode = false; // the field names an issued CF-e, not a CFeCanc
    bool generatedByButton = false;
    Layout layout = Layout::V007; // of the request generated from an issued CF-e
    std::filesystem::path programFolder;

    bool fieldNamesAFile() const { return isExistingFile(fieldText); }
    // The CFeCanc that goes out.
    std::filesystem::path document() const {
        return issuedMode ? generatedCancellationFile(fieldText, programFolder)
                          : core::pathFromUtf8(fieldText);
    }
};

constexpr std::size_t documentField = 6;
constexpr std::size_t keyField = 8;

// The cancellation report after the raw answer line, the module's message box and the returned
// cancellation CF-e saved at `target`. An answer shorter than the report reads gets a line saying
// how many fields came and which are missing; its document is still shown and saved when field 6
// is there and decodes. A document that is not Base64 is neither shown nor saved.
void reportCancellation(std::string_view answer, const std::filesystem::path& target,
                        DocumentOutcome& outcome, core::Lines& lines) {
    if (core::answerCode(answer) != cancellationSuccess)
        return;
    // The message is the fourth field: with an empty CCCC the fourth piece of the code cut
    // would be the document.
    const std::vector<std::string> fields = documentFields(answer);
    if (fields.size() > 3)
        outcome.messages.push_back(core::decodeUtf8(fields[3]));
    // Eleven fields: the customer field is missing and field 10 is the QR-code signature.
    const bool withoutCustomer = fields.size() == 11;
    std::string shortAnswer;
    if (fields.size() < 11)
        shortAnswer = shortAnswerLine(fields.size(), std::size(issuedAnswerFields),
                                      std::span(issuedAnswerFields).subspan(fields.size()));
    if (fields.size() <= documentField) {
        reportNotSaved(shortAnswer + ": o CFeCanc de retorno não foi salvo.", outcome, lines);
        return;
    }
    if (fields.size() > keyField)
        outcome.accessKey = core::decodeUtf8(fields[keyField]);
    lines.emplace_back();
    lines.emplace_back("---- Informações do CFeCanc emitido ------------------");
    const std::pair<std::string_view, std::optional<std::size_t>> shown[] = {
        {"Data_Hora da emissão: ", 7},
        {"Chave de Consulta: ", keyField},
        {"Total da CFe: ", 9},
        {"CPF_CNPJ do Cliente: ", withoutCustomer ? std::nullopt : std::optional<std::size_t>(10)},
        {"Assinatura QRCODE: ", withoutCustomer ? 10 : 11},
    };
    for (const auto& [label, field] : shown)
        if (!field || *field < fields.size())
            lines.push_back(std::string(label) + (field ? core::decodeUtf8(fields[*field]) : ""));
    if (!shortAnswer.empty())
        lines.push_back(shortAnswer + ".");
    lines.emplace_back(closingLine54);

    const std::string closingLine56 = std::string(closingLine54) + "--";
    const auto document = reportReturnedDocument(
        fields[documentField],
        {"---- XML do CFeCanc emitido em BASE64 ----------------", closingLine54,
         "---- XML do CFeCanc emitido --------------------------", closingLine56},
        outcome, lines);
    if (!document)
        return;
    saveReported(target, *document,
                 "CFeCanc de retorno salvo na pasta Retornos com nome: " +
                     core::utf8FromPath(target.filename()),
                 outcome, lines);
}

core::Lines analysis(const std::string& codigo, const CancellationFiles& files) {
    core::Lines findings = core::checkActivationCode(codigo);
    // Without the page's button the issued CF-e is what "Mostrar" generates the CFeCanc from.
    const std::filesystem::path sent = files.issuedMode && !files.generatedByButton
                                           ? core::pathFromUtf8(core::trimmed(files.fieldText))
                                           : files.document();
    std::error_code ec;
    if (!isFile(sent) || std::filesystem::file_size(sent, ec) == 0 || ec)
        findings.emplace_back("Arquivo CFeCanc inválido.");
    return findings;
}

} // namespace

std::filesystem::path returnedCancellationFile(std::string_view fieldText,
                                               const std::filesystem::path& programFolder) {
    return retornosFile(programFolder, core::pathFromUtf8("RespCanc_" + fileNamePart(fieldText)));
}

core::OperationLogic bindCancelarUltimaVenda(const core::Operation& operation,
                                             const core::Inputs& inputs,
                                             const core::OperationContext& context) {
    const std::string codigo = inputs.text(core::codigoField.key);
    CancellationFiles files;
    files.issuedMode = !inputs.text(issuedCFeField.key).empty();
    files.fieldText = inputs.text(files.issuedMode ? issuedCFeField.key : cancelFileField.key);
    files.generatedByButton = inputs.checked(generatedByButtonKey);
    files.programFolder = context.programFolder;
    files.layout = layoutNamed(context.layout).value_or(Layout::V007);
    auto outcome = std::make_shared<DocumentOutcome>();

    core::OperationLogic logic;
    logic.analyse = [codigo, files] { return analysis(codigo, files); };
    const bool bothFiles =
        !inputs.text(cancelFileField.key).empty() && !inputs.text(issuedCFeField.key).empty();
    logic.refusal = [files, bothFiles]() -> std::optional<std::string> {
        if (bothFiles)
            return "Dê o CFeCanc (" + std::string(cancelFileField.option) +
                   ") ou o CF-e emitido (" + std::string(issuedCFeField.option) + "), não os dois.";
        if (files.issuedMode && files.generatedByButton && files.fieldNamesAFile() &&
            !isFile(files.document()))
            return std::string(notGeneratedYet);
        return std::nullopt;
    };
    logic.prepare = [&operation, codigo, files, outcome](const std::string& session) {
        std::string key;
        std::string document;
        if (files.fieldNamesAFile()) {
            if (files.issuedMode && !files.generatedByButton)
                outcome->writtenFiles.push_back(core::utf8FromPath(
                    generateFromIssuedCFe(files.fieldText, files.layout, files.programFolder)
                        .file));
            key = cancellationKeyOf(files.issuedMode
                                        ? files.document()
                                        : core::pathFromUtf8(core::trimmed(files.fieldText)));
            document = readDocument(core::utf8FromPath(files.document()), *outcome);
        }
        return core::buildCall(operation, session,
                               {core::CallValue::typed(core::trimmed(codigo)),
                                core::CallValue::typed(key), documentValue(std::move(document))});
    };
    logic.report = [files, outcome](std::string_view answer, core::Lines& lines) {
        reportCancellation(answer, returnedCancellationFile(files.fieldText, files.programFolder),
                           *outcome, lines);
    };
    exposeOutcome(logic, std::move(outcome));
    return logic;
}

} // namespace documents
