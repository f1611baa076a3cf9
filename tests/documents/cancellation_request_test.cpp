#include "documents/cancellation_request.h"

#include "core/path_text.h"
#include "core/whole_file.h"
#include "documents_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using documents::Layout;
using documents_test::readText;
using documents_test::TempDir;

const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
const std::string key = "CFe35240316716114000172599000040190000011234";

// An issued CF-e as a module returns it (shortened), with the customer given.
std::string issuedCFe(const std::string& dest, const std::string& signAC = "SGR-SAT") {
    return declaration + "<CFe><infCFe Id=\"" + key +
           "\" versao=\"0.07\"><ide><cUF>35</cUF><CNPJ>16716114000172</CNPJ><signAC>" + signAC +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><emit><CNPJ>12345678000195</CNPJ></emit>"
           "<dest>" +
           dest +
           "</dest><total><vCFe>1.00</vCFe></total></infCFe><Signature "
           "xmlns=\"http://www.w3.org/2000/09/xmldsig#\"/></CFe>\r\n";
}

std::string cancellation(const std::string& dest, const std::string& signAC = "SGR-SAT") {
    return declaration + "<CFeCanc><infCFe chCanc=\"" + key +
           "\"><ide><CNPJ>16716114000172</CNPJ><signAC>" + signAC +
           "</signAC><numeroCaixa>001</numeroCaixa></ide><emit></emit><dest>" + dest +
           "</dest><total></total><infAdic></infAdic></infCFe></CFeCanc>";
}

TEST(CancellationRequest, CustomerByGeneratorLayoutAndDocument) {
    const std::string cpf = "<CPF>52998224725</CPF>";
    const std::string cnpj = "<CNPJ>11222333000181</CNPJ>";
    struct Case {
        const char* name;
        std::string dest;         // the issued CF-e's customer
        std::string withCustomer; // the cancellation's dest when the customer is written
    };
    const Case cases[] = {
        {"CPF", cpf, cpf},
        {"CNPJ", cnpj, cnpj},
        {"both, CNPJ first whatever the CF-e's order", cpf + cnpj, cnpj + cpf},
        {"none", "", ""},
        {"blank values", "<CPF>  </CPF>", ""},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto resp = dir.write("Retornos/Resp_venda.xml", issuedCFe(c.dest));
        for (const Layout layout : {Layout::V006, Layout::V007, Layout::V008}) {
            const std::string label =
                std::string(c.name) + ", layout " + std::string(documents::layoutName(layout));
            const auto afterSale =
                documents::generateAfterSale(resp, "venda.xml", layout, dir.path());
            EXPECT_EQ(afterSale.document,
                      cancellation(layout == Layout::V006 ? c.withCustomer : ""))
                << label;
            EXPECT_EQ(afterSale.key, key) << label;
            EXPECT_EQ(readText(dir.path() / "Para_Cancelar" / "C_venda.xml"),
                      afterSale.document + "\r\n")
                << label;
            // "Gerar CFeCanc." follows the same rule.
            const auto fromIssued = documents::generateFromIssuedCFe(
                " " + core::utf8FromPath(resp) + " ", layout, dir.path());
            EXPECT_EQ(fromIssued.document, afterSale.document) << label;
            EXPECT_EQ(fromIssued.file, dir.path() / "Temp" / "Canc_Resp_venda.xml") << label;
            EXPECT_EQ(readText(fromIssued.file), fromIssued.document + "\r\n") << label;
        }
    }
}

