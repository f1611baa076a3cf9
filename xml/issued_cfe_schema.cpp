#include "xml/issued_cfe_schema.h"

#include "core/path_text.h"
#include "xml/schema_relaxation.h"

#include <stdexcept>

namespace xml {
namespace {

const xmlChar* xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

} // namespace

XsdSchema loadIssuedCFeSchema(const std::filesystem::path& file) {
    const std::string name = core::utf8FromPath(file);
    XmlDoc doc = readSchemaDocument(file);
    xmlNode* cfe = findDeclaration(*doc, {"envCFe", "LoteCFe", "CFe"});
    if (!cfe)
        throw std::runtime_error(name + ": o esquema não declara envCFe/LoteCFe/CFe.");
    xmlUnlinkNode(cfe);
    xmlUnsetProp(cfe, xml("minOccurs"));
    xmlUnsetProp(cfe, xml("maxOccurs"));
    // The envelope's declarations go; the issued CF-e's becomes the one global element.
    xmlNode* schema = xmlDocGetRootElement(doc.get());
    for (xmlNode* child = schema->children; child;) {
        xmlNode* next = child->next;
        if (isXsdElement(child, "element")) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
    xmlAddChild(schema, cfe);
    return compileXsdSchema(std::move(doc), name);
}

} // namespace xml
