#include "xml/xml_validation.h"
#include "xml/xsd_schema.h"

#include "tests/documents/documents_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(SchemaAnchors, StrippedFromEachTopLevelAlternativeOnly) {
    struct Case {
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {R"(^\d{14}$)", R"(\d{14})"},
        {R"(^\d{0}$|^\d{11}$)", R"(\d{0}|\d{11})"},
        {R"(^.{8}$|^.{12}$|^.{13}$|^.{14}$)", R"(.{8}|.{12}|.{13}|.{14})"},
        {R"(^\d{2})", R"(\d{2})"}, // published without its end anchor
        {R"(\d{1,3})", R"(\d{1,3})"},
        {R"(^a\$)", R"(a\$)"},          // an escaped dollar is a character
        {R"(^a\\$)", R"(a\\)"},         // an escaped backslash, then the anchor
        {R"(^(a|b)$)", R"((a|b))"},     // alternatives inside a group are not top level
        {R"(x[|$]|^y$)", R"(x[|$]|y)"}, // nor are characters inside a class
    };
    for (const auto& c : cases)
        EXPECT_EQ(xml::withoutAnchors(c.pattern), c.expected) << c.pattern;
}

TEST(SchemaAnchors, LoadedSchemaChecksValuesWithoutAnchorsAndFileStaysAsItWas) {
    documents_test::TempDir dir;
    const std::string xsd =
        R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema"><xs:element name="n">)"
        R"(<xs:simpleType><xs:restriction base="xs:string"><xs:pattern value="^\d{3}$"/>)"
        R"(</xs:restriction></xs:simpleType></xs:element></xs:schema>)";
    const auto schema = dir.write("n.xsd", xsd);

    EXPECT_TRUE(xml::ValidarXmlComXsd(dir.write("ok.xml", "<n>123</n>"), schema).empty());
    EXPECT_EQ(xml::ValidarXmlComXsd(dir.write("bad.xml", "<n>^123$</n>"), schema),
              core::Lines{"Element 'n': [facet 'pattern'] The value '^123$' is not accepted by "
                          "the pattern '\\d{3}'."});
    EXPECT_EQ(documents_test::readText(schema), xsd);
}

} // namespace
