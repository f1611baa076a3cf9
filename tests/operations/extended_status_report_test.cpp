#include "operations/extended_status_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <stdexcept>
#include <string>

namespace {

using core::Lines;

const std::string heading = "---- Status ----------------------------------";

// Test doubles for the two XML helpers. The escape remover drops every backslash; the layout puts
// each element on a line of its own, ends lines with CRLF, and refuses what does not start with
// "<" or still holds a backslash, so a configuration laid out before its escapes are removed fails.
std::string dropBackslashes(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\\')
            out += c;
    return out;
}

std::string onePerLine(std::string_view text) {
    if (text.empty() || text.front() != '<' || text.find('\\') != std::string_view::npos)
        throw std::runtime_error("not well-formed");
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '>' && i + 1 < text.size() && text[i + 1] == '<')
            out += "\r\n  ";
    }
    return out + "\r\n";
}

const operations::NetworkXmlLayout xml{dropBackslashes, onePerLine};

// A field every rule shows as a plain line.
std::string filler(int field) {
    return field >= 33 && field <= 36 ? "NA" : "0";
}

// An answer closing fields 0 to `last`, each with its filler unless `fields` gives it.
std::string answer(int last, const std::map<int, std::string>& fields = {}) {
    std::string text;
    for (int n = 0; n <= last; ++n) {
        const auto given = fields.find(n);
        text += n == 1 ? "10000" : given != fields.end() ? given->second : filler(n);
        text += '|';
    }
    return text;
}

// The lines that field n with this value adds to the report.
Lines linesOf(int n, const std::string& value) {
    const Lines before = operations::extendedStatusReport(answer(n - 1), xml);
    const Lines after = operations::extendedStatusReport(answer(n, {{n, value}}), xml);
    if (after.size() < before.size() || !std::equal(before.begin(), before.end(), after.begin()))
        return {"<report changed before field " + std::to_string(n) + ">"};
    return Lines(after.begin() + static_cast<std::ptrdiff_t>(before.size()), after.end());
}

