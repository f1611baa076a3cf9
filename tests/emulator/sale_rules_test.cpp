// The content checks and the computed values of a sale, at the level of the module's logic:
// each table row breaks one rule of a valid sale and expects the CCCC code of the tax
// authority's table; the value cases check what the issued CF-e says.

#include "emulator/module_cfe.h"
#include "emulator/module_rejections.h"
#include "emulator/module_sale.h"
#include "emulator/module_xml.h"
#include "sale_documents.h"
#include "tests/support/published_files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libxml/xpath.h>

#include <fstream>
#include <regex>
#include <sstream>

namespace emulator {
namespace {

using emulator_test::saleDocument;

std::variant<Sale, Rejection> read(const std::string& document, XmlDoc& doc) {
    ParsedXml parsed = parseUntrusted(document, 2'000'000);
    if (!parsed.doc)
        return Rejection{-1, 0, parsed.error};
    doc = std::move(parsed.doc);
    return readSale(doc.get());
}

int rejectionCode(const std::string& document) {
    XmlDoc doc;
    const auto result = read(document, doc);
    return std::holds_alternative<Rejection>(result) ? std::get<Rejection>(result).code : 0;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct BrokenRule {
    const char* rule;
    const char* from;
    const char* to;
    int code;
};

class SaleRejection : public ::testing::TestWithParam<BrokenRule> {};

TEST_P(SaleRejection, NamesTheBrokenRule) {
    const BrokenRule& c = GetParam();
    EXPECT_EQ(rejectionCode(replaced(saleDocument(2), c.from, c.to)), c.code) << c.rule;
    EXPECT_NE(rejectionText(c.code), "") << c.code;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaleRejection,
    ::testing::Values(
        BrokenRule{"layout version", "versaoDadosEnt=\"0.07\"", "versaoDadosEnt=\"0.05\"", 1004},
        BrokenRule{"item numbering", "nItem=\"2\"", "nItem=\"3\"", 1019},
        BrokenRule{"software house CNPJ", "<CNPJ>16716114000172", "<CNPJ>16716114000173", 1224},
        BrokenRule{"issuer CNPJ", "<CNPJ>12345678000195", "<CNPJ>12345678000196", 1207},
        BrokenRule{"issuer IE missing", "<IE>111111111111</IE>", "<IE> </IE>", 1229},
        BrokenRule{"issuer IE", "<IE>111111111111</IE>", "<IE>ISENTO</IE>", 1209},
        BrokenRule{"customer CPF", "<CPF>52998224725", "<CPF>52998224726", 1237},
        BrokenRule{"customer CNPJ", "<CPF>52998224725</CPF>", "<CNPJ>11222333000182</CNPJ>", 1235},
        BrokenRule{"customer name of one letter", "</CPF>", "</CPF><xNome>A</xNome>", 1999},
        BrokenRule{"delivery UF", "</dest>",
                   "</dest><entrega><xLgr>Rua A</xLgr><nro>1</nro><xBairro>Centro</xBairro>"
                   "<xMun>Fortaleza</xMun><UF>C</UF></entrega>",
                   1999},
        BrokenRule{"product code", "<cProd>2</cProd>", "<cProd> </cProd>", 1459},
        BrokenRule{"GTIN", "<cEAN>7891000315507", "<cEAN>7891000315508", 1460},
        BrokenRule{"description", "<xProd>Produto de teste 2</xProd>", "", 1461},
        BrokenRule{"CFOP of an entry", "<CFOP>5102", "<CFOP>1102", 1462},
        BrokenRule{"quantity", "<qCom>2.0000", "<qCom>0.0000", 1464},
        BrokenRule{"unit price", "<vUnCom>10.555", "<vUnCom>10.5", 1465},
        BrokenRule{"rounding rule", "<indRegra>A", "<indRegra>X", 1467},
        BrokenRule{"discount beyond the price", "<vDesc>0.50", "<vDesc>50.00", 1468},
        BrokenRule{"goods origin", "<Orig>0", "<Orig>5", 1471},
        BrokenRule{"ICMS CST", "<CST>00", "<CST>10", 1472},
        BrokenRule{"PIS CST", "<CST>01</CST><vBC>20.61</vBC><pPIS>",
                   "<CST>03</CST><vBC>20.61</vBC><pPIS>", 1478},
        BrokenRule{"COFINS rate", "<pCOFINS>0.0760", "<pCOFINS>-0.0760", 1492},
        BrokenRule{"payment method", "<cMP>01", "<cMP>07", 1527},
        BrokenRule{"payment value", "<vMP>100000.00", "<vMP>1e5", 1528},
        BrokenRule{"payment short of the total", "<vMP>100000.00", "<vMP>10.00", 1408},
        BrokenRule{"subtotal discount beyond the total", "<total>",
                   "<total><DescAcrEntr><vDescSubtot>99.00</vDescSubtot></DescAcrEntr>", 1998},
        BrokenRule{"unknown element", "<numeroCaixa>001</numeroCaixa>",
                   "<numeroCaixa>001</numeroCaixa><cUF>35</cUF>", 1999},
        BrokenRule{"missing group", "<pgto><MP><cMP>01</cMP><vMP>100000.00</vMP></MP></pgto>", "",
                   1999}),
    [](const auto& tested) {
        std::string name = tested.param.rule;
        for (char& c : name)
            c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
        return name;
    });

TEST(SaleRejectionText, QuotesTheTaxAuthorityTableAndSaysWhatIsWrong) {
    const std::string published =
        std::string(TARVIK_PUBLISHED_TABLES_DIR) + "/tabela_erros_alertas_v0.08.xml";
    SKIP_WITHOUT_PUBLISHED_FILE(published, "-DTARVIK_TABLES_SOURCE");
    std::ifstream in(published);
    std::stringstream table;
    table << in.rdbuf();
    const std::string text = table.str();
    const std::regex entry("<cod([0-9]+)>([^<]*)</cod[0-9]+>");
    int known = 0;
    for (std::sregex_iterator it(text.begin(), text.end(), entry), end; it != end; ++it) {
        const int code = std::stoi((*it)[1]);
        if (const std::string ours = rejectionText(code); !ours.empty()) {
            EXPECT_EQ(ours, (*it)[2].str()) << code;
            ++known;
        }
    }
    EXPECT_GT(known, 50);
    EXPECT_EQ(rejectionText(1464, 3), "Rejeição: Quantidade Comercial do item (3) inválido.");

    XmlDoc doc;
    const auto result = read(
        replaced(saleDocument(2), "<pgto><MP><cMP>01</cMP><vMP>100000.00</vMP></MP></pgto>", ""),
        doc);
    EXPECT_EQ(std::get<Rejection>(result).detail, "Elemento pgto ausente em infCFe");
}

TEST(SaleLengths, CountCharactersNotBytes) {
    // "ç" and "ã" take two bytes each in UTF-8: a text of the greatest length in characters is
    // longer than that in bytes, and one more character is too long.
    std::string longest;
    for (int i = 0; i < 60; ++i)
        longest += i % 2 ? "ç" : "ã";
    for (const auto& [from, to, code] :
         {std::tuple{"<xProd>Produto de teste 2</xProd>",
                     "<xProd>" + longest + longest + "</xProd>", 0},
          std::tuple{"<xProd>Produto de teste 2</xProd>",
                     "<xProd>" + longest + longest + "ç</xProd>", 1461},
          std::tuple{"</CPF>", "</CPF><xNome>" + longest + "</xNome>", 0}})
        EXPECT_EQ(rejectionCode(replaced(saleDocument(2), from, to)), code) << to;
}

TEST(SaleAlert, BlankCustomerNameIsAcceptedWithTheAlert) {
    XmlDoc doc;
    const auto result = read(replaced(saleDocument(1), "</CPF>", "</CPF><xNome>  </xNome>"), doc);
    ASSERT_TRUE(std::holds_alternative<Sale>(result));
    EXPECT_EQ(std::get<Sale>(result).alert, 1234);
}

TEST(SaleValues, SubtotalAdjustmentsAreSharedWholeAmongManySmallItems) {
    // A hundred items of 0.50 (1.00 less 0.50 of discount): half a cent of each adjustment per
    // item, which rounded on its own would give every item a cent and the last one less than
    // nothing.
    const std::string items = std::regex_replace(
        saleDocument(100), std::regex("<qCom>2.0000</qCom><vUnCom>10.555</vUnCom>"),
        "<qCom>1.0000</qCom><vUnCom>1.00</vUnCom>");
    for (const char* adjustment : {"vDescSubtot", "vAcresSubtot"}) {
        const std::string name(adjustment);
        XmlDoc doc;
        const auto result =
            read(replaced(items, "<total>",
                          "<total><DescAcrEntr><" + name + ">0.50</" + name + "></DescAcrEntr>"),
                 doc);
        ASSERT_TRUE(std::holds_alternative<Sale>(result))
            << name << " " << std::get<Rejection>(result).code;
        const Sale& sale = std::get<Sale>(result);
        std::int64_t shared = 0;
        for (const SaleItem& item : sale.items) {
            const std::int64_t share =
                name == "vDescSubtot" ? item.subtotalDiscount : item.subtotalAddition;
            EXPECT_TRUE(share == 0 || share == 1) << name << " item " << item.number;
            shared += share;
        }
        EXPECT_EQ(shared, 50) << name;
        EXPECT_EQ(sale.totals.total, name == "vDescSubtot" ? 4950 : 5050) << name;
    }
}

// The text of the first node an XPath expression finds in the issued document.
std::string issued(xmlDoc* doc, const char* expression) {
    xmlXPathContext* context = xmlXPathNewContext(doc);
    xmlXPathObject* found = xmlXPathEvalExpression(BAD_CAST expression, context);
    std::string text = "<none>";
    if (found && found->nodesetval && found->nodesetval->nodeNr > 0) {
        xmlChar* content = xmlNodeGetContent(found->nodesetval->nodeTab[0]);
        text = reinterpret_cast<const char*>(content);
        xmlFree(content);
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(context);
    return text;
}

const std::string valuesSale = R"(<CFe><infCFe versaoDadosEnt="0.08">
<ide><CNPJ>16716114000172</CNPJ><signAC>ABC</signAC><numeroCaixa>002</numeroCaixa></ide>
<emit><CNPJ>12345678000195</CNPJ><IE>111111111111</IE><IM>123456</IM><indRatISSQN>N</indRatISSQN></emit>
<dest/>
<det nItem="1"><prod><cProd>A</cProd><xProd>Arredondado</xProd><CFOP>5102</CFOP><uCom>UN</uCom>
<qCom>3.0000</qCom><vUnCom>1.333</vUnCom><indRegra>A</indRegra><vDesc>0.10</vDesc></prod>
<imposto><ICMS><ICMS00><Orig>0</Orig><CST>00</CST><pICMS>18.00</pICMS></ICMS00></ICMS>
<PIS><PISAliq><CST>01</CST><vBC>3.90</vBC><pPIS>0.0165</pPIS></PISAliq></PIS>
<COFINS><COFINSAliq><CST>01</CST><vBC>3.90</vBC><pCOFINS>0.0760</pCOFINS></COFINSAliq></COFINS></imposto></det>
<det nItem="2"><prod><cProd>T</cProd><xProd>Truncado</xProd><CFOP>5102</CFOP><uCom>KG</uCom>
<qCom>1.0000</qCom><vUnCom>10.005</vUnCom><indRegra>T</indRegra><vOutro>1.00</vOutro></prod>
<imposto><ICMS><ICMSSN900><Orig>0</Orig><CSOSN>900</CSOSN><pICMS>7.00</pICMS></ICMSSN900></ICMS>
<PIS><PISQtde><CST>03</CST><qBCProd>1.0000</qBCProd><vAliqProd>0.1234</vAliqProd></PISQtde></PIS>
<COFINS><COFINSOutr><CST>99</CST><vBC>9.90</vBC><pCOFINS>0.0300</pCOFINS></COFINSOutr></COFINS></imposto></det>
<det nItem="3"><prod><cProd>S</cProd><xProd>Servico</xProd><CFOP>5933</CFOP><uCom>H</uCom>
<qCom>1.0000</qCom><vUnCom>21.00</vUnCom><indRegra>A</indRegra></prod>
<imposto><ISSQN><vDeducISSQN>1.00</vDeducISSQN><vAliq>5.00</vAliq><cNatOp>01</cNatOp><indIncFisc>2</indIncFisc></ISSQN>
<PIS><PISNT><CST>04</CST></PISNT></PIS><COFINS><COFINSSN><CST>49</CST></COFINSSN></COFINS></imposto></det>
<total><DescAcrEntr><vDescSubtot>1.49</vDescSubtot></DescAcrEntr></total>
<pgto><MP><cMP>01</cMP><vMP>30.00</vMP></MP><MP><cMP>03</cMP><vMP>5.00</vMP><cAdmC>001</cAdmC></MP></pgto>
</infCFe></CFe>)";

TEST(SaleValues, ItemsTaxesApportionedDiscountTotalsAndChange) {
    XmlDoc input;
    const auto result = read(valuesSale, input);
    ASSERT_TRUE(std::holds_alternative<Sale>(result)) << std::get<Rejection>(result).code;
    IssueNumbers numbers{"35",        "20240102", "030405", "12345678000195",
                         "900000001", "000007",   "123456", ""};
    composeKey(numbers);
    Taxpayer taxpayer;
    taxpayer.cnpj = "12345678000195";
    taxpayer.taxRegime = "3";
    XmlDoc cfe = writeCfe(std::get<Sale>(result), {numbers, "2", "010000", "QR"}, taxpayer);
    xmlDoc* d = cfe.get();

    // Item 1: 3 × 1.333 = 3.999 rounded to 4.00, less 0.10: 3.90. Item 2: 1 × 10.005 truncated
    // to 10.00, plus 1.00: 11.00. Item 3, a service: 21.00. The subtotal discount of 1.49 is
    // shared as 0.16, 0.46 and the rest, 0.87.
    const struct {
        const char* path;
        const char* value;
    } expected[] = {
        {"//det[1]/prod/vProd", "4.00"},
        {"//det[1]/prod/vRatDesc", "0.16"},
        {"//det[1]/prod/vItem", "3.74"},
        {"//det[1]//vICMS", "0.67"},
        {"//det[1]//vPIS", "0.06"},
        {"//det[1]//vCOFINS", "0.30"},
        {"//det[2]/prod/vProd", "10.00"},
        {"//det[2]/prod/vRatDesc", "0.46"},
        {"//det[2]/prod/vItem", "10.54"},
        {"//det[2]//vICMS", "0.74"},
        {"//det[2]//vPIS", "0.12"},
        {"//det[2]//vCOFINS", "0.30"},
        {"//det[3]/prod/vRatDesc", "0.87"},
        {"//det[3]/prod/vItem", "20.13"},
        {"//det[3]//ISSQN/vBC", "19.13"},
        {"//det[3]//ISSQN/vISSQN", "0.96"},
        {"//ICMSTot/vICMS", "1.41"},
        {"//ICMSTot/vProd", "14.00"},
        {"//ICMSTot/vDesc", "0.10"},
        {"//ICMSTot/vOutro", "1.00"},
        {"//ICMSTot/vPIS", "0.18"},
        {"//ICMSTot/vCOFINS", "0.60"},
        {"//ISSQNtot/vBC", "19.13"},
        {"//ISSQNtot/vISS", "0.96"},
        {"//total/vCFe", "34.41"},
        {"//pgto/vTroco", "0.59"},
        {"/CFe/infCFe/@Id", "CFe35240112345678000195599000000010000071234568"},
        {"//ide/cDV", "8"},
    };
    for (const auto& [path, value] : expected)
        EXPECT_EQ(issued(d, path), value) << path;
}

} // namespace
} // namespace emulator
