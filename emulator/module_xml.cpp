#include "emulator/module_xml.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <cstring>

namespace emulator {
namespace {

struct CtxtFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

// Set on the parser context when the document declares a document type: the parse stops
// there, before any entity declaration is read.
struct ParseGuard {
    bool doctype = false;
};

void refuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
    auto* ctxt = static_cast<xmlParserCtxt*>(context);
    static_cast<ParseGuard*>(ctxt->_private)->doctype = true;
    xmlStopParser(ctxt);
}

void refuseEntity(void* context, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*) {
    refuseDoctype(context, nullptr, nullptr, nullptr);
}

std::string parseErrorText(xmlParserCtxt* ctxt) {
    const xmlError* error = xmlCtxtGetLastError(ctxt);
    if (error == nullptr || error->message == nullptr)
        return "XML mal formado";
    std::string message = error->message;
    while (!message.empty() && (message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return "XML mal formado (linha " + std::to_string(error->line) + "): " + message;
}

} // namespace

ParsedXml parseUntrusted(std::string_view bytes, std::size_t maxBytes) {
    if (bytes.size() > maxBytes)
        return {nullptr, "Documento maior que " + std::to_string(maxBytes) + " bytes"};
    while (!bytes.empty() && (bytes.front() == ' ' || bytes.front() == '\t' ||
                              bytes.front() == '\r' || bytes.front() == '\n'))
        bytes.remove_prefix(1);
    if (bytes.empty())
        return {nullptr, "Documento vazio"};

    std::unique_ptr<xmlParserCtxt, CtxtFree> ctxt(
        xmlCreateMemoryParserCtxt(bytes.data(), static_cast<int>(bytes.size())));
    if (!ctxt)
        return {nullptr, "Sem memória para ler o documento"};
    xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    ParseGuard guard;
    ctxt->_private = &guard;
    ctxt->sax->internalSubset = refuseDoctype;
    ctxt->sax->externalSubset = refuseDoctype;
    ctxt->sax->entityDecl = refuseEntity;
    xmlParseDocument(ctxt.get());
    XmlDoc doc(ctxt->myDoc);
    ctxt->myDoc = nullptr;
    if (guard.doctype)
        return {nullptr, "Declaração DOCTYPE não é aceita no documento"};
    if (!doc || !ctxt->wellFormed)
        return {nullptr, parseErrorText(ctxt.get())};
    if (xmlDocGetRootElement(doc.get()) == nullptr)
        return {nullptr, "Documento sem elemento raiz"};
    return {std::move(doc), {}};
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
