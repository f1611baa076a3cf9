#pragma once
// The answer files the Integrador stand-in writes, shaped as the real Integrador's: UTF-8 with
// a byte-order mark and CR LF line ends.

#include <string>
#include <string_view>

namespace standin {

// Integrador/Identificador/Valor, IntegradorResposta "AP" / "Arquivo processado" and
// Resposta/retorno carrying the module's answer. Bytes of the answer that are not valid UTF-8,
// or not allowed in XML, become U+FFFD; carriage returns are kept.
std::string answerDocument(std::string_view identificador, std::string_view retorno);

// Integrador/Erro/Valor with `message`; the identifier is left out when empty (not known).
std::string errorDocument(std::string_view identificador, std::string_view message);

} // namespace standin
