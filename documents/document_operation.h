#pragma once
// What the operations that send a document and get one back (sale, end-to-end test,
// cancellation) share: how the document goes out, and what a bound logic remembers for the page
// and the command line (message boxes, files saved, the access key).

#include "core/call_builder.h"
#include "core/operation_definition.h"
#include "documents/returned_document.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace documents {

// Filled by "Mostrar" and the report of one bound logic; read through OperationLogic.
struct DocumentOutcome {
    std::vector<std::string> messages;     // message box texts not yet shown, in order
    std::vector<std::string> writtenFiles; // UTF-8 paths of the files the report saved
    std::string accessKey;                 // of the document the module issued
    // After an answer with the success code: whether its document was saved, and if not why.
    std::optional<core::SavedDocument> saved;
};

// The names of the fields of a sale or cancellation answer, in order: what a short answer lacks.
inline constexpr std::string_view issuedAnswerFields[] = {
    "numeroSessao",  "EEEEE",         "CCCC",          "mensagem",
    "cod",           "mensagemSEFAZ", "arquivoCFeSAT", "timeStamp",
    "chaveConsulta", "valorTotalCFe", "CPFCNPJValue",  "assinaturaQRCODE"};

// The report line of an answer with fewer fields than its report reads: "Resposta com N campos,
// menos que os M esperados", then " (faltam: a, b)" when the missing fields are named. The caller
// adds what became of the returned document.
std::string shortAnswerLine(std::size_t received, std::size_t expected,
                            std::span<const std::string_view> missing = {});

// Ends a report whose returned document is not saved: `reason` is its last line and the outcome's
// reason.
void reportNotSaved(std::string reason, DocumentOutcome& outcome, core::Lines& lines);

// A document parameter: its bytes go out unchanged; the call text and the Integrador preview
// show it without its leading and trailing blanks and control characters.
core::CallValue documentValue(std::string bytes);

// The document of "Mostrar" read from the user's file with LeArquivo; its message, if any, is
// queued for a message box.
std::string readDocument(std::string_view fileName, DocumentOutcome& outcome);

// Lets the page and the command line read the outcome through the logic: its messages,
// written files and access key.
void exposeOutcome(core::OperationLogic& logic, std::shared_ptr<DocumentOutcome> outcome);

// The logic of an operation that sends the activation code and one document and may get a
// document back (sale, end-to-end test): "Mostrar" takes the document from `source`, the report
// is `report` with `target` as the file it saves. The analysis is left to the caller.
using DocumentSource = std::function<std::string(DocumentOutcome& outcome)>;
using DocumentReport = void (*)(std::string_view answer, const std::filesystem::path& target,
                                DocumentOutcome& outcome, core::Lines& lines);
core::OperationLogic bindDocumentCall(const core::Operation& operation, const std::string& codigo,
                                      DocumentSource source, const std::filesystem::path& target,
                                      DocumentReport report);

// A line of 54 hyphens, closing a report section.
inline constexpr std::string_view closingLine54 =
    "------------------------------------------------------";

// Saves the returned document at `target` (saveReturnedDocument). Saved: the file is recorded,
// `savedMessage` queued and the outcome marked saved. Not saved: a report line gives the reason,
// which the outcome keeps, and no message is queued. An empty document is never saved: it would
// replace the last good one with nothing.
void saveReported(const std::filesystem::path& target, const DocumentLines& document,
                  std::string savedMessage, DocumentOutcome& outcome, core::Lines& report);

// The headings and closing lines of a report's returned-document section.
struct DocumentSectionTitles {
    std::string_view base64Heading;
    std::string_view base64Closing;
    std::string_view documentHeading;
    std::string_view documentClosing;
};

// Decodes the returned document and adds its section to the report: an empty line, the Base64
// heading, the Base64 text, its closing line, an empty line, the document heading, each line of
// the document decoded as UTF-8, its closing line. Text that is not Base64 adds notBase64Line
// instead, marks the outcome not saved and gives nullopt.
std::optional<DocumentLines> reportReturnedDocument(std::string_view base64,
                                                    const DocumentSectionTitles& titles,
                                                    DocumentOutcome& outcome, core::Lines& lines);

// The report line for Base64 text that could not be decoded (nothing is shown or saved).
inline constexpr std::string_view notBase64Line =
    "O documento de retorno não está em Base64 válido: nada foi salvo.";

} // namespace documents
