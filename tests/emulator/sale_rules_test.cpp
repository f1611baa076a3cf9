// The content checks and the computed values of a sale, at the level of the module's logic:
// each table row breaks one rule of a valid sale and expects the CCCC code of the tax
// authority's table; the value cases check what the issued CF-e says.

#include "emulator/module/state.h"
#include "emulator/sale/cfe.h"
#include "emulator/sale/crypto.h"
#include "emulator/sale/rejections.h"
#include "emulator/sale/sale.h"
#include "emulator/sale/xml.h"
#include "sale_documents.h"
#include "sale_shapes.h"
#include "tests/support/answer_text.h"
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
using test_support::replacedFirst;

std::variant<Sale, Rejection> read(const std::string& document, XmlDoc& doc) {
    ParsedXml parsed = parseUntrusted(document, 2'000'000);
    if (!parsed.doc)
        return Rejection{-1, 0, parsed.error};
    doc = std::move(parsed.doc);
    return readSale(doc.get(), ModuleState().layout);
}

int rejectionCode(const std::string& document) {
    XmlDoc doc;
    const auto result = read(document, doc);
    return std::holds_alternative<Rejection>(result) ? std::get<Rejection>(result).code : 0;
}

using emulator_test::SaleShape;

std::string testName(const ::testing::TestParamInfo<SaleShape>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

class SaleShapes : public ::testing::TestWithParam<SaleShape> {};

TEST_P(SaleShapes, AreIssuedOrRefusedWithTheCodeOfTheBrokenRule) {
    const SaleShape& shape = GetParam();
    EXPECT_EQ(rejectionCode(shape.document()), shape.code) << shape.name;
    if (shape.code != 0) {
        EXPECT_NE(rejectionText(shape.code), "") << shape.code;
    }
}

INSTANTIATE_TEST_SUITE_P(Accepted, SaleShapes, ::testing::ValuesIn(emulator_test::acceptedShapes()),
                         testName);
INSTANTIATE_TEST_SUITE_P(Refused, SaleShapes, ::testing::ValuesIn(emulator_test::refusedShapes()),
                         testName);

// A module validating by schema names an element that stands where a mandatory one belongs,
// and says a mandatory element is missing only when it is nowhere in its group.
TEST(SaleStructure, NamesTheElementInTheWayOfAMandatoryOne) {
    const struct {
        const char* from;
        const char* to;
        int code;
        const char* detail;
    } cases[] = {
        {"<IE>", "<foo/><IE>", 1999, "Elemento foo não esperado em emit; esperado IE"},
        {"<IE>111111111111</IE>", "<IM>123</IM><IE>111111111111</IE>", 1999,
         "Elemento IM não esperado em emit; esperado IE"},
        {"<IE>111111111111</IE>", "<foo/>", 1999, "Elemento foo não esperado em emit; esperado IE"},
        {"<IE>111111111111</IE>", "", 1229, ""},
        {"<IE>111111111111</IE>", "<IM>123</IM>", 1229, ""},
    };
    for (const auto& c : cases) {
        XmlDoc doc;
        const auto result = read(replacedFirst(saleDocument(1), c.from, c.to), doc);
        ASSERT_TRUE(std::holds_alternative<Rejection>(result)) << c.to;
        EXPECT_EQ(std::get<Rejection>(result).code, c.code) << c.to;
        EXPECT_EQ(std::get<Rejection>(result).detail, c.detail) << c.to;
    }
}

// A module takes the layouts it knows up to its own; newer or unknown ones get 1004.
TEST(SaleLayout, IsAcceptedUpToTheModulesOwn) {
    for (const std::string_view module : layoutVersions) {
        for (const std::string_view input : {"0.05", "0.06", "0.07", "0.08", "0.09", "7"})
            EXPECT_EQ(acceptsLayout(module, input),
                      input.size() == 4 && input >= "0.06" && input <= module)
                << module << " " << input;
    }
}

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
    const auto result =
        read(replacedFirst(saleDocument(2),
                           "<pgto><MP><cMP>01</cMP><vMP>100000.00</vMP></MP></pgto>", ""),
             doc);
    EXPECT_EQ(std::get<Rejection>(result).detail, "Elemento pgto ausente em infCFe");
}

