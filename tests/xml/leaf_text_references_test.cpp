#include "xml/leaf_text_references.h"
#include "xml/xml_security.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using xml::leafTextAsCharacterReferences;

TEST(LeafTextAsCharacterReferences, RewritesOnlyTheTextOfElementsHoldingOnlyText) {
    struct Case {
        std::string xml;
        std::optional<std::string> rewritten;
    };
    const Case cases[] = {
        {"<a><b>ação</b><c t=\"é>\">x</c></a>", "<a><b>a&#xE7;&#xE3;o</b><c t=\"é>\">x</c></a>"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\" encoding = 'utf-8'?>\r\n<a t='>'>\xF0\x9F\x98\x80 "
         "é</a>",
         "\xEF\xBB\xBF<?xml version=\"1.0\" encoding = 'utf-8'?>\r\n<a t='>'>&#x1F600; &#xE9;</a>"},
        // Invalid UTF-8 and characters XML refuses stay for the parser to refuse.
        {"<a>\xC3 \xEF\xBF\xBE é</a>", "<a>\xC3 \xEF\xBF\xBE &#xE9;</a>"},
        // Nothing to rewrite: ASCII only, or text beside elements, in attributes, after the root.
        {"<a>plain</a>", std::nullopt},
        {"<a>é<b/></a>", std::nullopt},
        {"<a><b t=\"é\"/></a>ç", std::nullopt},
        // Possibly another encoding, or places where '<' and '>' do not mark tags.
        {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xE9</a>", std::nullopt},
        {std::string("<\0a\0>\0", 6), std::nullopt},
        {"<a><!-- <b> --><c>é</c></a>", std::nullopt},
        {"<a><![CDATA[<b>]]><c>é</c></a>", std::nullopt},
        {"<?xml-stylesheet href=\"s.xsl\"?><a>é</a>", std::nullopt},
        {"<a t=\"unterminated>é</a>", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leafTextAsCharacterReferences(c.xml), c.rewritten) << c.xml;
}

// A text as libxml2 reads it with the safe reader's flags: whether it is refused and, if not,
// the tree written out as it is.
struct Reading {
    bool refused = false;
    std::string tree;
};

void countError(void* ctxt, xmlErrorPtr error) {
    if (error->level >= XML_ERR_ERROR)
        ++*static_cast<int*>(static_cast<xmlParserCtxtPtr>(ctxt)->_private);
}

Reading readWithLibxml2(std::string_view xml, bool dropBlankText) {
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> ctxt(xmlNewParserCtxt(),
                                                                      &xmlFreeParserCtxt);
    int errors = 0;
    ctxt->_private = &errors;
    ctxt->sax->serror = &countError;
    xmlDocPtr doc =
        xmlCtxtReadMemory(ctxt.get(), xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                          XML_PARSE_NONET | (dropBlankText ? XML_PARSE_NOBLANKS : 0));
    Reading reading;
    reading.refused = !doc || !ctxt->wellFormed || errors > 0;
    if (doc && !reading.refused) {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpMemory(doc, &text, &size);
        reading.tree.assign(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
        xmlFree(text);
    }
    xmlFreeDoc(doc);
    return reading;
}

// Documents made of pieces that touch every rule the rewriting relies on (blank text kept or
// dropped, mixed content, quoted '>', comments, CDATA, invalid bytes, encodings), some of them
// damaged byte by byte. Whenever the rewritten text is accepted, the original must be accepted
// too, with the same tree.
TEST(LeafTextAsCharacterReferences, AnAcceptedRewrittenTextHasTheOriginalsTree) {
    const std::vector<std::string> texts = {
        "x",     "ação",   " ", "\r\n  ", "\t", "\n", "é ", " é", "\xF0\x9F\x98\x80",
        "&amp;", "&#xE9;", ">", "\r",     "Ł"};
    const std::vector<std::string> broken = {"\xEF\xBF\xBE", "\xC3", "\xC0\x80", "\xED\xA0\x80",
                                             "]]>",          "\x01", "&"};
    const std::vector<std::string> attributes = {"",
                                                 " t=\"é>\"",
                                                 " t='a\"b'",
                                                 " u=\"\r\n\"",
                                                 " xml:space=\"preserve\"",
                                                 " xml:space='default'"};
    const std::vector<std::string> others = {"<!-- é -->", "<![CDATA[é<]]>", "<?p é?>", "</z>"};
    const std::vector<std::string> heads = {
        "", "<?xml version=\"1.0\"?>", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n",
        "\xEF\xBB\xBF", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"};
    std::mt19937 random(2026);
    const auto pick = [&](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    const auto element = [&](auto& self, int depth) -> std::string {
        const std::string name = depth == 0 ? "r" : std::string(1, char('a' + random() % 3));
        const std::string open = "<" + name + pick(attributes);
        if (random() % 5 == 0)
            return open + "/>";
        std::string content;
        for (int parts = int(random() % 6); parts > 0; --parts) {
            const auto kind = random() % 8;
            if (kind < 4)
                content += random() % 16 ? pick(texts) : pick(broken);
            else if (kind < 7 && depth < 3)
                content += self(self, depth + 1);
            else if (random() % 4 == 0)
                content += pick(others);
        }
        return open + ">" + content + "</" + name + ">";
    };
    int acceptedRewrites = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string xml = pick(heads) + element(element, 0) + (random() % 8 == 0 ? " é" : "");
        if (random() % 4 == 0)
            xml[random() % xml.size()] = "<>/\"'&é \xC3"[random() % 10];
        const auto rewritten = leafTextAsCharacterReferences(xml);
        if (!rewritten)
            continue;
        for (const bool dropBlankText : {false, true}) {
            const Reading fast = readWithLibxml2(*rewritten, dropBlankText);
            if (fast.refused)
                continue;
            acceptedRewrites += dropBlankText;
            const Reading original = readWithLibxml2(xml, dropBlankText);
            ASSERT_FALSE(original.refused) << xml;
            ASSERT_EQ(fast.tree, original.tree) << xml;
        }
    }
    EXPECT_GT(acceptedRewrites, 1000); // the property was put to the test
}

TEST(LeafTextAsCharacterReferences, TheSafeReaderReportsTheOriginalTextsErrors) {
    // Where the rewritten text is refused, the position is that of the user's own bytes.
    const auto result = xml::parseXmlSafely("<a>\n  <b>ação</c>\n</a>");
    ASSERT_FALSE(result.doc);
    EXPECT_EQ(result.error.reason, "Opening and ending tag mismatch: b line 2 and c");
    EXPECT_EQ(result.error.line, 2);
    EXPECT_EQ(result.error.column, 14); // after "</c>", counting characters
    EXPECT_EQ(result.error.offset, 19); // counting bytes
}

} // namespace
