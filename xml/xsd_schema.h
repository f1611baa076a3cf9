#pragma once
// Loading an XSD schema for validation. The published CF-e schemas write their patterns as
// "^\d{14}$"; in XSD regular expressions ^ and $ are ordinary characters, so every real document
// would be rejected. The anchors are stripped in memory when a schema is loaded, as the tax
// authority's own emulator does; the file on disk is never changed.

#include "xml/xml_security.h"

#include <libxml/xmlschemas.h>

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace xml {

// True for an element of the XML Schema namespace with this local name ("pattern", "element"...).
bool isXsdElement(const xmlNode* node, const char* localName);

// The pattern without the ^ that starts and the $ that ends each top-level alternative:
// "^\d{0}$|^\d{11}$" becomes "\d{0}|\d{11}". Escaped characters ("\$") and characters inside a
// character class are left as they are.
std::string withoutAnchors(std::string_view pattern);

// Applies withoutAnchors to the value of every xs:pattern of a schema document.
void stripPatternAnchors(xmlDoc& schemaDoc);

struct XmlSchemaFree {
    void operator()(xmlSchema* schema) const { xmlSchemaFree(schema); }
};

// A compiled schema and the document it was compiled from (the schema refers to it, so the
// document is released after the schema).
struct XsdSchema {
    XmlDoc doc;
    std::unique_ptr<xmlSchema, XmlSchemaFree> schema;
};

// Compiles a schema document (its anchors already stripped); the files it includes or imports are
// read as SafeSchemaIncludes reads them. Throws std::runtime_error with the name, line and
// libxml2's text when it is not a valid schema or what it includes cannot be read.
XsdSchema compileXsdSchema(XmlDoc schemaDoc, const std::string& name);

// Reads a schema file with the safe reader and strips its anchors. Throws std::runtime_error with
// the file name, line and reason when it cannot be read as XML.
XmlDoc readSchemaDocument(const std::filesystem::path& file);

// Reads the file with the safe reader, strips the anchors and compiles it. Throws
// std::runtime_error with the file name, line and libxml2's text when the file cannot be read or
// is not a valid schema.
XsdSchema loadXsdSchema(const std::filesystem::path& file);

} // namespace xml
