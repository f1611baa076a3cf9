#include "documents/validate_buttons.h"

#include "core/path_text.h"
#include "documents/cancellation_request.h"
#include "documents_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using documents::BoxColour;
using documents::DocumentKind;
using documents::Layout;
using documents::ValidationBox;
using documents_test::fixture;
using documents_test::programDir;

std::string fileName(const std::filesystem::path& file) {
    return core::utf8FromPath(file);
}

void expectBox(const ValidationBox& box, bool clear, const core::Lines& lines, BoxColour colour,
               const std::string& label) {
    EXPECT_EQ(box.clear, clear) << label;
    EXPECT_EQ(box.lines, lines) << label;
    EXPECT_EQ(box.colour, colour) << label;
    EXPECT_EQ(box.error, "") << label;
}

TEST(ValidateButtons, ValidDocumentsEndWithTheSuccessLineInWindowText) {
    SKIP_WITHOUT_SCHEMAS();
    const std::string sale = fileName(fixture("sample_sale.xml"));
    const std::string cancel = fileName(fixture("cancel_request.xml"));
    const auto dir = programDir();
    struct Case {
        const char* name;
        ValidationBox box;
        core::Lines lines;
    };
    const Case cases[] = {
        {"sale page, 0.07",
         documents::validarXmlVenda(Layout::V007, sale, dir),
         {"Submetendo ao XSD do layout 0.07 ...", "Validação do XML do CFe OK."}},
        {"test page, 0.06 (the first item)",
         documents::validarXmlFimAFim(Layout::V006, sale, dir),
         {"Submetendo ao XSD do layout 0.06 ...", "Validação do XML OK."}},
        {"test page, 0.08",
         documents::validarXmlFimAFim(Layout::V008, sale, dir),
         {"Submetendo ao XSD do layout 0.08 ...", "Validação do XML OK."}},
        {"cancellation page, 0.06",
         documents::validarXmlCancelamento(Layout::V006, false, cancel, dir),
         {"Submetendo ao XSD de cancelamento do layout 0.06 ...",
          "Validação do XML do CFeCanc OK."}},
        {"cancellation page, 0.08",
         documents::validarXmlCancelamento(Layout::V008, false, cancel, dir),
         {"Submetendo ao XSD de cancelamento do layout 0.08 ...",
          "Validação do XML do CFeCanc OK."}},
    };
    for (const auto& c : cases)
        expectBox(c.box, true, c.lines, BoxColour::WindowText, c.name);
}

// The issued-CF-e mode checks the signed CF-e a module returned against the schema that
// declares it (the reception service's), on the document's own elements; a sale document, which
// lacks what the module adds, does not pass there. The CFeCanc generated from that CF-e passes
// the cancellation schema of the layout its customer belongs to.
TEST(ValidateButtons, IssuedCFeAndItsCancellationAgainstTheirSchemas) {
    if (!std::filesystem::exists(programDir() / "Schemas" / "CfeRecepcao_0007.xsd"))
        GTEST_SKIP() << "CfeRecepcao_0007.xsd not installed in " << programDir() / "Schemas";
    const std::string issued = fileName(fixture("issued_cfe.xml"));
    expectBox(documents::validarXmlCancelamento(Layout::V007, true, issued, programDir()), true,
              {"Submetendo ao XSD do layout 0.07 ...", "Validação do XML do CFe OK."},
              BoxColour::WindowText, "issued CF-e");

    const auto sale = documents::validarXmlCancelamento(
        Layout::V007, true, fileName(fixture("sample_sale.xml")), programDir());
    ASSERT_GT(sale.lines.size(), 1u);
    EXPECT_EQ(sale.lines[1], "Element 'infCFe': The attribute 'versao' is required but missing.");
    EXPECT_EQ(sale.colour, BoxColour::Red);

    documents_test::TempDir tmp;
    const auto generated = documents::generateFromIssuedCFe(issued, Layout::V006, tmp.path());
    expectBox(
        documents::validarXmlCancelamento(Layout::V006, false, fileName(generated.file),
                                          programDir()),
        true,
        {"Submetendo ao XSD de cancelamento do layout 0.06 ...", "Validação do XML do CFeCanc OK."},
        BoxColour::WindowText, "its cancellation");
}

