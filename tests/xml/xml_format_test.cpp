#include "xml/xml_format.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using xml::FormatXMLString;

TEST(FormatXMLString, LaysOutAOneLineDocument) {
    const std::string oneLine =
        R"(<?xml version="1.0" encoding="UTF-8"?><Integrador><Identificador><Valor>12345678)"
        R"(</Valor></Identificador><Componente Nome="MF-e"><Metodo Nome="ConsultarMFe"/>)"
        R"(<Retorno>ação &amp; &lt;ok&gt;</Retorno></Componente></Integrador>)";
    const std::string expected = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                 "<Integrador>\r\n"
                                 "  <Identificador>\r\n"
                                 "    <Valor>12345678</Valor>\r\n"
                                 "  </Identificador>\r\n"
                                 "  <Componente Nome=\"MF-e\">\r\n"
                                 "    <Metodo Nome=\"ConsultarMFe\"/>\r\n"
                                 "    <Retorno>ação &amp; &lt;ok&gt;</Retorno>\r\n"
                                 "  </Componente>\r\n"
                                 "</Integrador>\r\n";
    EXPECT_EQ(FormatXMLString(oneLine), expected);
    // Laid-out text comes out the same.
    EXPECT_EQ(FormatXMLString(expected), expected);
}

TEST(FormatXMLString, DeclaresWhatTheBytesAreAndKeepsMixedContent) {
    struct Case {
        std::string source, expected;
    };
    const Case cases[] = {
        // The body is UTF-8 whatever the source's encoding; the declaration says so.
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"yes\"?><a>\xE7</a>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<a>\xC3\xA7</a>\r\n"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?><a>\xC3\xA7</a>",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a>\xC3\xA7</a>\r\n"},
        // No declaration in the source, none in the result.
        {"<a>x</a>", "<a>x</a>\r\n"},
        {"<?xml-stylesheet href=\"s.xsl\"?><a>x</a>",
         "<?xml-stylesheet href=\"s.xsl\"?>\r\n<a>x</a>\r\n"},
        {"<?xml version=\"1.0\" standalone=\"no\"?><a> x <b>y</b> z </a>",
         "<?xml version=\"1.0\" standalone=\"no\"?>\r\n<a> x <b>y</b> z </a>\r\n"},
        {"<a><![CDATA[<b>]]></a>", "<a><![CDATA[<b>]]></a>\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatXMLString(c.source), c.expected) << c.source;
}

// Blanks between elements are layout and go, whatever their line breaks; blanks that are an
// element's whole text, or that xml:space keeps, are content and stay. Either way laying out
// the result again changes nothing.
TEST(FormatXMLString, TellsLayoutBlanksFromContentWhateverTheLineBreaks) {
    struct Case {
        std::string source, expected;
    };
    const Case cases[] = {
        {"<a>\r \n <b>x</b>\r\r\n</a>", "<a>\r\n  <b>x</b>\r\n</a>\r\n"},
        {"<a><b>\r \n \r</b></a>", "<a>\r\n  <b>\r\n \r\n \r\n</b>\r\n</a>\r\n"},
        {"<a><b> </b>\n<c/></a>", "<a>\r\n  <b> </b>\r\n  <c/>\r\n</a>\r\n"},
        {"<a xml:space=\"preserve\"> <b/>\t</a>", "<a xml:space=\"preserve\"> <b/>\t</a>\r\n"},
    };
    for (const auto& c : cases) {
        const std::string laidOut = FormatXMLString(c.source);
        EXPECT_EQ(laidOut, c.expected) << c.source;
        EXPECT_EQ(FormatXMLString(laidOut), laidOut) << c.source;
    }
}

TEST(FormatXMLString, ThrowsOnTextThatIsNotWellFormed) {
    for (const char* bad : {"", "retorno|06000|ok", "<a><b></a>"}) {
        try {
            FormatXMLString(bad);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const std::runtime_error& e) {
            EXPECT_TRUE(std::string(e.what()).starts_with("Código de Erro: ")) << e.what();
        }
    }
}

} // namespace
