#include "journal/recorded_document.h"

#include "core/answer_cuts.h"
#include "core/base64.h"
#include "core/path_text.h"
#include "journal/sha256.h"

#include <system_error>

namespace journal {
namespace {

constexpr std::string_view endToEnd = "TesteFimAFim";
// The issued document's field: 6 in a sale's and a cancellation's answer; in an end-to-end
// test's, 5 up to the three fields after it (some modules split its Base64 text at "|").
constexpr std::size_t issuedDocumentField = 6;
constexpr std::size_t endToEndDocumentField = 5;
constexpr std::size_t endToEndFieldsAfter = 3;

std::optional<std::string> answerBase64(const CallEntry& call) {
    const std::vector<std::string> fields = core::documentFields(call.answer);
    if (call.operation != endToEnd)
        return fields.size() > issuedDocumentField
                   ? std::optional<std::string>(fields[issuedDocumentField])
                   : std::nullopt;
    if (fields.size() < endToEndDocumentField + 1 + endToEndFieldsAfter)
        return std::nullopt;
    std::string base64;
    for (std::size_t n = endToEndDocumentField; n < fields.size() - endToEndFieldsAfter; ++n)
        base64 += fields[n];
    return base64;
}

} // namespace

bool carriesIssuedDocument(std::string_view operation) {
    return operation == "EnviarDadosVenda" || operation == "CancelarUltimaVenda" ||
           operation == endToEnd;
}

RecordedDocument recordedDocument(const CallEntry& call) {
    RecordedDocument recorded;
    // The document operations write one file: the returned document.
    for (const WrittenFile& written : call.files) {
        if (written.sha256.empty())
            continue;
        const std::filesystem::path path = core::pathFromUtf8(written.path);
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            recorded.note = written.path + ": o arquivo não existe mais";
            continue;
        }
        auto bytes = fileBytes(path);
        if (!bytes || sha256Hex(*bytes) != written.sha256) {
            recorded.note = written.path + ": o arquivo mudou desde a chamada";
            continue;
        }
        recorded.bytes = std::move(bytes);
        recorded.origin = recorded.file = written.path;
        return recorded;
    }
    const auto base64 = answerBase64(call);
    auto decoded = base64 && !base64->empty() ? core::decodeBase64Lenient(*base64) : std::nullopt;
    if (!decoded || decoded->empty()) {
        recorded.error = "A resposta registrada da chamada de " + call.startLocal +
                         " não traz o documento emitido";
        recorded.error += recorded.note.empty() ? "." : " (" + recorded.note + ").";
        return recorded;
    }
    recorded.bytes = std::move(decoded);
    recorded.origin = "resposta registrada da chamada de " + call.startLocal;
    return recorded;
}

} // namespace journal