// Both generators, from an issued CF-e with a customer, write what the cancellation schema of
// the chosen layout accepts: the customer under 0.06, an empty dest under 0.07 and 0.08.
TEST(ValidateButtons, GeneratedCancellationsPassTheirLayoutsCancellationSchema) {
    const std::string issued = fileName(fixture("issued_cfe.xml"));
    for (const Layout layout : {Layout::V006, Layout::V007, Layout::V008}) {
        const std::string name(documents::layoutName(layout));
        SCOPED_TRACE("layout " + name);
        const auto schema = documents::schemaFileNames(layout, DocumentKind::CFeCanc).front();
        SKIP_WITHOUT_PUBLISHED_FILE(programDir() / "Schemas" / schema, "-DTARVIK_SCHEMAS_SOURCE");
        documents_test::TempDir tmp;
        const documents::GeneratedCancellation generated[] = {
            documents::generateFromIssuedCFe(issued, layout, tmp.path()),
            documents::generateAfterSale(issued, "venda.xml", layout, tmp.path())};
        for (const auto& g : generated) {
            EXPECT_EQ(g.document.find("<CPF>52998224725</CPF>") != std::string::npos,
                      layout == Layout::V006)
                << g.message;
            expectBox(
                documents::validarXmlCancelamento(layout, false, fileName(g.file), programDir()),
                true,
                {"Submetendo ao XSD de cancelamento do layout " + name + " ...",
                 "Validação do XML do CFeCanc OK."},
                BoxColour::WindowText, g.message);
        }
    }
}

TEST(ValidateButtons, FindingsStayInTheProgressColourWithoutSuccessLine) {
    SKIP_WITHOUT_SCHEMAS();
    documents_test::TempDir tmp;
    std::string saleText = documents_test::readText(fixture("sample_sale.xml"));
    saleText.insert(saleText.find("<infCFe"), "<x/>");
    const auto sale = tmp.write("sale.xml", saleText);
    std::string cancelText = documents_test::readText(fixture("cancel_request.xml"));
    cancelText.replace(cancelText.find(">099<"), 5, ">99<");
    const auto cancel = tmp.write("cancel.xml", cancelText);

    expectBox(documents::validarXmlVenda(Layout::V007, fileName(sale), programDir()), true,
              {"Submetendo ao XSD do layout 0.07 ...",
               "Element 'x': This element is not expected. Expected is ( infCFe )."},
              BoxColour::Red, "sale");
    expectBox(
        documents::validarXmlCancelamento(Layout::V007, false, fileName(cancel), programDir()),
        true,
        {"Submetendo ao XSD de cancelamento do layout 0.07 ...",
         "Element 'numeroCaixa': [facet 'pattern'] The value '99' is not accepted by the "
         "pattern '\\d{3}'."},
        BoxColour::Green, "cancellation");

    const auto box = documents::validarXmlFimAFim(
        Layout::V007, fileName(fixture("not_well_formed.xml")), programDir());
    ASSERT_EQ(box.lines.size(), 2u);
    EXPECT_TRUE(box.lines[1].starts_with("Código de Erro: ")) << box.lines[1];
    EXPECT_EQ(box.colour, BoxColour::Red);
}

TEST(ValidateButtons, MissingDocumentOrSchemaMessages) {
    documents_test::TempDir tmp; // a program folder without schemas
    const std::string sale = fileName(fixture("sample_sale.xml"));
    const std::string missing = fileName(tmp.path() / "nada.xml");
    const std::string notThere = "Arquivo: " + missing + " não existe.";
    struct Case {
        const char* name;
        ValidationBox box;
        bool clear;
        std::string line;
        BoxColour colour;
    };
    const Case cases[] = {
        {"test page, no file", documents::validarXmlFimAFim(Layout::V007, missing, tmp.path()),
         false, notThere, BoxColour::Red},
        {"sale page, no file", documents::validarXmlVenda(Layout::V007, missing, tmp.path()), true,
         notThere, BoxColour::Red},
        {"sale page, a folder",
         documents::validarXmlVenda(Layout::V007, fileName(tmp.path()), tmp.path()), true,
         "Arquivo: " + fileName(tmp.path()) + " não existe.", BoxColour::Red},
        {"cancellation page, no file",
         documents::validarXmlCancelamento(Layout::V007, false, missing, tmp.path()), false,
         notThere, BoxColour::Red},
        {"test page, no schema", documents::validarXmlFimAFim(Layout::V008, sale, tmp.path()),
         false, "Arquivo XSD não foi encontrado.", BoxColour::Red},
        {"sale page, no schema", documents::validarXmlVenda(Layout::V007, sale, tmp.path()), true,
         "Arquivo XSD para validação do CFe não foi encontrado.", BoxColour::Red},
        {"cancellation page, issued CF-e, no schema",
         documents::validarXmlCancelamento(Layout::V007, true, sale, tmp.path()), false,
         "Arquivo XSD para validação do CFe não foi encontrado.", BoxColour::Red},
        {"cancellation page, 0.06, no schema",
         documents::validarXmlCancelamento(Layout::V006, false, sale, tmp.path()), false,
         "Arquivo XSD para validação do CFeCanc não foi encontrado.", BoxColour::Green},
    };
    for (const auto& c : cases)
        expectBox(c.box, c.clear, {c.line}, c.colour, c.name);
}

