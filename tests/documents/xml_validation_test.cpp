#include "documents/validate_buttons.h"
#include "xml/xml_validation.h"

#include "documents_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using documents::DocumentKind;
using documents::Layout;
using documents_test::fixture;

std::filesystem::path schemaFor(Layout layout, DocumentKind kind) {
    return documents::findSchema(documents_test::programDir(), layout, kind).value();
}

// The sample sale with each (from, to) edit applied to the first occurrence of from.
std::string editedSale(const std::vector<std::pair<std::string, std::string>>& edits) {
    std::string xml = documents_test::readText(fixture("sample_sale.xml"));
    for (const auto& [from, to] : edits) {
        const auto at = xml.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            xml.replace(at, from.size(), to);
    }
    return xml;
}

std::string patternError(const std::string& element, const std::string& value,
                         const std::string& pattern) {
    return "Element '" + element + "': [facet 'pattern'] The value '" + value +
           "' is not accepted by the pattern '" + pattern + "'.";
}

const std::string kIde =
    "<ide><CNPJ>16716114000172</CNPJ><signAC>SGR-SAT SISTEMA DE GESTAO E RETAGUARDA DO SAT"
    "</signAC><numeroCaixa>099</numeroCaixa></ide>";
const std::string kEmit = "<emit><CNPJ>14200166000166</CNPJ><IE>111111111111</IE>"
                          "<cRegTribISSQN>1</cRegTribISSQN><indRatISSQN>N</indRatISSQN></emit>";

TEST(ValidarXmlComXsd, SampleSaleAndCancellationAreValidForEveryLayout) {
    SKIP_WITHOUT_SCHEMAS();
    for (const Layout layout : {Layout::V006, Layout::V007, Layout::V008}) {
        EXPECT_EQ(
            xml::ValidarXmlComXsd(fixture("sample_sale.xml"), schemaFor(layout, DocumentKind::CFe)),
            core::Lines{})
            << documents::layoutName(layout);
        EXPECT_EQ(xml::ValidarXmlComXsd(fixture("cancel_request.xml"),
                                        schemaFor(layout, DocumentKind::CFeCanc)),
                  core::Lines{})
            << documents::layoutName(layout);
    }
}

TEST(ValidarXmlComXsd, BrokenSalesGiveTheirFindingsInWalkOrder) {
    SKIP_WITHOUT_SCHEMAS();
    const std::string cfop = patternError("CFOP", "501", R"(\d{4})");
    const std::string caixa = patternError("numeroCaixa", "99", R"(\d{3})");
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> edits;
        core::Lines expected;
    };
    const std::vector<Case> cases = {
        // One error shows on the element and all its ancestors, and is listed once.
        {"wrong CNPJ length",
         {{"<CNPJ>14200166000166", "<CNPJ>1420016600016"}},
         {patternError("CNPJ", "1420016600016", R"(\d{14})")}},
        {"two errors in different groups",
         {{"<numeroCaixa>099", "<numeroCaixa>99"}, {"<CFOP>5001", "<CFOP>501"}},
         {caixa, cfop}},
        // Errors after the element the content model rejects are still found.
        {"element out of order",
         {{kIde + kEmit, kEmit + kIde},
          {"<numeroCaixa>099", "<numeroCaixa>99"},
          {"<CFOP>5001", "<CFOP>501"}},
         {"Element 'emit': This element is not expected. Expected is ( ide ).", caixa, cfop}},
        {"missing required group",
         {{"<total><vCFeLei12741>1.00</vCFeLei12741></total>", ""}, {"<vMP>2000.00", "<vMP>2000"}},
         {"Element 'pgto': This element is not expected. Expected is ( total ).",
          patternError("vMP", "2000", R"(\d{1,13}[.]{1}[0-9]{2})")}},
        {"missing group and, further on, a missing element",
         {{kIde, ""}, {"<cMP>01</cMP>", ""}},
         {"Element 'emit': This element is not expected. Expected is ( ide ).",
          "Element 'vMP': This element is not expected. Expected is ( cMP )."}},
        {"element the schema does not know",
         {{"<xProd>", "<CEST>1234567</CEST><xProd>"}, {"<CFOP>5001", "<CFOP>501"}},
         {"Element 'CEST': This element is not expected. Expected is one of ( cEAN, xProd ).",
          cfop}},
        {"attributes",
         {{" versaoDadosEnt=\"0.06\"", ""}, {"nItem=\"1\"", "nItem=\"x1\""}},
         {"Element 'infCFe': The attribute 'versaoDadosEnt' is required but missing.",
          "Element 'det', attribute 'nItem': [facet 'pattern'] The value 'x1' is not accepted "
          "by the pattern '\\d{1,3}'."}},
        // Reasons A, A, B, A in walk order (ide, emit and dest CNPJ) are listed A, B, A.
        {"equal reasons only merged when consecutive",
         {{"<CNPJ>16716114000172", "<CNPJ>123"},
          {"<CNPJ>14200166000166", "<CNPJ>12"},
          {"<dest><CNPJ>16716114000172", "<dest><CNPJ>123"}},
         {patternError("CNPJ", "123", R"(\d{14})"), patternError("CNPJ", "12", R"(\d{14})"),
          patternError("CNPJ", "123", R"(\d{14})")}},
    };
    documents_test::TempDir dir;
    for (const auto& c : cases) {
        const auto file = dir.write("sale.xml", editedSale(c.edits));
        EXPECT_EQ(xml::ValidarXmlComXsd(file, schemaFor(Layout::V007, DocumentKind::CFe)),
                  c.expected)
            << c.name;
    }
}

TEST(ValidarXmlComXsd, AnotherKindOfDocumentIsOneFinding) {
    SKIP_WITHOUT_SCHEMAS();
    EXPECT_EQ(xml::ValidarXmlComXsd(fixture("cancel_request.xml"),
                                    schemaFor(Layout::V007, DocumentKind::CFe)),
              core::Lines{"Element 'CFeCanc': No matching global declaration available for the "
                          "validation root."});
}

TEST(ValidarXmlComXsd, NotWellFormedFileIsTheSingleMessageOfIsValidXMLFile) {
    const std::string expected =
        "Código de Erro: 76 | Motivo: Opening and ending tag mismatch: infCFe line 3 and "
        "CFeLinha: 4 | Posição do Caracter: 7 | Posição no Arquivo: 62";
    std::string message;
    EXPECT_FALSE(xml::IsValidXMLFile(fixture("not_well_formed.xml"), message));
    EXPECT_EQ(message, expected);
    EXPECT_TRUE(xml::IsValidXMLFile(fixture("sample_sale.xml"), message));

    // The schema is not even looked at.
    EXPECT_EQ(xml::ValidarXmlComXsd(fixture("not_well_formed.xml"), "no-such.xsd"),
              core::Lines{expected});
}

} // namespace
