#include "documents/document_operation.h"

#include "core/path_text.h"
#include "core/text.h"
#include "documents/document_file.h"

#include <utility>

namespace documents {

core::CallValue documentValue(std::string bytes) {
    std::string shown = core::trimmed(bytes);
    return {std::move(bytes), true, shown, shown};
}

std::string readDocument(std::string_view fileName, DocumentOutcome& outcome) {
    DocumentText read = LeArquivo(fileName);
    if (!read.message.empty())
        outcome.messages.push_back(std::move(read.message));
    return std::move(read.bytes);
}

core::OperationLogic bindDocumentCall(const core::Operation& operation, const std::string& codigo,
                                      DocumentSource source, const std::filesystem::path& target,
                                      DocumentReport report) {
    auto outcome = std::make_shared<DocumentOutcome>();
    core::OperationLogic logic;
    logic.prepare = [&operation, codigo, source = std::move(source),
                     outcome](const std::string& session) {
        return core::buildCall(
            operation, session,
            {core::CallValue::typed(core::trimmed(codigo)), documentValue(source(*outcome))});
    };
    logic.report = [target, report, outcome](std::string_view answer, core::Lines& lines) {
        report(answer, target, *outcome, lines);
    };
    exposeOutcome(logic, std::move(outcome));
    return logic;
}

void exposeOutcome(core::OperationLogic& logic, std::shared_ptr<DocumentOutcome> outcome) {
    logic.takeMessages = [outcome] { return std::exchange(outcome->messages, {}); };
    logic.writtenFiles = [outcome] { return outcome->writtenFiles; };
    logic.accessKey = [outcome] { return outcome->accessKey; };
    logic.savedDocument = [outcome] { return outcome->saved; };
}

std::string shortAnswerLine(std::size_t received, std::size_t expected,
                            std::span<const std::string_view> missing) {
    std::string line = "Resposta com " + std::to_string(received) + " campos, menos que os " +
                       std::to_string(expected) + " esperados";
    const char* separator = " (faltam: ";
    for (const std::string_view name : missing) {
        line += separator;
        line += name;
        separator = ", ";
    }
    return missing.empty() ? line : line + ")";
}

void reportNotSaved(std::string reason, DocumentOutcome& outcome, core::Lines& lines) {
    lines.push_back(reason);
    outcome.saved = core::SavedDocument{false, std::move(reason)};
}

std::optional<DocumentLines> reportReturnedDocument(std::string_view base64,
                                                    const DocumentSectionTitles& titles,
                                                    DocumentOutcome& outcome, core::Lines& lines) {
    auto document = decodeReturnedDocument(base64);
    if (!document) {
        reportNotSaved(std::string(notBase64Line), outcome, lines);
        return std::nullopt;
    }
    lines.emplace_back();
    lines.emplace_back(titles.base64Heading);
    lines.push_back(core::decodeUtf8(base64));
    lines.emplace_back(titles.base64Closing);
    lines.emplace_back();
    lines.emplace_back(titles.documentHeading);
    for (const auto& line : *document)
        lines.push_back(core::decodeUtf8(line));
    lines.emplace_back(titles.documentClosing);
    return document;
}

void saveReported(const std::filesystem::path& target, const DocumentLines& document,
                  std::string savedMessage, DocumentOutcome& outcome, core::Lines& report) {
    if (document.empty()) {
        reportNotSaved("O documento de retorno veio vazio: " + core::utf8FromPath(target) +
                           " não foi alterado.",
                       outcome, report);
        return;
    }
    std::string error;
    if (!saveReturnedDocument(target, document, error)) {
        reportNotSaved(std::move(error), outcome, report);
        return;
    }
    outcome.writtenFiles.push_back(core::utf8FromPath(target));
    outcome.messages.push_back(std::move(savedMessage));
    outcome.saved = core::SavedDocument{true, {}};
}

} // namespace documents