TEST(ValidateButtons, SchemaIsLookedForBesideTheProgramUnderBothNames) {
    documents_test::TempDir tmp;
    const auto program = tmp.path() / "program";
    EXPECT_FALSE(documents::findSchema(program, Layout::V007, DocumentKind::CFe));

    // A schema in the current folder is not the program's.
    tmp.write("Schemas/CFeRecebido_7.xsd", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(tmp.path());
    EXPECT_FALSE(documents::findSchema("program", Layout::V007, DocumentKind::CFe));
    std::filesystem::current_path(previous);

    const auto published = tmp.write("program/Schemas/emissao_cfe_0007.xsd", "x");
    EXPECT_EQ(documents::findSchema(program, Layout::V007, DocumentKind::CFe), published);
    const auto own = tmp.write("program/Schemas/CFeRecebido_7.xsd", "x");
    EXPECT_EQ(documents::findSchema(program, Layout::V007, DocumentKind::CFe), own);
    EXPECT_FALSE(documents::findSchema(program, Layout::V008, DocumentKind::CFe));
    EXPECT_FALSE(documents::findSchema(program, Layout::V007, DocumentKind::CFeCanc));
    EXPECT_FALSE(documents::findSchema(program, Layout::V007, DocumentKind::IssuedCFe));
    const auto reception = tmp.write("program/Schemas/CfeRecepcao_0007.xsd", "x");
    EXPECT_EQ(documents::findSchema(program, Layout::V007, DocumentKind::IssuedCFe), reception);
}

TEST(ValidateButtons, SchemaThatCannotBeLoadedLeavesTheProgressLineAndAnError) {
    documents_test::TempDir tmp;
    tmp.write("Schemas/CFeRecebido_7.xsd",
              R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema">)"
              R"(<xs:element name="CFe" type="semTipo"/></xs:schema>)");
    const auto box =
        documents::validarXmlVenda(Layout::V007, fileName(fixture("sample_sale.xml")), tmp.path());
    EXPECT_TRUE(box.clear);
    EXPECT_EQ(box.lines, core::Lines{"Submetendo ao XSD do layout 0.07 ..."});
    EXPECT_EQ(box.colour, BoxColour::Red);
    EXPECT_NE(box.error.find("semTipo"), std::string::npos) << box.error;
}

TEST(ValidateButtons, OnlyTheCancellationPageTakesTheUndecidedNodeAsSuccess) {
    const std::string undecided = "O nó não e válido nem inválido para o esquema.";
    using documents::ValidateButton;
    expectBox(
        documents::boxAfterValidation(ValidateButton::BtnValida_9, Layout::V007, true, {undecided}),
        true, {"Submetendo ao XSD do layout 0.07 ...", "Validação do XML do CFe OK."},
        BoxColour::WindowText, "cancellation page, issued CF-e");
    expectBox(documents::boxAfterValidation(ValidateButton::BtnValida_9, Layout::V007, true,
                                            {undecided, "outro"}),
              true, {"Submetendo ao XSD do layout 0.07 ...", undecided, "outro"}, BoxColour::Red,
              "two findings");
    expectBox(documents::boxAfterValidation(ValidateButton::BtnValida_9, Layout::V007, false,
                                            {undecided}),
              true, {"Submetendo ao XSD de cancelamento do layout 0.07 ...", undecided},
              BoxColour::Green, "cancellation page, cancellation");
    expectBox(documents::boxAfterValidation(ValidateButton::BtnValida_8, Layout::V007, false,
                                            {undecided}),
              true, {"Submetendo ao XSD do layout 0.07 ...", undecided}, BoxColour::Red,
              "sale page");
}

} // namespace
