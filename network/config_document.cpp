#include "network/config_document.h"

#include "core/text.h"

#include <libxml/tree.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace network {
namespace {

using Document = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

const xmlChar* xml(const std::string& text) {
    return reinterpret_cast<const xmlChar*>(text.c_str());
}

void refuseUnwritable(std::string_view name, std::string_view value) {
    const auto problem = [&](std::string_view what) {
        return std::invalid_argument("O valor de " + std::string(name) + " " + std::string(what) +
                                     ": corrija-o antes de enviar.");
    };
    if (core::decodeUtf8(value) != value)
        throw problem("não é texto UTF-8 válido");
    if (std::any_of(value.begin(), value.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
        throw problem("contém um caractere de controle");
    // U+FFFE and U+FFFF are valid UTF-8 but not characters XML may hold.
    for (std::size_t pos = 0; pos < value.size();) {
        const char32_t codePoint = core::nextCodePoint(value, pos);
        if (codePoint == 0xFFFE || codePoint == 0xFFFF)
            throw problem("contém um caractere que o XML não admite");
    }
}

// The value as the element's children: text, with every "|" as a character reference.
void appendValue(xmlDoc* doc, xmlNode* element, std::string_view value) {
    while (!value.empty()) {
        const std::size_t bar = std::min(value.find('|'), value.size());
        if (bar > 0)
            xmlAddChild(element,
                        xmlNewDocTextLen(doc, reinterpret_cast<const xmlChar*>(value.data()),
                                         static_cast<int>(bar)));
        if (bar == value.size())
            return;
        xmlAddChild(element, xmlNewCharRef(doc, BAD_CAST "&#124;"));
        value.remove_prefix(bar + 1);
    }
}

} // namespace

std::string configurationText(std::span<const ConfigElement> elements) {
    Document doc(xmlNewDoc(BAD_CAST "1.0"), xmlFreeDoc);
    xmlNode* root = xmlNewDocNode(doc.get(), nullptr, BAD_CAST "config", nullptr);
    xmlDocSetRootElement(doc.get(), root);
    for (const ConfigElement& element : elements) {
        const std::string name(element.name);
        refuseUnwritable(name, element.value);
        appendValue(doc.get(), xmlNewChild(root, nullptr, xml(name), nullptr), element.value);
    }
    xmlChar* bytes = nullptr;
    int size = 0;
    xmlDocDumpMemoryEnc(doc.get(), &bytes, &size, "utf-8");
    if (bytes == nullptr)
        throw std::runtime_error("não foi possível escrever o documento de configuração");
    std::string text(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
    xmlFree(bytes);
    // The serialiser ends the declaration and the document with a line break; values hold no
    // control character, so every line break is one of those two.
    std::erase(text, '\n');
    return text;
}

} // namespace network
