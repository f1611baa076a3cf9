#pragma once
// Documents received from the point of sale, read as hostile input through the project's one
// safe XML reader (no network, no DTD loading, no entity declarations, a size limit), and the
// small tree helpers the module's readers and writers use.

#include "xml/xml_security.h"

#include <libxml/tree.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace emulator {

using XmlDoc = xml::XmlDoc;

struct ParsedXml {
    XmlDoc doc;        // null when the document was refused
    std::string error; // why it was refused, for the answer
};

// Parses a document that comes from outside, after dropping blanks before its first tag.

ParsedXml parseUntrusted(std::string_view bytes, std::size_t maxBytes);

// The element's name without any namespace prefix.
std::string_view nameOf(const xmlNode* node);

// The element children of a node, in document order.
std::vector<xmlNode*> childElements(const xmlNode* node);

// The first element child of that name, or null.
xmlNode* child(const xmlNode* node, std::string_view name);

// The text content of an element (character data and CDATA of its subtree).
std::string textOf(const xmlNode* node);

// The text of the first child of that name; empty when there is none.
std::string childText(const xmlNode* node, std::string_view name);

// The value of an attribute without namespace, or nothing when absent.
bool attribute(const xmlNode* node, const char* name, std::string& value);

// Adds an element with text content as the last child of `parent`.
xmlNode* addText(xmlNode* parent, const char* name, std::string_view text);

// Adds an empty element as the last child of `parent`.
xmlNode* addElement(xmlNode* parent, const char* name);

// The document as UTF-8 bytes, with the XML declaration and no added indentation.
std::string serialize(xmlDoc* doc);

} // namespace emulator
