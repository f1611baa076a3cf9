// The rewriting that lets libxml2 read accented text at full speed (non-ASCII characters of
// text-only elements written as character references). Whatever the input: when the rewritten
// text is well-formed, the original is too and gives the same tree, with blank text kept or
// dropped (the selector byte chooses); the safe reader then gives that tree as well.

#include "fuzz/fuzz_support.h"
#include "xml/leaf_text_references.h"
#include "xml/xml_security.h"

#include <libxml/parser.h>

#include <optional>
#include <string>

namespace {

// The tree libxml2 reads from `xml` with the reader's flags, written out; nullopt when refused.
std::optional<std::string> treeOf(std::string_view xml, bool dropBlankText) {
    xmlParserCtxt* context = xmlNewParserCtxt();
    xmlDoc* doc =
        xmlCtxtReadMemory(context, xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                              (dropBlankText ? XML_PARSE_NOBLANKS : 0));
    std::optional<std::string> tree;
    if (doc && context->wellFormed && context->nsWellFormed) {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpMemory(doc, &text, &size);
        tree.emplace(reinterpret_cast<const char*>(text), static_cast<std::size_t>(size));
        xmlFree(text);
    }
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return tree;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [selector, xml] = fuzz::splitSelector(data, size);
    const bool dropBlankText = selector & 1;
    const auto rewritten = xml::leafTextAsCharacterReferences(xml);
    if (!rewritten)
        return 0;
    const auto fast = treeOf(*rewritten, dropBlankText);
    if (!fast)
        return 0;
    const auto original = treeOf(xml, dropBlankText);
    fuzz::require(original.has_value(), "an accepted rewriting comes from an accepted text", xml);
    fuzz::require(*fast == *original, "the rewriting keeps the tree", xml);

    xml::XmlReadOptions options;
    options.dropBlankText = dropBlankText;
    const auto safe = xml::parseXmlSafely(xml, options);
    fuzz::require(safe.doc != nullptr, "the safe reader takes what libxml2 takes here", xml);
    return 0;
}
