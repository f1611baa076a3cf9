#include "emulator/sale/xml.h"

namespace emulator {

ParsedXml parseUntrusted(std::string_view bytes, std::size_t maxBytes) {
    while (!bytes.empty() && (bytes.front() == ' ' || bytes.front() == '\t' ||
                              bytes.front() == '\r' || bytes.front() == '\n'))
        bytes.remove_prefix(1);
    if (bytes.empty())
        return {nullptr, "Documento vazio"};
    xml::XmlReadOptions options;
    options.maxBytes = maxBytes;
    xml::XmlParseResult parsed = xml::parseXmlSafely(bytes, options);
    if (!parsed.doc) {
        const auto& error = parsed.error;
        return {nullptr, error.line > 0 ? "XML mal formado (linha " + std::to_string(error.line) +
                                              "): " + error.reason
                                        : error.reason};
    }
    if (xmlDocGetRootElement(parsed.doc.get()) == nullptr)
        return {nullptr, "Documento sem elemento raiz"};
    return {std::move(parsed.doc), {}};
}

std::string_view nameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

std::vector<xmlNode*> childElements(const xmlNode* node) {
    std::vector<xmlNode*> elements;
    for (xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE)
            elements.push_back(c);
    }
    return elements;
}

xmlNode* child(const xmlNode* node, std::string_view name) {
    for (xmlNode* c = node->children; c != nullptr; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && nameOf(c) == name)
            return c;
    }
    return nullptr;
}

std::string textOf(const xmlNode* node) {
    std::string text;
    for (const xmlNode* c = node->children; c != nullptr; c = c->next) {
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content)
            text += reinterpret_cast<const char*>(c->content);
        else if (c->type == XML_ELEMENT_NODE)
            text += textOf(c);
    }
    return text;
}

std::string childText(const xmlNode* node, std::string_view name) {
    const xmlNode* c = child(node, name);
    return c ? textOf(c) : std::string{};
}

bool attribute(const xmlNode* node, const char* name, std::string& value) {
    xmlChar* raw = xmlGetNoNsProp(node, reinterpret_cast<const xmlChar*>(name));
    if (raw == nullptr)
        return false;
    value = reinterpret_cast<const char*>(raw);
    xmlFree(raw);
    return true;
}

xmlNode* addText(xmlNode* parent, const char* name, std::string_view text) {
    xmlNode* element = addElement(parent, name);
    xmlNodeAddContentLen(element, reinterpret_cast<const xmlChar*>(text.data()),
                         static_cast<int>(text.size()));
    return element;
}

xmlNode* addElement(xmlNode* parent, const char* name) {
    return xmlNewChild(parent, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
}

std::string serialize(xmlDoc* doc) {
    xmlChar* buffer = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc, &buffer, &size, "UTF-8");
    std::string text(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(size));
    xmlFree(buffer);
    return text;
}

} // namespace emulator
