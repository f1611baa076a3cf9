#include "xml/schema_relaxation.h"

#include "xml/xsd_schema.h"

namespace xml {
namespace {

const xmlChar* xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

bool isModelGroup(const xmlNode* node) {
    return isXsdElement(node, "sequence") || isXsdElement(node, "choice") ||
           isXsdElement(node, "all");
}

bool hasName(xmlNode* declaration, const std::string& name) {
    xmlChar* value = xmlGetNoNsProp(declaration, xml("name"));
    const bool same = value && name == reinterpret_cast<const char*>(value);
    xmlFree(value);
    return same;
}

xmlNode* firstChild(xmlNode* node, bool (*matches)(const xmlNode*)) {
    for (xmlNode* child = node ? node->children : nullptr; child; child = child->next)
        if (matches(child))
            return child;
    return nullptr;
}

bool isComplexType(const xmlNode* node) {
    return isXsdElement(node, "complexType");
}

xmlNode* contentModelOf(xmlNode* declaration) {
    return firstChild(firstChild(declaration, &isComplexType), &isModelGroup);
}

// The element declarations of a content model, without looking inside them.
void collectDeclarations(xmlNode* group, std::vector<xmlNode*>& declarations) {
    for (xmlNode* child = group->children; child; child = child->next) {
        if (isXsdElement(child, "element"))
            declarations.push_back(child);
        else if (isModelGroup(child))
            collectDeclarations(child, declarations);
    }
}

} // namespace

xmlNode* findDeclaration(xmlDoc& schemaDoc, const std::vector<std::string>& path) {
    xmlNode* const root = xmlDocGetRootElement(&schemaDoc);
    if (!root)
        return nullptr;
    xmlNode* found = nullptr;
    for (const std::string& name : path) {
        std::vector<xmlNode*> candidates;
        if (!found) {
            for (xmlNode* child = root->children; child; child = child->next)
                if (isXsdElement(child, "element"))
                    candidates.push_back(child);
        } else if (xmlNode* model = contentModelOf(found)) {
            collectDeclarations(model, candidates);
        }
        found = nullptr;
        for (xmlNode* candidate : candidates)
            if (hasName(candidate, name)) {
                found = candidate;
                break;
            }
        if (!found)
            return nullptr;
    }
    return found;
}

std::optional<std::set<std::string>> relaxContentModel(xmlDoc& schemaDoc,
                                                       const std::vector<std::string>& path) {
    if (path.empty())
        return std::nullopt;
    xmlNode* model = contentModelOf(findDeclaration(schemaDoc, path));
    if (!model)
        return std::nullopt;

    std::vector<xmlNode*> declarations;
    collectDeclarations(model, declarations);
    xmlNode* choice = xmlNewDocNode(&schemaDoc, model->ns, xml("choice"), nullptr);
    xmlSetProp(choice, xml("minOccurs"), xml("0"));
    xmlSetProp(choice, xml("maxOccurs"), xml("unbounded"));
    std::set<std::string> names;
    for (xmlNode* declaration : declarations) {
        xmlChar* name = xmlGetNoNsProp(declaration, xml("name"));
        // A second declaration of the same name would make the choice ambiguous; the first one
        // checks the children of that name.
        const bool first = name && names.insert(reinterpret_cast<const char*>(name)).second;
        xmlFree(name);
        if (!first)
            continue;
        xmlUnlinkNode(declaration);
        xmlUnsetProp(declaration, xml("minOccurs"));
        xmlUnsetProp(declaration, xml("maxOccurs"));
        xmlAddChild(choice, declaration);
    }
    xmlReplaceNode(model, choice);
    xmlFreeNode(model);
    return names;
}

} // namespace xml