TEST(ExtendedStatusReport, ValueRules) {
    struct Case {
        int field;
        std::string value;
        Lines lines;
    };
    const Case cases[] = {
        // Dates and times: day/month/year - hour:minute:second, empty pieces where short.
        {17, "20240315143005", {" Horário Atual .............. 15/03/2024 - 14:30:05"}},
        {17, "", {" Horário Atual .............. // - ::"}},
        {23, "20231231235959", {" Horário do última transm. .. 31/12/2023 - 23:59:59"}},
        {24, "20240101080000", {" Horário da ùltima comunic. . 01/01/2024 - 08:00:00"}},
        {49, "2024031514", {" Horário da leitura via GPS . 15/03/2024 - 14::"}},
        {52, "20240315143005", {" Horário da leitura via LBS . 15/03/2024 - 14:30:05"}},
        {43, "", {" Horário da Violação ........ 00/00/0000 - 00:00:00"}},
        {43, "20240102030405", {" Horário da Violação ........ 02/01/2024 - 03:04:05"}},
        {44, "00000000000000", {}},
        {44, "", {}},
        {44, "20240102030405", {" Horário do Impacto ......... 02/01/2024 - 03:04:05"}},
        {25, "20230101", {" Data de emissão do Cert. ... 01/01/2023"}},
        {26, "2028", {" Data do vecto do Cert. ..... //2028"}},
        // Operation state, "10" first.
        {27, "10", {" Estado ..................... VIOLADO"}},
        {27, "0", {" Estado ..................... DESBLOQUEADO"}},
        {27, "3", {" Estado ..................... BLOQUEIO AUTONOMO"}},
        {27, "7", {" Estado ..................... 7 (desconhecido)"}},
        {28, "1", {" Ambiente ................... PRODUÇÃO"}},
        {28, "2", {" Ambiente ................... TESTES"}},
        {28, "3", {" Ambiente ................... 3"}},
        {29, "23", {" UF ......................... CE (23)"}},
        {29, "35", {" UF ......................... SP (35)"}},
        {29, "53", {" UF ......................... DF (53)"}},
        {29, "20", {" UF ......................... 00 (20)"}},
        {29, " 11 ", {" UF ......................... RO (11)"}},
        {29, "54", {" UF ......................... 54 (desconhecido)"}},
        {29, "-1", {" UF ......................... -1 (desconhecido)"}},
        {30, "0", {" Nível da Bateria Externa ... REMOVIDA - FALHA"}},
        {30, "1", {" Nível da Bateria Externa ... BAIXO"}},
        {30, "2", {" Nível da Bateria Externa ... MÉDIO"}},
        {30, "3", {" Nível da Bateria Externa ... ALTO"}},
        {30, "4", {" Nível da Bateria Externa ... 4"}},
        {31, "0", {" Alimentação ................ ERRO NA LEITURA DA FONTE DE ALIMENTAÇÃO"}},
        {31, "1", {" Alimentação ................ FONTE EXTERNA"}},
        {31, "2", {" Alimentação ................ BATERIA"}},
        {31, "3", {" Alimentação ................ USB"}},
        {31, "01", {" Alimentação ................ 01"}},
        {32, "ETHE", {" Canal de Comunic. em uso ... ETHERNET"}},
        {32, "WIFI", {" Canal de Comunic. em uso ... WIFI"}},
        {32, "ethe", {" Canal de Comunic. em uso ... ethe"}},
        // Network configurations: escapes removed, laid out, one blank line between.
        {33, "NA", {}},
        {34,
         R"(<config><ip tipo=\"DHCP\">10.0.0.5</ip></config>)",
         {" Configuração da rede 2 ..... ", " ", "<config>", R"(  <ip tipo="DHCP">10.0.0.5</ip>)",
          "  </config>"}},
        {40, "", {" Assinante do SIMCARD 1 ..... "}},
        {41, "", {}},
        {41, "8955", {" Identificação do SIMCARD 2 . 8955"}},
        {42, "", {}},
        {45, "00:00:00:00:00:00", {" MAC da interface ETHERNET .. 00:00:00:00:00:00"}},
        {46, "00:00:00:00:00:00", {}},
        {46, "00:1A:2B:3C:4D:5E", {" MAC da interface WIFI ...... 00:1A:2B:3C:4D:5E"}},
        // Plain values, decoded as UTF-8.
        {5, "900004019", {" Número de Série ............ 900004019"}},
        {37, "Operadora São Paulo", {" Operadora do Celular ....... Operadora São Paulo"}},
        {38, "4G\xC9", {" Tecnologia da rede Celular . 4G\xEF\xBF\xBD"}},
        {57, "3", {" Cupons pendentes de envio .. 3"}},
        {58, "x", {" CAMPO_58 ................... x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linesOf(c.field, c.value), c.lines) << c.field << " = " << c.value;
}

TEST(ExtendedStatusReport, OnlyFieldsClosedByABarAreWritten) {
    const Lines closed = operations::extendedStatusReport(answer(57), xml);
    ASSERT_EQ(closed.size(), 2u + 53 - 4); // fields 33 to 36 hold "NA"
    EXPECT_EQ(closed.front(), "");
    EXPECT_EQ(closed[1], heading);
    EXPECT_EQ(closed.back(), " Cupons pendentes de envio .. 0");

    std::string open = answer(57);
    open.pop_back();
    Lines withoutLast = closed;
    withoutLast.pop_back();
    EXPECT_EQ(operations::extendedStatusReport(open, xml), withoutLast);

    EXPECT_EQ(operations::extendedStatusReport("000123|10000|ok||", xml), (Lines{"", heading}));
}

TEST(ExtendedStatusReport, ALineBreakDoesNotEndAField) {
    const Lines report =
        operations::extendedStatusReport(answer(57, {{56, "rede1\r\nrede2\nrede3"}}), xml);
    const Lines tail(report.end() - 4, report.end());
    EXPECT_EQ(tail, (Lines{" Redes WIFI disponíveis ..... rede1", "rede2", "rede3",
                           " Cupons pendentes de envio .. 0"}));
}

TEST(ExtendedStatusReport, AFieldThatCannotBeShownEndsTheReport) {
    struct Case {
        int field;
        std::string value;
        Lines lastLines; // the report's last lines: those of the failing field, if any
    };
    const Case cases[] = {
        {27, "A", {" Data do vecto do Cert. ..... //0"}},
        {27, "", {" Data do vecto do Cert. ..... //0"}},
        {29, "SP", {" Ambiente ................... 0"}},
        {35, "b</a>", {" Configuração da rede 3 ..... ", " "}}, // refused by the layout
        {36, "texto", {" Configuração da rede 4 ..... ", " "}},
    };
    for (const auto& c : cases) {
        const Lines report =
            operations::extendedStatusReport(answer(57, {{c.field, c.value}}), xml);
        ASSERT_GE(report.size(), c.lastLines.size()) << c.field;
        const Lines tail(report.end() - static_cast<std::ptrdiff_t>(c.lastLines.size()),
                         report.end());
        EXPECT_EQ(tail, c.lastLines) << c.field << " = " << c.value;
    }
}

TEST(ExtendedStatusReport, NoSectionUnlessTheCodeIsTheSuccessCode) {
    std::string firstEmpty = answer(57);
    firstEmpty.replace(0, 1, ""); // "|10000|..." : the code cut's second piece is field 2
    EXPECT_EQ(operations::extendedStatusReport(firstEmpty, xml), Lines{});
    EXPECT_EQ(operations::extendedStatusReport("000123|10001|Código inválido||", xml), Lines{});
    EXPECT_EQ(operations::extendedStatusReport("000123", xml), Lines{});
}

} // namespace
