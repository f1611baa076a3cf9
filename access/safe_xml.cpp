#include "access/safe_xml.h"

#include <libxml/parser.h>

#include <fstream>
#include <mutex>

namespace backend {
namespace {

std::string mib(std::size_t bytes) {
    return std::to_string(bytes >> 20) + " MiB";
}

std::string parserMessage(const xmlError* e) {
    if (!e || !e->message)
        return "documento XML inválido";
    std::string message = e->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    if (e->line > 0 && message.find(" line ") == std::string::npos)
        message += " (linha " + std::to_string(e->line) + ")";
    return message;
}

struct FreeContext {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

} // namespace

void XmlDocument::Free::operator()(xmlDoc* doc) const {
    xmlFreeDoc(doc);
}

std::optional<XmlDocument> XmlDocument::parse(std::string_view bytes, std::string& error) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { xmlInitParser(); });
    if (bytes.size() > maxXmlBytes) {
        error = "documento maior que " + mib(maxXmlBytes);
        return std::nullopt;
    }
    std::unique_ptr<xmlParserCtxt, FreeContext> ctxt(xmlNewParserCtxt());
    if (!ctxt) {
        error = "sem memória para o analisador XML";
        return std::nullopt;
    }
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD or XML_PARSE_DTDATTR: nothing outside the bytes is
    // loaded and no entity is substituted.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xmlDoc* doc =
        xmlCtxtReadMemory(ctxt.get(), bytes.data(), int(bytes.size()), nullptr, nullptr, options);
    if (!doc || !ctxt->wellFormed) {
        error = parserMessage(xmlCtxtGetLastError(ctxt.get()));
        xmlFreeDoc(doc);
        return std::nullopt;
    }
    XmlDocument document(doc);
    if (doc->intSubset || doc->extSubset) {
        error = "documento com DTD não é aceito";
        return std::nullopt;
    }
    if (!document.root()) {
        error = "documento sem elemento raiz";
        return std::nullopt;
    }
    return document;
}

const xmlNode* XmlDocument::root() const {
    return xmlDocGetRootElement(doc_.get());
}

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

std::optional<std::string> readFileWithin(const std::filesystem::path& file, std::size_t limit,
                                          std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "não foi possível abrir o arquivo";
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, std::size_t(in.gcount()));
        if (bytes.size() > limit) {
            error = "arquivo maior que " + mib(limit);
            return std::nullopt;
        }
    }
    if (in.bad()) {
        error = "erro de leitura do arquivo";
        return std::nullopt;
    }
    return bytes;
}

} // namespace backend
