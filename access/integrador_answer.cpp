#include "access/integrador_answer.h"

#include "access/line_breaks.h"
#include "access/safe_xml.h"
#include "core/text.h"

#include <cstdio>

namespace backend {

std::optional<AnswerFile> parseAnswerFile(std::string_view bytes, std::string& error) {
    const auto document = XmlDocument::parse(bytes, error);
    if (!document)
        return std::nullopt;
    const xmlNode* root = document->root();
    return AnswerFile{pathText(root, {"Integrador", "Identificador", "Valor"}),
                      pathText(root, {"Integrador", "Erro", "Valor"}),
                      pathText(root, {"Integrador", "Resposta", "retorno"})};
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '"')
            out += '"';
        ++i; // the character after the backslash goes with it (or stays, as a kept quote)
    }
    return out;
}

core::Lines integradorAnswerBlock(std::string_view answerDocument,
                                  const std::function<std::string(std::string_view)>& layout) {
    if (answerDocument.empty())
        return {};
    core::Lines lines = {"---- Resposta XML Integrador -------------------------"};
    appendLines(lines, core::decodeUtf8(layout(RetiraEscapes(answerDocument))));
    lines.emplace_back(54, '-');
    return lines;
}

} // namespace backend
