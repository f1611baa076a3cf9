#pragma once
// The table of sale shapes: each row changes the two-item test sale in one respect and says
// which content rejection (CCCC) a module answers, 0 when it issues the CF-e. The rules test
// checks the codes; the property test checks that every accepted shape yields a CF-e the
// published schema accepts.

#include "sale_documents.h"
#include "tests/support/answer_text.h"

#include <string>
#include <utility>
#include <vector>

namespace emulator_test {

struct SaleShape {
    const char* name;
    std::vector<std::pair<std::string, std::string>> changes; // first occurrences replaced
    int code;

    std::string document() const {
        std::string text = saleDocument(2);
        for (const auto& [from, to] : changes)
            text = test_support::replacedFirst(text, from, to);
        return text;
    }
};

inline const std::string firstIcms =
    "<ICMS00><Orig>0</Orig><CST>00</CST><pICMS>18.00</pICMS></ICMS00>";
inline const std::string firstPis =
    "<PISAliq><CST>01</CST><vBC>20.61</vBC><pPIS>0.0165</pPIS></PISAliq>";
inline const std::string firstCofins =
    "<COFINSAliq><CST>01</CST><vBC>20.61</vBC><pCOFINS>0.0760</pCOFINS></COFINSAliq>";
inline const std::string payment = "<pgto><MP><cMP>01</cMP><vMP>100000.00</vMP></MP></pgto>";
inline const std::string delivery = "<entrega><xLgr>Rua A</xLgr><nro>1</nro><xBairro>Centro"
                                    "</xBairro><xMun>Fortaleza</xMun><UF>CE</UF></entrega>";
inline const std::string serviceItem =
    "<det nItem=\"3\"><prod><cProd>S</cProd><xProd>Servico</xProd><CFOP>5933</CFOP>"
    "<uCom>H</uCom><qCom>1.0000</qCom><vUnCom>21.00</vUnCom><indRegra>A</indRegra></prod>"
    "<imposto><ISSQN><vDeducISSQN>1.00</vDeducISSQN><vAliq>005.00</vAliq><cMunFG>2304400</cMunFG>"
    "<cServTribMun>12345678901234567890</cServTribMun><cNatOp>01</cNatOp>"
    "<indIncFisc>2</indIncFisc></ISSQN><PIS><PISNT><CST>04</CST></PISNT></PIS><COFINS>"
    "<COFINSNT><CST>04</CST></COFINSNT></COFINS></imposto></det>";

// Shapes a module issues. prod/CEST is accepted too but stays out of this table: the published
// schemas predate it, so an issued CF-e that carries it cannot pass them.
inline const std::vector<SaleShape>& acceptedShapes() {
    static const std::vector<SaleShape> shapes{
        {"as sent", {}, 0},
        {"layout 0.06", {{"versaoDadosEnt=\"0.07\"", "versaoDadosEnt=\"0.06\""}}, 0},
        {"layout 0.08", {{"versaoDadosEnt=\"0.07\"", "versaoDadosEnt=\"0.08\""}}, 0},
        {"customer CNPJ", {{"<CPF>52998224725</CPF>", "<CNPJ>11222333000181</CNPJ>"}}, 0},
        {"no customer", {{"<CPF>52998224725</CPF>", ""}}, 0},
        {"customer name", {{"</CPF>", "</CPF><xNome>Fulano de Tal</xNome>"}}, 0},
        {"blank customer name", {{"</CPF>", "</CPF><xNome> </xNome>"}}, 0},
        {"delivery address", {{"</dest>", "</dest>" + delivery}}, 0},
        {"no GTIN", {{"<cEAN>7891000315507</cEAN>", ""}}, 0},
        {"SEM GTIN", {{"<cEAN>7891000315507", "<cEAN>SEM GTIN"}}, 0},
        {"two-digit NCM", {{"<NCM>22021000", "<NCM>22"}}, 0},
        {"truncated with other costs",
         {{"<indRegra>A</indRegra><vDesc>0.50</vDesc>",
           "<indRegra>T</indRegra><vOutro>1.25</vOutro>"}},
         0},
        {"fiscal note",
         {{"</vDesc></prod>",
           "</vDesc><obsFiscoDet xCampoDet=\"Cod\"><xTextoDet>Texto</xTextoDet></obsFiscoDet>"
           "</prod>"}},
         0},
        {"ICMS40", {{firstIcms, "<ICMS40><Orig>1</Orig><CST>40</CST></ICMS40>"}}, 0},
        {"ICMSSN102", {{firstIcms, "<ICMSSN102><Orig>0</Orig><CSOSN>102</CSOSN></ICMSSN102>"}}, 0},
        {"ICMSSN900",
         {{firstIcms,
           "<ICMSSN900><Orig>2</Orig><CSOSN>900</CSOSN><pICMS>1.25</pICMS></ICMSSN900>"}},
         0},
        {"PIS by quantity",
         {{firstPis, "<PISQtde><CST>03</CST><qBCProd>2.0000</qBCProd><vAliqProd>0.1500</vAliqProd>"
                     "</PISQtde>"}},
         0},
        {"PIS untaxed", {{firstPis, "<PISNT><CST>07</CST></PISNT>"}}, 0},
        {"PIS Simples Nacional", {{firstPis, "<PISSN><CST>49</CST></PISSN>"}}, 0},
        {"PIS other with ST",
         {{firstPis + "</PIS>", "<PISOutr><CST>99</CST><vBC>20.61</vBC><pPIS>0.0165</pPIS>"
                                "</PISOutr></PIS><PISST><qBCProd>2.0000</qBCProd>"
                                "<vAliqProd>0.0100</vAliqProd></PISST>"}},
         0},
        {"COFINS by quantity with ST",
         {{firstCofins + "</COFINS>",
           "<COFINSQtde><CST>03</CST><qBCProd>2.0000</qBCProd><vAliqProd>0.2000</vAliqProd>"
           "</COFINSQtde></COFINS><COFINSST><vBC>20.61</vBC><pCOFINS>0.0300</pCOFINS>"
           "</COFINSST>"}},
         0},
        {"COFINS other by quantity",
         {{firstCofins, "<COFINSOutr><CST>99</CST><qBCProd>1.0000</qBCProd>"
                        "<vAliqProd>0.3000</vAliqProd></COFINSOutr>"}},
         0},
        {"service item",
         {{"<indRatISSQN>", "<IM>123456</IM><cRegTribISSQN>3</cRegTribISSQN><indRatISSQN>"},
          {"<total>", serviceItem + "<total>"}},
         0},
        {"item note", {{"</imposto></det>", "</imposto><infAdProd>Lote 7</infAdProd></det>"}}, 0},
        {"subtotal discount",
         {{"<total>", "<total><DescAcrEntr><vDescSubtot>1.00</vDescSubtot></DescAcrEntr>"}},
         0},
        {"subtotal addition",
         {{"<total>", "<total><DescAcrEntr><vAcresSubtot>0.99</vAcresSubtot></DescAcrEntr>"}},
         0},
        {"no approximate taxes", {{"<vCFeLei12741>2.00</vCFeLei12741>", ""}}, 0},
        {"card and cash",
         {{payment, "<pgto><MP><cMP>03</cMP><vMP>10.00</vMP><cAdmC>001</cAdmC></MP><MP><cMP>01"
                    "</cMP><vMP>40.00</vMP></MP></pgto>"}},
         0},
        {"no additional information", {{"<infAdic><infCpl>Obrigado</infCpl></infAdic>", ""}}, 0},
    };
    return shapes;
}

// Shapes a module refuses, each with the code of the rule it breaks.
inline const std::vector<SaleShape>& refusedShapes() {
    static const std::vector<SaleShape> shapes{
        {"layout version", {{"versaoDadosEnt=\"0.07\"", "versaoDadosEnt=\"0.05\""}}, 1004},
        {"item numbering", {{"nItem=\"2\"", "nItem=\"3\""}}, 1019},
        {"software house CNPJ", {{"<CNPJ>16716114000172", "<CNPJ>16716114000173"}}, 1224},
        {"issuer CNPJ", {{"<CNPJ>12345678000195", "<CNPJ>12345678000196"}}, 1207},
        {"issuer IE missing", {{"<IE>111111111111</IE>", "<IE> </IE>"}}, 1229},
        {"issuer IE", {{"<IE>111111111111</IE>", "<IE>ISENTO</IE>"}}, 1209},
        {"issuer IE of 2 digits", {{"<IE>111111111111</IE>", "<IE>11</IE>"}}, 1209},
        {"issuer IE of 11 digits", {{"<IE>111111111111</IE>", "<IE>11111111111</IE>"}}, 1209},
        {"issuer IE of 13 digits", {{"<IE>111111111111</IE>", "<IE>1111111111111</IE>"}}, 1209},
        {"issuer IE of 14 digits", {{"<IE>111111111111</IE>", "<IE>11111111111111</IE>"}}, 1209},
        {"element before the IE", {{"<IE>", "<foo/><IE>"}}, 1999},
        {"IM before the IE",
         {{"<IE>111111111111</IE>", "<IM>123</IM><IE>111111111111</IE>"}},
         1999},
        {"customer CPF", {{"<CPF>52998224725", "<CPF>52998224726"}}, 1237},
        {"customer CNPJ", {{"<CPF>52998224725</CPF>", "<CNPJ>11222333000182</CNPJ>"}}, 1235},
        {"customer name of one letter", {{"</CPF>", "</CPF><xNome>A</xNome>"}}, 1999},
        {"delivery UF",
         {{"</dest>", "</dest><entrega><xLgr>Rua A</xLgr><nro>1</nro><xBairro>Centro</xBairro>"
                      "<xMun>Fortaleza</xMun><UF>C</UF></entrega>"}},
         1999},
        {"product code", {{"<cProd>2</cProd>", "<cProd> </cProd>"}}, 1459},
        {"GTIN", {{"<cEAN>7891000315507", "<cEAN>7891000315508"}}, 1460},
        {"description", {{"<xProd>Produto de teste 2</xProd>", ""}}, 1461},
        {"CFOP of an entry", {{"<CFOP>5102", "<CFOP>1102"}}, 1462},
        {"quantity", {{"<qCom>2.0000", "<qCom>0.0000"}}, 1464},
        {"unit price", {{"<vUnCom>10.555", "<vUnCom>10.5"}}, 1465},
        {"rounding rule", {{"<indRegra>A", "<indRegra>X"}}, 1467},
        {"discount beyond the price", {{"<vDesc>0.50", "<vDesc>50.00"}}, 1468},
        {"goods origin", {{"<Orig>0", "<Orig>5"}}, 1471},
        {"ICMS CST", {{"<CST>00", "<CST>10"}}, 1472},
        {"PIS CST",
         {{"<CST>01</CST><vBC>20.61</vBC><pPIS>", "<CST>03</CST><vBC>20.61</vBC><pPIS>"}},
         1478},
        {"COFINS rate", {{"<pCOFINS>0.0760", "<pCOFINS>-0.0760"}}, 1492},
        {"payment method", {{"<cMP>01", "<cMP>07"}}, 1527},
        {"payment value", {{"<vMP>100000.00", "<vMP>1e5"}}, 1528},
        {"payment short of the total", {{"<vMP>100000.00", "<vMP>10.00"}}, 1408},
        {"subtotal discount beyond the total",
         {{"<total>", "<total><DescAcrEntr><vDescSubtot>99.00</vDescSubtot></DescAcrEntr>"}},
         1998},
        {"ISSQN rate without three integer digits",
         {{"<indRatISSQN>", "<IM>123456</IM><cRegTribISSQN>3</cRegTribISSQN><indRatISSQN>"},
          {"<total>",
           test_support::replacedFirst(serviceItem, "<vAliq>005.00", "<vAliq>5.00") + "<total>"}},
         1505},
        {"unknown element",
         {{"<numeroCaixa>001</numeroCaixa>", "<numeroCaixa>001</numeroCaixa><cUF>35</cUF>"}},
         1999},
        {"missing group", {{payment, ""}}, 1999},
    };
    return shapes;
}

} // namespace emulator_test