TEST(CancellationRequest, ValuesAreEscapedAndWrittenInUtf8) {
    TempDir dir;
    // "&amp;" in the CF-e is "&" in the value; "ç" is UTF-8 in the CF-e, whatever its
    // declaration says of a Latin-1 file.
    const auto utf8 = dir.write("utf8.xml", issuedCFe("", "Padaria &amp; Confeitaria Açúcar"));
    std::string latin1 = issuedCFe("", "Padaria &amp; Confeitaria A\xe7\xfa"
                                       "car");
    latin1.replace(0, declaration.size(), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
    const auto iso = dir.write("latin1.xml", latin1);
    const std::string expected = cancellation("", "Padaria &amp; Confeitaria Açúcar");
    EXPECT_EQ(documents::generateFromIssuedCFe(core::utf8FromPath(utf8), Layout::V006, dir.path())
                  .document,
              expected);
    EXPECT_EQ(documents::generateFromIssuedCFe(core::utf8FromPath(iso), Layout::V006, dir.path())
                  .document,
              expected);

    // Line breaks inside a value stay in it as references, so the document is one line.
    documents::IssuedCFeValues odd;
    odd.key = "CFe\"<&>'";
    odd.signAC = "a<b>c\r\nd\ne";
    EXPECT_EQ(documents::cancellationDocument(odd, true),
              declaration +
                  "<CFeCanc><infCFe chCanc=\"CFe&quot;&lt;&amp;&gt;'\"><ide><CNPJ></CNPJ>"
                  "<signAC>a&lt;b&gt;c&#13;&#10;d&#10;e</signAC><numeroCaixa></numeroCaixa></ide>"
                  "<emit></emit>"
                  "<dest></dest><total></total><infAdic></infAdic></infCFe></CFeCanc>");
}

TEST(CancellationRequest, DocumentsThatAreNoIssuedCFeGiveEmptyValues) {
    const std::string empty = declaration + "<CFeCanc><infCFe chCanc=\"\"><ide><CNPJ></CNPJ>"
                                            "<signAC></signAC><numeroCaixa></numeroCaixa></ide>"
                                            "<emit></emit><dest></dest><total></total>"
                                            "<infAdic></infAdic></infCFe></CFeCanc>";
    struct Case {
        const char* name;
        std::string content;
    };
    const Case cases[] = {
        {"not XML", "isto não é XML"},
        {"a sale without the issued values' root", "<venda><infCFe Id=\"x\"/></venda>"},
        {"an entity declaration (refused unread)",
         "<!DOCTYPE CFe [<!ENTITY k \"CFe1\">]><CFe><infCFe Id=\"&k;\"/></CFe>"},
        {"an external entity",
         "<!DOCTYPE CFe [<!ENTITY k SYSTEM \"/etc/hostname\">]><CFe><infCFe><ide><CNPJ>&k;"
         "</CNPJ></ide></infCFe></CFe>"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        const auto file = dir.write("doc.xml", c.content);
        const auto generated =
            documents::generateFromIssuedCFe(core::utf8FromPath(file), Layout::V007, dir.path());
        EXPECT_EQ(generated.document, empty) << c.name;
        EXPECT_EQ(generated.key, "") << c.name;
        EXPECT_EQ(generated.message, "CFeCanc gerado na pasta Temp com nome: Canc_doc.xml")
            << c.name;
    }
    const auto missing =
        documents::generateFromIssuedCFe("/nenhum/arquivo.xml", Layout::V007, dir.path());
    EXPECT_EQ(missing.document, empty);
}

TEST(CancellationRequest, AFolderThatCannotBeWrittenKeepsTheEarlierFile) {
    TempDir dir;
    const auto resp = dir.write("Resp_venda.xml", issuedCFe(""));
    const auto first = documents::generateAfterSale(resp, "venda.xml", Layout::V007, dir.path());
    EXPECT_EQ(first.message,
              "XML para cancelamento gerado na pasta Para_Cancelar com nome: C_venda.xml");
    // A folder in the way of the temporary file: the save fails before the rename.
    std::filesystem::create_directories(
        core::temporaryFileFor(dir.path() / "Para_Cancelar" / "C_venda.xml") / "x");
    dir.write("Resp_venda.xml", issuedCFe("<CPF>52998224725</CPF>"));
    EXPECT_THROW(documents::generateAfterSale(resp, "venda.xml", Layout::V006, dir.path()),
                 std::runtime_error);
    EXPECT_EQ(readText(dir.path() / "Para_Cancelar" / "C_venda.xml"), first.document + "\r\n");

    dir.write("Temp", "a file where the folder should be");
    EXPECT_THROW(
        documents::generateFromIssuedCFe(core::utf8FromPath(resp), Layout::V007, dir.path()),
        std::runtime_error);
}

} // namespace