// The ISSQN rate has one code for two faults: a rate off its pattern is said as such, not as
// a rate out of range (which "5.00", five per cent, is not).
TEST(SaleRejectionText, TheIssqnRateNamesTheFaultItHas) {
    const struct {
        const char* rate;
        const char* says;
        const char* neverSays;
    } cases[] = {
        {"5.00", "fora do padrão NNN.NN (três dígitos inteiros e dois decimais, como 005.00): 5.00",
         "2,00 (2%)"},
        {"05,00", "fora do padrão NNN.NN", "2,00 (2%)"},
        {"006.00", "não é maior ou igual a  2,00 (2%) e menor ou igual a 5,00 (5%)", "padrão"},
    };
    for (const auto& c : cases) {
        const std::string item = replacedFirst(emulator_test::serviceItem, "<vAliq>005.00",
                                               std::string("<vAliq>") + c.rate);
        XmlDoc doc;
        const auto result =
            read(replacedFirst(
                     replacedFirst(saleDocument(2), "<indRatISSQN>",
                                   "<IM>123456</IM><cRegTribISSQN>3</cRegTribISSQN><indRatISSQN>"),
                     "<total>", item + "<total>"),
                 doc);
        ASSERT_TRUE(std::holds_alternative<Rejection>(result)) << c.rate;
        const auto& rejection = std::get<Rejection>(result);
        EXPECT_EQ(rejection.code, 1505) << c.rate;
        const std::string message = rejectionMessage(rejection);
        EXPECT_THAT(message,
                    ::testing::StartsWith("Rejeição: Alíquota efetiva do ISSQN do item (3)"));
        EXPECT_THAT(message, ::testing::HasSubstr(c.says)) << c.rate;
        EXPECT_THAT(message, ::testing::Not(::testing::HasSubstr(c.neverSays))) << c.rate;
        if (std::string_view(c.neverSays) == "2,00 (2%)") {
            EXPECT_THAT(message, ::testing::Not(::testing::HasSubstr("  "))) << c.rate;
        }
    }
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
        EXPECT_EQ(rejectionCode(replacedFirst(saleDocument(2), from, to)), code) << to;
}

TEST(SaleAlert, BlankCustomerNameIsAcceptedWithTheAlert) {
    XmlDoc doc;
    const auto result =
        read(replacedFirst(saleDocument(1), "</CPF>", "</CPF><xNome>  </xNome>"), doc);
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
        const auto result = read(
            replacedFirst(items, "<total>",
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
<imposto><ISSQN><vDeducISSQN>1.00</vDeducISSQN><vAliq>005.00</vAliq><cNatOp>01</cNatOp><indIncFisc>2</indIncFisc></ISSQN>
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
    XmlDoc cfe = writeCfe(std::get<Sale>(result), {numbers, "2", "010000", "QR", "0.08"}, taxpayer);
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

// As devices issue it: vRatDesc and vRatAcr on every item, 0.00 without a subtotal discount or
// increase, and emit/xFant when the taxpayer has a fantasy name.
TEST(SaleValues, ApportionmentsOnEveryItemAndTheFantasyNameWhenThereIsOne) {
    XmlDoc input;
    const auto result = read(emulator_test::saleDocument(2), input);
    ASSERT_TRUE(std::holds_alternative<Sale>(result)) << std::get<Rejection>(result).code;
    IssueNumbers numbers{"35",        "20240102", "030405", "12345678000195",
                         "900000001", "000007",   "123456", ""};
    composeKey(numbers);
    for (const char* fantasyName : {"", "LOJA DO EMULADOR"}) {
        Taxpayer taxpayer;
        taxpayer.cnpj = "12345678000195";
        taxpayer.name = "CONTRIBUINTE";
        taxpayer.fantasyName = fantasyName;
        XmlDoc cfe =
            writeCfe(std::get<Sale>(result), {numbers, "2", "010000", "QR", "0.08"}, taxpayer);
        for (const char* path : {"//det[1]/prod/vRatDesc", "//det[1]/prod/vRatAcr",
                                 "//det[2]/prod/vRatDesc", "//det[2]/prod/vRatAcr"})
            EXPECT_EQ(issued(cfe.get(), path), "0.00") << path;
        EXPECT_EQ(issued(cfe.get(), "//emit/xFant"), *fantasyName ? fantasyName : "<none>");
        EXPECT_EQ(issued(cfe.get(), "//emit/xNome/following-sibling::*[1]"),
                  *fantasyName ? fantasyName : issued(cfe.get(), "//emit/enderEmit"));
    }
}

// The AC signature and certificates arrive as Base64: "=" only closes the text, and nothing but
// the alphabet is taken (OpenSSL's block decoder alone reads an inner "=" as zero bits and skips
// blanks at the ends).
TEST(Base64Decode, TakesOnlyTheAlphabetWithClosingPadding) {
    const struct {
        std::string_view text;
        std::optional<std::string> bytes;
    } cases[] = {
        {"", std::string()},
        {"Q0Zl", std::string("CFe")},
        {"Q0ZlMzU=", std::string("CFe35")},
        {"Q0ZlMw==", std::string("CFe3")},
        {"Q0ZlMzQ0ZlMzU=U=", std::nullopt},
        {"Q0Zl====", std::nullopt},
        {"Q0Zl    ", std::nullopt},
        {" Q0ZlMzU=   ", std::nullopt},
        {"Q0Zl\r\nMw", std::nullopt},
        {"Q0ZlMzU", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(base64Decode(c.text), c.bytes) << c.text;
}

} // namespace
} // namespace emulator
