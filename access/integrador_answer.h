#pragma once
// The Integrador's answer files as the program reads them, and the answers the program makes up
// itself when the Integrador cannot be reached or does not answer in time.

#include "core/catalogue.h"

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

// The answer document as the Integrador answer block shows it: escapes removed by
// RetiraEscapes, laid out by xml::FormatXMLString (as it is when that fails), without a final line
// break, decoded as UTF-8.
std::string answerDocumentForDisplay(std::string_view answerDocument);

} // namespace backend
