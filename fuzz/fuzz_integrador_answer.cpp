// Integrador answer files: the file reader of the exchange (the bytes of one file in the output
// folder), the answer block's RetiraEscapes + FormatXMLString, and FormatXMLString on its own.
// Whatever the file holds: an answer taken is the file's error text or else its retorno, the
// file is consumed only when taken, the answer block is UTF-8, RetiraEscapes leaves no backslash,
// and a text FormatXMLString lays out comes back well-formed, UTF-8 and laid out for good (laying
// it out again changes nothing).

#include "access/answer_reader.h"
#include "access/integrador_answer.h"
#include "fuzz/fuzz_support.h"
#include "xml/xml_format.h"

#include <atomic>
#include <stdexcept>

namespace {

constexpr int identifier = 12345678;

void checkExchangeReader(std::string_view bytes) {
    const auto folder = fuzz::scratchFolder() / "Output";
    std::filesystem::create_directories(folder);
    const auto file = folder / "AD12345678-resposta.xml";
    fuzz::writeFile(file, bytes);

    std::string error;
    const auto parsed = backend::parseAnswerFile(bytes, error);
    if (parsed) {
        for (const auto* text : {&parsed->identificador, &parsed->erro, &parsed->retorno})
            fuzz::require(fuzz::isUtf8(*text), "answer file texts are UTF-8", *text);
    } else {
        fuzz::require(!error.empty(), "a refused file says why");
    }

    const std::atomic<bool> cancelled{false};
    backend::AnswerReader reader(
        folder, backend::AnswerReader::Clock::now() + std::chrono::hours(1), cancelled);
    const int outcome = reader.LeRespostaIntegrador(identifier);
    fuzz::require(outcome == 0 || outcome == 1, "one pass before the deadline takes or waits");
    const bool present = std::filesystem::exists(file);
    fuzz::require(present == (outcome == 0), "a file is consumed exactly when it is taken");
    if (outcome == 1) {
        fuzz::require(parsed.has_value(), "only a well-formed file is taken");
        const std::string& expected = parsed->erro.empty() ? parsed->retorno : parsed->erro;
        fuzz::require(!expected.empty() && reader.answer() == expected,
                      "the answer is the error text or else the retorno", reader.answer());
        if (parsed->erro.empty()) {
            fuzz::require(reader.answerDocument() ==
                              std::string(backend::withoutByteOrderMark(bytes)),
                          "the answer document is the whole file");
        }
    }
    std::filesystem::remove(file);
}

void checkLayout(std::string_view text) {
    std::string laidOut;
    try {
        laidOut = xml::FormatXMLString(text);
    } catch (const std::runtime_error&) {
        return; // not well-formed: the caller shows the text as it is
    }
    fuzz::require(fuzz::isUtf8(laidOut), "FormatXMLString gives UTF-8", laidOut);
    fuzz::require(fuzz::isWellFormedXml(laidOut), "FormatXMLString gives well-formed XML", laidOut);
    std::string again;
    try {
        again = xml::FormatXMLString(laidOut);
    } catch (const std::runtime_error& e) {
        fuzz::require(false, "a laid-out text can be laid out again", e.what());
    }
    fuzz::require(again == laidOut, "FormatXMLString is stable", laidOut + "\n----\n" + again);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkExchangeReader(bytes);

    const std::string unescaped = backend::RetiraEscapes(bytes);
    fuzz::require(unescaped.find('\\') == std::string::npos, "RetiraEscapes leaves no backslash",
                  unescaped);
    fuzz::require(fuzz::isUtf8(backend::answerDocumentForDisplay(bytes)),
                  "the answer block is UTF-8");
    checkLayout(bytes);
    checkLayout(unescaped);
    return 0;
}
