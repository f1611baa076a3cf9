#include "access/integrador_answer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

TEST(RetiraEscapes, DropsBackslashesWithTheCharacterAfterThemButKeepsQuotes) {
    struct Case {
        const char* text;
        const char* cleaned;
    };
    const Case cases[] = {
        {R"({\"codigo\":\"08000\"})", R"({"codigo":"08000"})"},
        {R"(primeira\nsegunda)", "primeirasegunda"},
        {R"(C:\Integrador)", "C:ntegrador"},
        {R"(a\\b)", "ab"},
        {R"(a\tb)", "ab"},
        {R"(fim\)", "fim"},
        {R"(\")", R"(")"},
        {"sem escapes", "sem escapes"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backend::RetiraEscapes(c.text), c.cleaned) << c.text;
}

TEST(BusyAnswer, SessionSixDigitsCodeAndTheZeroFieldForSaleAndCancellation) {
    struct Case {
        const char* operation;
        int sessao;
        const char* answer;
    };
    const Case cases[] = {
        {"EnviarDadosVenda", 4321, "004321|06098|0000|SAT em processamento. Tente novamente.||"},
        {"CancelarUltimaVenda", 7, "000007|07098|0000|SAT em processamento. Tente novamente.||"},
        {"ConsultarSAT", 4321, "004321|08098|SAT em processamento. Tente novamente.||"},
        {"ConfigurarInterfaceDeRedeMFE", 1,
         "000001|12098|SAT em processamento. Tente novamente.||"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(backend::busyAnswer(*core::operationByName(c.operation), c.sessao), c.answer);
}

// As real Integrador answers come: UTF-8 with a byte-order mark and CR LF line ends.
constexpr std::string_view realAnswer =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<Integrador>\r\n"
    "  <Identificador>\r\n    <Valor>00012345</Valor>\r\n  </Identificador>\r\n"
    "  <IntegradorResposta>\r\n    <Codigo>AP</Codigo>\r\n"
    "    <Valor>Arquivo processado</Valor>\r\n  </IntegradorResposta>\r\n"
    "  <Resposta>\r\n    <retorno>004321|08000|SAT em operação||</retorno>\r\n  </Resposta>\r\n"
    "</Integrador>\r\n";

TEST(AnswerFile, ReadsTheThreePathsOfARealAnswer) {
    std::string error;
    const auto answer = backend::parseAnswerFile(realAnswer, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ(answer->identificador, "00012345");
    EXPECT_EQ(answer->erro, "");
    EXPECT_EQ(answer->retorno, "004321|08000|SAT em operação||");
    EXPECT_EQ(backend::withoutByteOrderMark(realAnswer), realAnswer.substr(3));
}

TEST(AnswerFile, MissingElementsAndOtherRootsReadAsEmpty) {
    struct Case {
        const char* xml;
        backend::AnswerFile expected;
    };
    const Case cases[] = {
        {"<Integrador><Erro><Codigo>E1</Codigo><Valor>Falha &amp; erro</Valor></Erro>"
         "</Integrador>",
         {"", "Falha & erro", ""}},
        {"<Integrador><Resposta><retorno><![CDATA[a|b]]></retorno></Resposta></Integrador>",
         {"", "", "a|b"}},
        {"<Outro><Identificador><Valor>1</Valor></Identificador></Outro>", {"", "", ""}},
    };
    for (const auto& c : cases) {
        std::string error;
        const auto answer = backend::parseAnswerFile(c.xml, error);
        ASSERT_TRUE(answer) << c.xml << ": " << error;
        EXPECT_EQ(answer->identificador, c.expected.identificador);
        EXPECT_EQ(answer->erro, c.expected.erro);
        EXPECT_EQ(answer->retorno, c.expected.retorno);
    }
}

TEST(AnswerFile, MalformedAndHostileDocumentsGiveAMessageQuickly) {
    const std::string cases[] = {
        std::string(realAnswer.substr(0, realAnswer.size() / 2)), // half written
        "",
        "não é XML",
        // The answer reader goes through the safe parser: no external entity is read.
        "<?xml version=\"1.0\"?><!DOCTYPE x [<!ENTITY e SYSTEM \"file:///etc/passwd\">]>"
        "<Integrador><Erro><Valor>&e;</Valor></Erro></Integrador>",
        "<Integrador>" + std::string(33u << 20, ' ') + "</Integrador>",
    };
    for (const auto& xml : cases) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        EXPECT_FALSE(backend::parseAnswerFile(xml, error)) << xml.substr(0, 60);
        EXPECT_FALSE(error.empty()) << xml.substr(0, 60);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
}

TEST(AnswerDocumentForDisplay, EscapesRemovedLaidOutAndDecoded) {
    // One line per element, the backslash pairs gone before the layout, no final line break.
    EXPECT_EQ(backend::answerDocumentForDisplay(
                  "<Integrador><retorno>\\\"a\\\" \\nção</retorno></Integrador>"),
              "<Integrador>\r\n  <retorno>\"a\" ção</retorno>\r\n</Integrador>");
    // Text that is no XML once the escapes are gone is shown as it is, decoded as UTF-8.
    EXPECT_EQ(backend::answerDocumentForDisplay("sem \\xml <\xE3"), "sem ml <\uFFFD");
}

TEST(AnswerDocumentForDisplay, ALargeSaleAnswerComesOutWhole) {
    // The answer to a 500-item sale: an accented message, then a megabyte of Base64 in the same
    // element, and more accents after it.
    constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string base64;
    for (std::size_t i = 0; base64.size() < (1u << 20); ++i)
        base64 += alphabet[i % alphabet.size()];
    const std::string retorno = "000013|06000|0000|Emitido com sucesso + conteúdo notas|" + base64 +
                                "==|CFe3526|Consumidor: José Ação||";
    const std::string file =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Integrador>\r\n"
        "  <Identificador>\r\n    <Valor>00012345</Valor>\r\n  </Identificador>\r\n"
        "  <Resposta>\r\n    <retorno>" +
        retorno + "</retorno>\r\n  </Resposta>\r\n</Integrador>\r\n";
    std::string error;
    const auto answer = backend::parseAnswerFile(file, error);
    ASSERT_TRUE(answer) << error;
    EXPECT_EQ(answer->retorno, retorno);
    EXPECT_EQ(backend::answerDocumentForDisplay(backend::withoutByteOrderMark(file)),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<Integrador>\r\n"
              "  <Identificador>\r\n    <Valor>00012345</Valor>\r\n  </Identificador>\r\n"
              "  <Resposta>\r\n    <retorno>" +
                  retorno + "</retorno>\r\n  </Resposta>\r\n</Integrador>");
}

} // namespace
