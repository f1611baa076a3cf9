#include "xml/xml_security.h"
#include "xml/xml_validation.h"
#include "xml/xsd_schema.h"

#include "tests/documents/documents_test_support.h"

#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using xml::parseXmlSafely;
using xml::readXmlFileSafely;

// Records every attempt of libxml2 to fetch something outside the text (entity, DTD, network).
class SafeReader : public testing::Test {
protected:
    void SetUp() override {
        loads = 0;
        previous_ = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(&spy);
    }
    void TearDown() override { xmlSetExternalEntityLoader(previous_); }

    static inline int loads = 0;

private:
    static xmlParserInputPtr spy(const char*, const char*, xmlParserCtxtPtr) {
        ++loads;
        return nullptr;
    }
    xmlExternalEntityLoader previous_ = nullptr;
};

TEST_F(SafeReader, RefusesEveryEntityDeclarationBeforeExpandingOrFetchingIt) {
    struct Case {
        const char* name;
        std::string xml;
        const char* entity;
    };
    const Case cases[] = {
        {"entity bomb",
         "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n <!ENTITY lol \"lol\">\n"
         " <!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
         " <!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n"
         " <!ENTITY lol9 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">\n"
         "]>\n<lolz>&lol9;</lolz>",
         "lol"},
        {"external entity",
         "<!DOCTYPE a [\n<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]><a>&xxe;</a>", "xxe"},
        {"external parameter entity",
         "<!DOCTYPE a [\n<!ENTITY % pe SYSTEM \"http://example.invalid/x.dtd\"> %pe;]><a/>", "pe"},
        {"unparsed entity",
         "<!DOCTYPE a [<!NOTATION n SYSTEM \"n\">\n<!ENTITY img SYSTEM \"i.gif\" NDATA n>]>"
         "<a/>",
         "img"},
    };
    for (const auto& c : cases) {
        const auto result = parseXmlSafely(c.xml);
        EXPECT_FALSE(result.doc) << c.name;
        EXPECT_EQ(result.error.code, XML_ERR_USER_STOP) << c.name;
        EXPECT_EQ(result.error.reason, "Declaração da entidade '" + std::string(c.entity) +
                                           "' recusada: documentos que declaram entidades não "
                                           "são aceitos.")
            << c.name;
        EXPECT_EQ(result.error.line, c.name == std::string("entity bomb") ? 3 : 2) << c.name;
    }
    EXPECT_EQ(loads, 0);
}

TEST_F(SafeReader, KeepsADoctypeWithoutEntitiesButNeverLoadsItsDtd) {
    const auto result =
        parseXmlSafely("<!DOCTYPE CFe SYSTEM \"file:///etc/cfe.dtd\"><CFe><a>1</a></CFe>");
    ASSERT_TRUE(result.doc);
    EXPECT_STREQ(reinterpret_cast<const char*>(xmlDocGetRootElement(result.doc.get())->name),
                 "CFe");
    EXPECT_EQ(loads, 0);
}

TEST_F(SafeReader, ReportsTheFirstWellFormednessErrorWithItsPosition) {
    const auto result = parseXmlSafely("<a>\n  <b>x</c>\n</a>");
    ASSERT_FALSE(result.doc);
    EXPECT_EQ(result.error.code, XML_ERR_TAG_NAME_MISMATCH);
    EXPECT_EQ(result.error.reason, "Opening and ending tag mismatch: b line 2 and c");
    EXPECT_EQ(result.error.line, 2);
    EXPECT_EQ(result.error.column, 11); // just after "</c>"
    EXPECT_EQ(result.error.offset, 14); // "<a>\n" + "  <b>x</c>"
}

TEST_F(SafeReader, RefusesWhatExceedsTheLimits) {
    xml::XmlReadOptions small;
    small.maxBytes = 16;
    const std::string text = "<a>0123456789</a>"; // 17 bytes
    const auto fromText = parseXmlSafely(text, small);
    EXPECT_EQ(fromText.error.code, XML_IO_EFBIG);
    EXPECT_EQ(fromText.error.reason, "O documento tem 17 bytes e excede o limite de 16 bytes.");

    documents_test::TempDir dir;
    const auto fromFile = readXmlFileSafely(dir.write("big.xml", text), small);
    EXPECT_FALSE(fromFile.doc);
    EXPECT_EQ(fromFile.error.code, XML_IO_EFBIG);

    // Nesting deeper than libxml2's limit is refused, so walks over a tree stay bounded.
    std::string deep;
    for (int i = 0; i < 1000; ++i)
        deep += "<a>";
    for (int i = 0; i < 1000; ++i)
        deep += "</a>";
    EXPECT_FALSE(parseXmlSafely(deep).doc);
    EXPECT_EQ(loads, 0);
}

TEST_F(SafeReader, ReadsWhatASchemaIncludesLikeTheSchemaItself) {
    documents_test::TempDir dir;
    const auto schema = [&](const std::string& name, const std::string& body) {
        return dir.write(name, "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">" + body +
                                   "</xs:schema>");
    };
    // A local include, in a folder whose name has a blank, gets its anchors stripped too.
    schema("tipos de dados/tipos.xsd",
           R"(<xs:simpleType name="TTres"><xs:restriction base="xs:string">)"
           R"(<xs:pattern value="^\d{3}$"/></xs:restriction></xs:simpleType>)");
    const auto main = schema("tipos de dados/n.xsd", R"(<xs:include schemaLocation="tipos.xsd"/>)"
                                                     R"(<xs:element name="n" type="TTres"/>)");
    EXPECT_EQ(xml::ValidarXmlComXsd(dir.write("ok.xml", "<n>123</n>"), main), core::Lines{});

    // Neither entities declared in an included file nor anything off this machine is loaded.
    dir.write("entidade.xsd", "<!DOCTYPE xs:schema [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>"
                              "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">"
                              "<xs:annotation><xs:documentation>&e;</xs:documentation>"
                              "</xs:annotation></xs:schema>");
    for (const std::string location : {"entidade.xsd", "http://example.invalid/tipos.xsd"}) {
        const auto including =
            schema("inclui.xsd", "<xs:include schemaLocation=\"" + location + "\"/>");
        try {
            xml::loadXsdSchema(including);
            ADD_FAILURE() << location << " was included";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(location), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(loads, 0);
}

TEST_F(SafeReader, MissingFileIsAnErrorNotACrash) {
    documents_test::TempDir dir;
    const auto result = readXmlFileSafely(dir.path() / "absent.xml");
    EXPECT_FALSE(result.doc);
    EXPECT_EQ(result.error.code, XML_IO_ENOENT);
    EXPECT_EQ(readXmlFileSafely(dir.path()).error.code, XML_IO_EIO); // a folder
}

} // namespace
