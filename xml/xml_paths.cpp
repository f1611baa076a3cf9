#include "xml/xml_paths.h"

namespace xml {

const xmlNode* childElement(const xmlNode* node, std::string_view name) {
    if (!node)
        return nullptr;
    for (const xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && name == reinterpret_cast<const char*>(child->name))
            return child;
    return nullptr;
}

std::string textContent(const xmlNode* node) {
    if (!node)
        return {};
    xmlChar* content = xmlNodeGetContent(node);
    std::string text = content ? reinterpret_cast<const char*>(content) : "";
    xmlFree(content);
    return text;
}

std::string pathText(const xmlNode* root, std::initializer_list<std::string_view> path) {
    if (!root || path.size() == 0 || *path.begin() != reinterpret_cast<const char*>(root->name))
        return {};
    const xmlNode* node = root;
    for (auto step = path.begin() + 1; step != path.end() && node; ++step)
        node = childElement(node, *step);
    return textContent(node);
}

std::string attribute(const xmlNode* node, const char* name) {
    if (!node)
        return {};
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

std::string describe(const xml::XmlParseError& error) {
    if (error.line > 0)
        return error.reason + " (linha " + std::to_string(error.line) + ")";
    return error.reason;
}

} // namespace xml
