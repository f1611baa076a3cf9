#include "access/integrador_answer.h"

#include "core/text.h"
#include "xml/xml_format.h"
#include "xml/xml_paths.h"
#include "xml/xml_security.h"

#include <algorithm>
#include <stdexcept>

#include <cstdio>

namespace backend {

std::optional<AnswerFile> parseAnswerFile(std::string_view bytes, std::string& error) {
    const auto parsed = xml::parseXmlSafely(bytes);
    if (!parsed.doc) {
        error = xml::describe(parsed.error);
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(parsed.doc.get());
    return AnswerFile{xml::pathText(root, {"Integrador", "Identificador", "Valor"}),
                      xml::pathText(root, {"Integrador", "Erro", "Valor"}),
                      xml::pathText(root, {"Integrador", "Resposta", "retorno"})};
}

std::string_view withoutByteOrderMark(std::string_view bytes) {
    return bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
}

std::string busyAnswer(const core::Operation& operation, int numeroSessao) {
    char sessao[16];
    std::snprintf(sessao, sizeof sessao, "%06d", numeroSessao);
    std::string answer = std::string(sessao) + "|" + std::string(operation.busyCode) + "|";
    if (operation.busyHasZeroField)
        answer += "0000|";
    return answer + "SAT em processamento. Tente novamente.||";
}

std::string integradorWriteFailure() {
    return "Diretórios do Integrador não estão presentes.\n\r"
           "Verifique se o Integrador está devidamente instalado.";
}

std::string RetiraEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t backslash = std::min(text.find('\\', pos), text.size());
        out.append(text.substr(pos, backslash - pos));
        if (backslash + 1 < text.size() && text[backslash + 1] == '"')
            out += '"';
        pos = backslash +
              2; // the character after the backslash goes with it (or stays, as a kept quote)
    }
    return out;
}

std::string answerDocumentForDisplay(std::string_view answerDocument) {
    std::string text = RetiraEscapes(answerDocument);
    try {
        text = xml::FormatXMLString(text);
    } catch (const std::runtime_error&) {
        // Not well-formed once the escapes are gone: shown as it is.
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return core::decodeUtf8(text);
}

} // namespace backend
