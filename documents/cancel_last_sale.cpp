#include "documents/cancel_last_sale.h"

#include "core/answer_cuts.h"
#include "core/call_builder.h"
#include "core/text.h"
#include "documents/cancellation_request.h"
#include "documents/document_file.h"
#include "documents/path_text.h"
#include "documents/returned_document.h"

#include <memory>
#include <stdexcept>
#include <system_error>

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
    std::filesystem::path programFolder;

    bool fieldNamesAFile() const { return isExistingFile(fieldText); }
    // The CFeCanc that goes out.
    std::filesystem::path document() const {
        return issuedMode ? generatedCancellationFile(fieldText, programFolder)
                          : pathFromUtf8(fieldText);
    }
};

// What one binding's report did: the file it saved, or why it could not.
struct ReturnedCancellation {
    std::optional<std::filesystem::path> saved;
    std::string savedMessage;
    std::string saveError;
    std::optional<std::filesystem::path> generated; // the CFeCanc "Mostrar" generated
};

// The files one binding wrote: the CFeCanc its "Mostrar" generated, the returned CFeCanc its
// report saved. The page reaches the whole outcome through it (cancellationOutcome).
struct WrittenFiles {
    std::shared_ptr<const ReturnedCancellation> outcome;
    std::vector<std::string> operator()() const {
        std::vector<std::string> files;
        if (outcome->generated)
            files.push_back(utf8FromPath(*outcome->generated));
        if (outcome->saved)
            files.push_back(utf8FromPath(*outcome->saved));
        return files;
    }
};

// LeArquivo of the CFeCanc that goes out. A file that cannot be read stops "Mostrar" with
// LeArquivo's message: the call would carry an empty dadosCancelamento.
std::string readDocumentBuffer(const std::filesystem::path& file) {
    DocumentText read = LeArquivo(utf8FromPath(file));
    if (!read.message.empty())
        throw std::runtime_error(read.message);
    return std::move(read.bytes);
}

std::string hyphens(std::size_t count) {
    return std::string(count, '-');
}

// The cancellation report after the raw answer line, and the returned cancellation CF-e saved
// at `target`. A field the answer lacks, or a document that is not Base64, ends it where it is:
// the lines written stay and nothing is saved.
void reportCancellation(std::string_view answer, const std::filesystem::path& target,
                        ReturnedCancellation& outcome, core::Lines& lines) {
    if (core::answerCode(answer) != cancellationSuccess)
        return;
    const std::vector<std::string> fields = documentFields(answer);
    const std::string& base64 = fields.at(6);
    lines.emplace_back();
    lines.emplace_back("---- Informações do CFeCanc emitido ------------------");
    lines.push_back("Data_Hora da emissão: " + fields.at(7));
    lines.push_back("Chave de Consulta: " + fields.at(8));
    lines.push_back("Total da CFe: " + fields.at(9));
    // Eleven fields: the customer field is missing and field 10 is the QR-code signature.
    const bool withoutCustomer = fields.size() == 11;
    lines.push_back("CPF_CNPJ do Cliente: " + (withoutCustomer ? "" : fields.at(10)));
    lines.push_back("Assinatura QRCODE: " + fields.at(withoutCustomer ? 10 : 11));
    lines.push_back(hyphens(54));
    const auto document = decodeReturnedDocument(base64);
    if (!document)
        return;
    lines.emplace_back();
    lines.emplace_back("---- XML do CFeCanc emitido em BASE64 ----------------");
    lines.push_back(base64);
    lines.push_back(hyphens(54));
    lines.emplace_back();
    lines.emplace_back("---- XML do CFeCanc emitido --------------------------");
    for (const std::string& line : *document)
        lines.push_back(core::decodeUtf8(line));
    lines.push_back(hyphens(56));
    if (!saveReturnedDocument(target, *document, outcome.saveError)) {
        lines.push_back(outcome.saveError);
        return;
    }
    outcome.saved = target;
    outcome.savedMessage =
        "CFeCanc de retorno salvo na pasta Retornos com nome: " + utf8FromPath(target.filename());
}

core::Lines analysis(const std::string& codigo, const CancellationFiles& files) {
    core::Lines findings = operations::checkActivationCode(codigo);
    // Without the page's button the issued CF-e is what "Mostrar" generates the CFeCanc from.
    const std::filesystem::path sent = files.issuedMode && !files.generatedByButton
                                           ? pathFromUtf8(core::trimmed(files.fieldText))
                                           : files.document();
    std::error_code ec;
    if (!isFile(sent) || std::filesystem::file_size(sent, ec) == 0 || ec)
        findings.emplace_back("Arquivo CFeCanc inválido.");
    return findings;
}

} // namespace

std::filesystem::path returnedCancellationFile(std::string_view fieldText,
                                               const std::filesystem::path& programFolder) {
    return retornosFile(programFolder, pathFromUtf8("RespCanc_" + fileNamePart(fieldText)));
}

core::OperationLogic bindCancelarUltimaVenda(const core::Operation& operation,
                                             const core::Inputs& inputs,
                                             const core::OperationContext& context) {
    const std::string codigo = inputs.text(operations::codigoField.key);
    CancellationFiles files;
    files.issuedMode = !inputs.text(issuedCFeField.key).empty();
    files.fieldText = inputs.text(files.issuedMode ? issuedCFeField.key : cancelFileField.key);
    files.generatedByButton = inputs.checked(generatedByButtonKey);
    files.programFolder = context.programFolder;
    auto outcome = std::make_shared<ReturnedCancellation>();

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
        std::string buffer;
        if (files.fieldNamesAFile()) {
            if (files.issuedMode && !files.generatedByButton)
                outcome->generated =
                    generateFromIssuedCFe(files.fieldText, files.programFolder).file;
            key = cancellationKeyOf(
                files.issuedMode ? files.document() : pathFromUtf8(core::trimmed(files.fieldText)));
            buffer = readDocumentBuffer(files.document());
        }
        core::CallValue document{buffer, true, core::trimmed(buffer), core::trimmed(buffer)};
        return core::buildCall(operation, session,
                               {core::CallValue::typed(core::trimmed(codigo)),
                                core::CallValue::typed(key), std::move(document)});
    };
    logic.report = [files, outcome](std::string_view answer, core::Lines& lines) {
        reportCancellation(answer, returnedCancellationFile(files.fieldText, files.programFolder),
                           *outcome, lines);
    };
    logic.writtenFiles = WrittenFiles{outcome};
    return logic;
}

CancellationOutcome cancellationOutcome(std::string_view answer,
                                        const core::OperationLogic& logic) {
    CancellationOutcome shown;
    if (core::answerCode(answer) != cancellationSuccess)
        return shown;
    // The message is the fourth field; with an empty CCCC the fourth piece of the code cut
    // would be the document.
    const auto fields = documentFields(answer);
    if (fields.size() > 3)
        shown.moduleMessage = fields[3];
    if (const auto* written = logic.writtenFiles.target<WrittenFiles>()) {
        shown.savedFile = written->outcome->saved;
        shown.savedMessage = written->outcome->savedMessage;
        shown.saveError = written->outcome->saveError;
    }
    return shown;
}

} // namespace documents
