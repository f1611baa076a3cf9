#include "access/integrador_request.h"

#include "xml/xml_security.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using core::Argument;

const core::Operation& op(std::string_view name) {
    const auto* operation = core::operationByName(name);
    EXPECT_TRUE(operation) << name;
    return *operation;
}

Argument sessao() {
    return Argument::integer(4321, "004321");
}
Argument code(std::string text) {
    return Argument::typed(text, text);
}

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(TARVIK_FIXTURES_DIR) + "/integrador/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST(GeraIdentificador, IsAPureFunctionOfTheTimeOfDay) {
    struct Case {
        core::TimeOfDay time;
        const char* identifier;
    };
    const Case cases[] = {{{0, 0, 0, 0}, "00000001"},
                          {{12, 34, 56, 789}, "18090433"},
                          {{23, 59, 59, 999}, "99727685"},
                          {{8, 0, 0, 1}, "80079278"},
                          {{17, 45, 3, 250}, "94299586"}};
    for (const auto& c : cases)
        EXPECT_EQ(backend::GeraIdentificador(c.time), c.identifier)
            << c.time.hour << ":" << c.time.minute << ":" << c.time.second << "."
            << c.time.millisecond;
}

// One request file per method, byte for byte: CR LF after every line, no byte-order mark,
// integers in decimal, the file prefixes that differ from the method names.
TEST(RequestDocument, MatchesTheExpectedFileOfEveryMethod) {
    const std::string config = "<config><tipoInter>ETHE</tipoInter></config>";
    const std::string senha = "senha123";
    struct Case {
        const char* operation;
        core::Arguments arguments;
    };
    const Case cases[] = {
        {"ConsultarSAT", {sessao()}},
        {"ConfigurarInterfaceDeRede", {sessao(), code("senha123 "), code(config)}},
        {"AtivarSAT",
         {sessao(), Argument::integer(1, "1"), code(senha), code("11222333000181"),
          Argument::integer(35, "35")}},
        {"AssociarAssinatura",
         {sessao(), code(senha), code("1674150100011511222333000181"), code("SGr5kP+aBc==")}},
        // A document with a leading line break travels unchanged.
        {"TesteFimAFim",
         {sessao(), code(senha),
          Argument::document("\r\n<CFe><infCFe versaoDadosEnt=\"0.07\"/></CFe>", "")}},
        {"ConsultarStatusOperacional", {sessao(), code(senha)}},
        {"TrocarCodigoDeAtivacao",
         {sessao(), code(senha), Argument::integer(2, "2"), code("novasenha1"),
          code("novasenha1")}},
        {"ExtrairLogs", {sessao(), code(senha)}},
        // Markup in a text value is escaped and "]]>" in a document split: the file stays
        // well-formed. Typed text stays UTF-8.
        {"EnviarDadosVenda",
         {sessao(), code("a&b<c>ção"), Argument::document("<CFe><x>a]]>b</x></CFe>", "")}},
        {"CancelarUltimaVenda",
         {sessao(), code(senha), code("CFe35150811111111111111591234567890001234567890"),
          Argument::document("<CFeCanc/>", "")}},
        {"ConsultarNumeroSessao", {sessao(), code(senha), Argument::integer(4711, "4711")}},
        {"BloquearSAT", {sessao(), code(senha)}},
        {"DesbloquearSAT", {sessao(), code(senha)}},
        {"AtualizarSoftwareSAT", {sessao(), code(senha)}},
        {"ConsultarStatusOperacionalMFE", {sessao(), code(senha)}},
        {"ConfigurarInterfaceDeRedeMFE", {sessao(), code("senha123 "), code(config)}},
    };
    for (const auto& c : cases) {
        const auto& operation = op(c.operation);
        const std::string name = backend::requestFileName(operation, "00012345");
        EXPECT_EQ(backend::requestDocument(operation, "00012345", c.arguments), fixture(name))
            << name;
    }
}

TEST(RequestDocument, HostileValuesStillGiveAWellFormedDocument) {
    const std::string hostile = "]]><!DOCTYPE x [<!ENTITY a \"b\">]>&a;</Valor><x y='\"'>ç";
    for (const auto& operation : core::catalogue()) {
        core::Arguments arguments;
        for (const auto& p : operation.params)
            arguments.push_back(p.type == core::ParamType::Int ? Argument::integer(-7, "")
                                                               : Argument::document(hostile, ""));
        const auto parsed =
            xml::parseXmlSafely(backend::requestDocument(operation, "00000001", arguments));
        EXPECT_TRUE(parsed.doc) << operation.name << ": " << parsed.error.reason;
    }
}

TEST(IntegradorPreview, ConsultarSatHasOneEmptyLineAndTheSessionAsShown) {
    const core::Lines expected = {
        "",
        "------------  XML Integrador  ------------------------------",
        "",
        R"(<?xml version="1.0" encoding="utf-8" ?>)",
        "<Integrador>",
        "  <Identificador>",
        "    <Valor>00000001</Valor>",
        "  </Identificador>",
        R"(  <Componente Nome="MF-e">)",
        R"(    <Metodo Nome="ConsultarMFe">)",
        "      <Parametros>",
        "        <Parametro>",
        "          <Nome>numeroSessao</Nome>",
        "          <Valor>000042</Valor>",
        "        </Parametro>",
        "      </Parametros>",
        "    </Metodo>",
        "  </Componente>",
        "</Integrador>",
    };
    EXPECT_EQ(backend::integradorPreview(op("ConsultarSAT"), "00000001", "000042",
                                         {Argument::integer(42, "000042")}),
              expected);
}

