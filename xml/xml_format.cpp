#include "xml/xml_format.h"

#include "xml/xml_security.h"
#include "xml/xml_validation.h"

#include <libxml/xmlsave.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>

namespace xml {
namespace {

// Whether the source text opens with an XML declaration (after a UTF-8 byte-order mark). A
// source in another byte layout counts as having none: the laid-out text is UTF-8, which needs
// no declaration.
bool hasDeclaration(std::string_view source) {
    if (source.starts_with("\xEF\xBB\xBF"))
        source.remove_prefix(3);
    return source.size() > 5 && source.starts_with("<?xml") &&
           std::string_view(" \t\r\n").find(source[5]) != std::string_view::npos;
}

// The source's declaration for the laid-out text: its version and standalone values, and
// "UTF-8" where it named an encoding, since that is what the text is now.
std::string declaration(const xmlDoc& doc) {
    const auto text = [](const xmlChar* value) { return reinterpret_cast<const char*>(value); };
    std::string decl =
        "<?xml version=\"" + std::string(doc.version ? text(doc.version) : "1.0") + "\"";
    if (doc.encoding)
        decl += " encoding=\"UTF-8\"";
    if (doc.standalone >= 0)
        decl += doc.standalone ? " standalone=\"yes\"" : " standalone=\"no\"";
    return decl + "?>\n";
}

using XmlBuffer = std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)>;

// libxml2's indented output (two spaces a level, text-only elements on one line), without its
// declaration.
XmlBuffer indentedBody(xmlDoc& doc) {
    XmlBuffer buffer(xmlBufferCreate(), &xmlBufferFree);
    if (!buffer)
        throw std::bad_alloc();
    // Grown by doubling: libxml2's default grows it to the exact size at every write, which
    // copies a large document over and over.
    xmlBufferSetAllocationScheme(buffer.get(), XML_BUFFER_ALLOC_DOUBLEIT);
    xmlSaveCtxtPtr save =
        xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_FORMAT | XML_SAVE_NO_DECL);
    if (!save)
        throw std::bad_alloc();
    xmlSaveDoc(save, &doc);
    xmlSaveClose(save);
    return buffer;
}

// Appends `text` with a CR before every LF.
void appendWithCrLf(std::string& out, std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t lf = std::min(text.find('\n', pos), text.size());
        out.append(text.substr(pos, lf - pos));
        if (lf < text.size())
            out += "\r\n";
        pos = lf + 1;
    }
}

} // namespace

std::string FormatXMLString(std::string_view xmlString) {
    XmlReadOptions options;
    options.dropBlankText = true;
    const XmlParseResult parsed = parseXmlSafely(xmlString, options);
    if (!parsed.doc)
        throw std::runtime_error(xmlErrorMessage(parsed.error));
    const std::string head = hasDeclaration(xmlString) ? declaration(*parsed.doc) : "";
    const XmlBuffer body = indentedBody(*parsed.doc);
    const std::string_view bodyText(reinterpret_cast<const char*>(xmlBufferContent(body.get())),
                                    static_cast<std::size_t>(xmlBufferLength(body.get())));
    std::size_t lineFeeds = 1; // the declaration's
    for (std::size_t lf = bodyText.find('\n'); lf != std::string_view::npos;
         lf = bodyText.find('\n', lf + 1))
        ++lineFeeds;
    std::string laidOut;
    laidOut.reserve(head.size() + bodyText.size() + lineFeeds);
    appendWithCrLf(laidOut, head);
    appendWithCrLf(laidOut, bodyText);
    return laidOut;
}

} // namespace xml
