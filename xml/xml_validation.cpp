#include "xml/xml_validation.h"

namespace xml {

std::string xmlErrorMessage(const XmlParseError& error) {
    return "Código de Erro: " + std::to_string(error.code) + " | " + "Motivo: " + error.reason +
           "Linha: " + std::to_string(error.line) + " | " +
           "Posição do Caracter: " + std::to_string(error.column) + " | " +
           "Posição no Arquivo: " + std::to_string(error.offset);
}

bool IsValidXMLFile(const std::filesystem::path& xmlFile, std::string& errorMsg) {
    const XmlParseResult parsed = readXmlFileSafely(xmlFile);
    if (!parsed.doc)
        errorMsg = xmlErrorMessage(parsed.error);
    return parsed.doc != nullptr;
}

void ValidaElementos(const xmlNode* node, const SubtreeErrors& errors, core::Lines& findings) {
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        const std::string_view reason = errors.firstIn(child);
        if (!reason.empty() && (findings.empty() || findings.back() != reason))
            findings.emplace_back(reason);
        ValidaElementos(child, errors, findings);
    }
}

core::Lines ValidarXmlComXsd(const std::filesystem::path& fileXml,
                             const std::filesystem::path& fileXsd, SchemaLoader load) {
    // One read serves both the well-formedness check and the validation.
    XmlParseResult parsed = readXmlFileSafely(fileXml);
    if (!parsed.doc)
        return {xmlErrorMessage(parsed.error)};
    const XsdSchema schema = load(fileXsd);
    const SubtreeErrors errors(schemaErrors(schema, *parsed.doc), *parsed.doc);
    core::Lines findings;
    ValidaElementos(reinterpret_cast<const xmlNode*>(parsed.doc.get()), errors, findings);
    return findings;
}

} // namespace xml
