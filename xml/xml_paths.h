#pragma once
// Reading texts out of a parsed Integrador document (see xml::parseXmlSafely) by
// element names.

#include "xml/xml_security.h"

#include <libxml/tree.h>

#include <initializer_list>
#include <string>
#include <string_view>

namespace xml {

// The first child element of `node` with the name `name`; nullptr when there is none.
const xmlNode* childElement(const xmlNode* node, std::string_view name);

// The element's text content (its text and CDATA, descendants included); empty for nullptr.
std::string textContent(const xmlNode* node);

// The text content of the element reached from `root` by `path`, whose first name is the
// root's own; empty when any step is missing.
std::string pathText(const xmlNode* root, std::initializer_list<std::string_view> path);

// An attribute's value; empty when absent.
std::string attribute(const xmlNode* node, const char* name);

// Why a text was refused as XML, with its line when known.
std::string describe(const xml::XmlParseError& error);

} // namespace xml
