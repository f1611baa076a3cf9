#include "operations/status_report.h"
#include "registry/definitions.h"

#include "core/catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using core::Lines;

const std::string heading = "---- Status ----------------------------------";
const std::string closing = "----------------------------------------------";

// Fields 0 to 27 of a successful answer, as a module sends them.
std::vector<std::string> statusFields() {
    return {"000123",
            "10000",
            "Resposta com Sucesso.",
            "",
            "",
            "900004019",
            "DHCP",
            "010.000.000.108",
            "00:0C:29:4F:8A:11",
            "255.255.255.000",
            "010.000.000.001",
            "008.008.008.008",
            "008.008.004.004",
            "CONECTADO",
            "ALTO",
            "4 GB",
            "260 MB",
            "20240315143005",
            "01.00.00",
            "00.07",
            "CFe35240361099008000141599000040190000011234",
            "",
            "",
            "20240315140000",
            "20240315143000",
            "20230101",
            "20280101",
            "0"};
}

std::string join(const std::vector<std::string>& fields) {
    std::string answer;
    for (std::size_t i = 0; i < fields.size(); ++i)
        answer += (i ? "|" : "") + fields[i];
    return answer;
}

// The report of the answer above, with field 27 showing `state`.
Lines fullReport(const std::string& state) {
    return {"",
            heading,
            " NSERIE ........... 900004019",
            " TIPO_LAN ......... DHCP",
            " LAN_IP ........... 010.000.000.108",
            " LAN_MAC .......... 00:0C:29:4F:8A:11",
            " LAN_MASK ......... 255.255.255.000",
            " LAN_GW ........... 010.000.000.001",
            " LAN_DNS_1 ........ 008.008.008.008",
            " LAN_DNS_2 ........ 008.008.004.004",
            " STATUS_LAN ....... CONECTADO",
            " NIVEL_BATERIA .... ALTO",
            " MT_TOTAL ......... 4 GB",
            " MT_USADA ......... 260 MB",
            " DH_ATUAL ......... 20240315143005",
            " VER_SB ........... 01.00.00",
            " VER_LAYOUT ....... 00.07",
            " ULTIMO_CF-E-SAT .. CFe35240361099008000141599000040190000011234",
            " LISTA_INICIAL .... ",
            " LISTA_FINAL ...... ",
            " DH_CFe ........... 20240315140000",
            " DH_ULTIMA ........ 20240315143000",
            " CERT_EMISSAO ..... 20230101",
            " CERT_VENCIMENTO .. 20280101",
            " ESTADO_OPERACAO .. " + state,
            closing};
}

TEST(StatusReport, FullAnswerNamesEveryField) {
    auto fields = statusFields();
    EXPECT_EQ(operations::statusReport(join(fields)), fullReport("DESBLOQUEADO"));
    fields[27] = "4";
    EXPECT_EQ(operations::statusReport(join(fields)), fullReport("BLOQUEIO PARA DESATIVACAO"));
    // A final bar opens no field; a line break before it ends field 27 all the same.
    EXPECT_EQ(operations::statusReport(join(fields) + "|"),
              fullReport("BLOQUEIO PARA DESATIVACAO"));
    EXPECT_EQ(operations::statusReport(join(fields) + "\r\n"),
              fullReport("BLOQUEIO PARA DESATIVACAO"));
}

TEST(StatusReport, StateCodes) {
    struct Case {
        std::string field, shown;
    };
    const Case cases[] = {
        {"1", "BLOQUEIO SEFAZ"},         {"2", "BLOQUEIO CONTRIBUINTE"},
        {"3", "BLOQUEIO AUTONOMO"},      {"5", "5 (desconhecido)"},
        {"-1", "-1 (desconhecido)"},     {"10", "10 (desconhecido)"},
        {" 2", "BLOQUEIO CONTRIBUINTE"},
    };
    for (const auto& c : cases) {
        auto fields = statusFields();
        fields[27] = c.field;
        EXPECT_EQ(operations::statusReport(join(fields)), fullReport(c.shown)) << c.field;
    }
}

