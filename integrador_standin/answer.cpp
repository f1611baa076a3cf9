#include "integrador_standin/answer.h"

#include "core/text.h"
#include "xml/xml_text.h"

namespace standin {
namespace {

// Text that any XML parser takes back unchanged.
std::string xmlValue(std::string_view bytes) {
    std::string text = core::decodeUtf8(bytes);
    std::string clean;
    clean.reserve(text.size());
    for (char c : text) {
        const bool control = static_cast<unsigned char>(c) < 0x20;
        if (control && c != '\t' && c != '\n' && c != '\r')
            clean += "\xEF\xBF\xBD";
        else
            clean += c;
    }
    return xml::xmlText(clean, true);
}

std::string document(std::string_view identificador, std::string_view body) {
    std::string xml = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Integrador>\r\n";
    if (!identificador.empty())
        xml += "  <Identificador>\r\n    <Valor>" + xmlValue(identificador) +
               "</Valor>\r\n  </Identificador>\r\n";
    return xml.append(body).append("</Integrador>\r\n");
}

} // namespace

std::string answerDocument(std::string_view identificador, std::string_view retorno) {
    return document(identificador, "  <IntegradorResposta>\r\n"
                                   "    <Codigo>AP</Codigo>\r\n"
                                   "    <Valor>Arquivo processado</Valor>\r\n"
                                   "  </IntegradorResposta>\r\n"
                                   "  <Resposta>\r\n"
                                   "    <retorno>" +
                                       xmlValue(retorno) +
                                       "</retorno>\r\n"
                                       "  </Resposta>\r\n");
}

std::string errorDocument(std::string_view identificador, std::string_view message) {
    return document(identificador,
                    "  <Erro>\r\n    <Valor>" + xmlValue(message) + "</Valor>\r\n  </Erro>\r\n");
}

} // namespace standin
