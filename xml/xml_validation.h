#pragma once
// Checking a document file: well-formedness, then every element against an XSD schema.

#include "core/call_text.h"
#include "xml/schema_errors.h"
#include "xml/xml_security.h"
#include "xml/xsd_schema.h"

#include <filesystem>
#include <string>

namespace xml {

// "Código de Erro: <code> | Motivo: <reason>Linha: <line> | Posição do Caracter: <column> |
// Posição no Arquivo: <byte offset>" (no separator between reason and line, as the program has
// always written it).
std::string xmlErrorMessage(const XmlParseError& error);

// True when the file can be read as XML by the safe reader; otherwise errorMsg receives
// xmlErrorMessage of the first error.
bool IsValidXMLFile(const std::filesystem::path& xmlFile, std::string& errorMsg);

// Walks the element children of node depth first in document order; for each element adds the
// first error of its subtree to the findings, unless there is none or it equals the finding
// added last (an element's error also shows on all its ancestors).
void ValidaElementos(const xmlNode* node, const SubtreeErrors& errors, core::Lines& findings);

using SchemaLoader = XsdSchema (*)(const std::filesystem::path& file);

// The findings of a document file against a schema file (loaded by `load`); empty when the
// document is valid. A file that is not well-formed gives the single message of IsValidXMLFile.
// Throws std::runtime_error (libxml2's text) when the schema cannot be loaded.
core::Lines ValidarXmlComXsd(const std::filesystem::path& fileXml,
                             const std::filesystem::path& fileXsd,
                             SchemaLoader load = &loadXsdSchema);

} // namespace xml