TEST(StatusReport, StateThatIsNoNumberEndsTheReportAfterField26) {
    for (const char* state : {"A", " ", "0x1", "99999999999"}) {
        auto fields = statusFields();
        fields[27] = state;
        Lines expected = fullReport("");
        expected.resize(expected.size() - 2); // no state line, no closing line
        EXPECT_EQ(operations::statusReport(join(fields)), expected) << state;
    }
}

TEST(StatusReport, NoSectionUnlessTheCodeIsTheSuccessCode) {
    auto fields = statusFields();
    fields[0] = ""; // the code cut drops the empty field: its second piece is the message
    EXPECT_EQ(operations::statusReport(join(fields)), Lines{});
    fields = statusFields();
    fields[1] = "10001";
    EXPECT_EQ(operations::statusReport(join(fields)), Lines{});
    EXPECT_EQ(operations::statusReport("000123|10099|Erro desconhecido||"), Lines{});
    EXPECT_EQ(operations::statusReport("10000"), Lines{});
    EXPECT_EQ(operations::statusReport(""), Lines{});
}

TEST(StatusReport, ShortAndLongAnswers) {
    EXPECT_EQ(operations::statusReport("000123|10000|Resposta com sucesso||"),
              (Lines{"", heading, closing}));
    EXPECT_EQ(operations::statusReport("000123|10000|ok|||DHCP"),
              (Lines{"", heading, " NSERIE ........... DHCP", closing}));

    // An answer without its last field (as an older emulator sends it) still closes the section.
    auto shortFields = statusFields();
    shortFields.pop_back();
    Lines withoutState = fullReport("");
    withoutState.erase(withoutState.end() - 2);
    EXPECT_EQ(operations::statusReport(join(shortFields)), withoutState);

    // Fields after the last known one keep the layout under a numbered key.
    auto fields = statusFields();
    fields.push_back("");
    fields.push_back("extra");
    Lines expected = fullReport("DESBLOQUEADO");
    expected.insert(expected.end() - 1, {" CAMPO_28 ......... ", " CAMPO_29 ......... extra"});
    EXPECT_EQ(operations::statusReport(join(fields)), expected);
}

TEST(StatusReport, ValuesAreDecodedAsUtf8) {
    auto fields = statusFields();
    fields[13] = "Conexão ativa";
    fields[14] = "M\xC9"
                 "DIO"; // a Windows-1252 byte, not UTF-8
    const Lines report = operations::statusReport(join(fields));
    ASSERT_EQ(report.size(), 26u);
    EXPECT_EQ(report[10], " STATUS_LAN ....... Conexão ativa");
    EXPECT_EQ(report[11], " NIVEL_BATERIA .... M\xEF\xBF\xBD"
                          "DIO");
}

core::OperationLogic statusLogic(int page, std::string codigo) {
    core::Inputs inputs;
    inputs.set("codigo", std::move(codigo));
    const auto* definition = registry::definitionOf(*core::operationByPage(page));
    return definition->bind(definition->operation, inputs, {});
}

TEST(StatusCall, CallTextAndArgumentsCarryTheTrimmedCode) {
    EXPECT_EQ(statusLogic(5, "  abc 1234\t").prepare("000815").text,
              "ConsultarStatusOperacional(000815,abc 1234)");
    EXPECT_EQ(statusLogic(15, "  abc 1234\t").prepare("000815").text,
              "ConsultarStatusOperacionalMFE(000815,abc 1234)");

    const core::Arguments arguments = statusLogic(5, "  abc 1234\t").prepare("000815").arguments;
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_EQ(arguments[0].kind, core::Argument::Kind::Int);
    EXPECT_EQ(arguments[0].number, 815);
    EXPECT_EQ(arguments[0].shown, "000815");
    EXPECT_EQ(arguments[1].kind, core::Argument::Kind::Text);
    EXPECT_EQ(arguments[1].text, "abc 1234");
    EXPECT_EQ(arguments[1].shown, "abc 1234");
}

TEST(StatusCall, AnalysisChecksTheCodeAsTyped) {
    EXPECT_EQ(statusLogic(5, "").analyse(),
              (Lines{"Código de ativação não pode ser nulo",
                     "Código de ativação deve ter entre 8 e 32 caracteres"}));
    EXPECT_EQ(statusLogic(15, "  1234567").analyse(), Lines{}); // 9 as typed, 7 once trimmed
}

} // namespace