TEST(IntegradorPreview, OnlyBloquearAndCancelarShowTypeComments) {
    const auto lines = backend::integradorPreview(op("BloquearSAT"), "00000001", "000042",
                                                  {sessao(), code("senha123")});
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "------------  XML Integrador  ------------------------------");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "          <!--int-->"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "          <!--string-->"), 1);

    for (const auto& operation : core::catalogue()) {
        core::Arguments arguments;
        for (const auto& p : operation.params)
            arguments.push_back(p.type == core::ParamType::Int ? Argument::integer(1, "1")
                                                               : code("x"));
        const auto preview = backend::integradorPreview(operation, "00000001", "000001", arguments);
        const bool comments = std::any_of(preview.begin(), preview.end(), [](const auto& line) {
            return line.find("<!--") != std::string::npos;
        });
        EXPECT_EQ(comments, operation.page == 9 || operation.page == 11) << operation.name;
    }
}

TEST(IntegradorPreview, ShowsTheShownValuesEscapedAndSplitAtLineBreaks) {
    // The signature is shown as typed, on its lines; the file gets the joined text.
    const auto assoc = backend::integradorPreview(
        op("AssociarAssinatura"), "00000001", "004321",
        {sessao(), code("a<b"), Argument::typed("ABCDEF", "ABC\r\nDEF"), code("x")});
    const auto at = std::find(assoc.begin(), assoc.end(), "          <Valor>a&lt;b</Valor>");
    EXPECT_NE(at, assoc.end());
    EXPECT_NE(std::find(assoc.begin(), assoc.end(), "          <Valor>ABC"), assoc.end());
    EXPECT_NE(std::find(assoc.begin(), assoc.end(), "DEF</Valor>"), assoc.end());

    // A document is shown as the page passes it (trimmed), its "]]>" split as in the file.
    const auto venda = backend::integradorPreview(
        op("EnviarDadosVenda"), "00000001", "004321",
        {sessao(), code("x"), Argument::document("\r\n<a>]]></a>", "<a>]]></a>")});
    EXPECT_NE(std::find(venda.begin(), venda.end(),
                        "          <Valor><![CDATA[<a>]]]]><![CDATA[></a>]]></Valor>"),
              venda.end());
}

TEST(IntegradorTemplate, StatusQueryKeepsItsIndentationAndMarksThePlaceholders) {
    const std::vector<backend::TemplateLine> expected = {
        {R"(<?xml version="1.0" encoding="utf-8" ?>)", false},
        {"<Integrador>", false},
        {"  <Identificador>", false},
        {"    <Valor>numeroIdentificador</Valor>", true},
        {"  </Identificador>", false},
        {R"(  <Componente Nome="MF-e">)", false},
        {R"(    <Metodo Nome="ConsultarStatusOperacionalMFE">)", false},
        {"     <Parametros>", false},
        {"        <Parametro>", false},
        {"          <Nome>numeroSessao</Nome>", false},
        {"         <Valor>numeroSessao</Valor>", true},
        {"        </Parametro>", false},
        {"        <Parametro>", false},
        {"         <Nome>codigoDeAtivacao</Nome>", false},
        {"          <Valor>codigoDeAtivacao</Valor>", true},
        {"        </Parametro>", false},
        {"      </Parametros>", false},
        {"    </Metodo>", false},
        {"   </Componente>", false},
        {"</Integrador>", false},
    };
    const auto lines = backend::integradorTemplate(op("ConsultarStatusOperacionalMFE"));
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].text, expected[i].text) << i;
        EXPECT_EQ(lines[i].placeholder, expected[i].placeholder) << i;
    }
}

TEST(IntegradorTemplate, PlaceholderWordsIncludingTheExceptions) {
    struct Case {
        int page;
        std::vector<std::string> valores; // the red lines after the identifier's, trimmed
    };
    const Case cases[] = {
        {1,
         {"<Valor>numeroSessao</Valor>", "<Valor>codigoDeAtivacao</Valor>",
          "<Valor><![CDATA[dadosConfiguracao]]></Valor>", "<Valor>nrDoc</Valor>"}},
        {3,
         {"<Valor>numeroSessao</Valor>", "<Valor>codigoDeAtivacao</Valor>",
          "<Valor>CNPJvalue</Valor>", "<Valor>assinaturaCNPJs</Valor>"}},
        {8,
         {"<Valor>numeroSessao</Valor>", "<Valor>codigoDeAtivacao</Valor>",
          "<Valor><![CDATA[dadosVenda]]></Valor>", "<Valor>NrDoc</Valor>"}},
        {10,
         {"<Valor>numeroSessao</Valor>", "<Valor>codigoDeAtivacao</Valor>",
          "<Valor>cNumeroDeSessao</Valor>"}},
        {16,
         {"<Valor>numeroSessao</Valor>", "<Valor>codigoDeAtivacao</Valor>",
          "<Valor><![CDATA[dadosConfiguracao]]></Valor>", "<Valor>nrDoc</Valor>"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> red;
        for (const auto& line : backend::integradorTemplate(*core::operationByPage(c.page))) {
            EXPECT_EQ(line.text.find("<!--"), std::string::npos) << c.page;
            if (line.placeholder)
                red.push_back(line.text.substr(line.text.find('<')));
        }
        ASSERT_FALSE(red.empty());
        EXPECT_EQ(red.front(), "<Valor>numeroIdentificador</Valor>");
        EXPECT_EQ(std::vector<std::string>(red.begin() + 1, red.end()), c.valores) << c.page;
    }
}

} // namespace
