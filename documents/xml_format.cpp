#include "documents/xml_format.h"

#include "documents/xml_security.h"
#include "documents/xml_validation.h"

#include <libxml/xmlsave.h>

#include <memory>
#include <new>
#include <stdexcept>

namespace documents {
namespace {

std::string declaration(const xmlDoc& doc) {
    const auto text = [](const xmlChar* value) { return reinterpret_cast<const char*>(value); };
    std::string decl =
        "<?xml version=\"" + std::string(doc.version ? text(doc.version) : "1.0") + "\"";
    if (doc.encoding)
        decl += " encoding=\"" + std::string(text(doc.encoding)) + "\"";
    if (doc.standalone >= 0)
        decl += doc.standalone ? " standalone=\"yes\"" : " standalone=\"no\"";
    return decl + "?>\n";
}

// libxml2's indented output (two spaces a level, text-only elements on one line), without its
// declaration.
std::string indentedBody(xmlDoc& doc) {
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), &xmlBufferFree);
    if (!buffer)
        throw std::bad_alloc();
    xmlSaveCtxtPtr save =
        xmlSaveToBuffer(buffer.get(), "UTF-8", XML_SAVE_FORMAT | XML_SAVE_NO_DECL);
    if (!save)
        throw std::bad_alloc();
    xmlSaveDoc(save, &doc);
    xmlSaveClose(save);
    return {reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
            static_cast<std::size_t>(xmlBufferLength(buffer.get()))};
}

std::string withCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

} // namespace

std::string FormatXMLString(std::string_view xmlString) {
    XmlReadOptions options;
    options.dropBlankText = true;
    const XmlParseResult parsed = parseXmlSafely(xmlString, options);
    if (!parsed.doc)
        throw std::runtime_error(xmlErrorMessage(parsed.error));
    return withCrLf(declaration(*parsed.doc) + indentedBody(*parsed.doc));
}

} // namespace documents
