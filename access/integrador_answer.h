#pragma once
// The Integrador's answer files as the program reads them, and the answers the program makes up
// itself when the Integrador cannot be reached or does not answer in time.

#include "core/call_text.h"
#include "core/catalogue.h"

#include <functional>

#include <optional>
#include <string>
#include <string_view>

namespace backend {

// The three texts read from an answer file (each empty when its element is missing).
struct AnswerFile {
    std::string identificador; // Integrador/Identificador/Valor
    std::string erro;          // Integrador/Erro/Valor
    std::string retorno;       // Integrador/Resposta/retorno
};

// Parses an answer file's bytes (a UTF-8 byte-order mark is accepted); nullopt with `error`
// set to the parser's message when they are not a well-formed document. A document whose root
// is not Integrador reads as three empty texts.
std::optional<AnswerFile> parseAnswerFile(std::string_view bytes, std::string& error);

// The bytes without a leading UTF-8 byte-order mark.
std::string_view withoutByteOrderMark(std::string_view bytes);

// The answer when no answer file was taken in time: session|busy code|["0000|"]message||.
std::string busyAnswer(const core::Operation& operation, int numeroSessao);

// The answer when the request file cannot be written.
std::string integradorWriteFailure();

// The answer document's text cleaned for display: a backslash is dropped together with the
// character after it, except that a backslash-quote pair leaves the quote.
std::string RetiraEscapes(std::string_view text);

// The Integrador answer block of the answer box: the line "---- Resposta XML Integrador ---...",
// the answer document with its escapes removed, laid out by `layout` and decoded as UTF-8, and a
// closing line of 54 hyphens. No lines when the answer document is empty.
core::Lines integradorAnswerBlock(
    std::string_view answerDocument, const std::function<std::string(std::string_view)>& layout =
                                         [](std::string_view text) { return std::string(text); });

} // namespace backend
