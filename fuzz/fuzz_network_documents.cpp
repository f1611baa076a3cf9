// The network configuration documents, from any form values. Byte 0 chooses the SAT page, the
// MF-e page or the document writer alone; the rest are the values, separated by NUL bytes. The
// analysis of UTF-8 values is UTF-8; a document "Mostrar" builds is UTF-8 on one line without "|"
// and well-formed (the MF-e's text is four "|"-separated slots: the ETHERNET document, the 3G/GPRS
// document or nothing, and two empty ones); the writer's elements read back as the values given.

#include "core/catalogue.h"
#include "fuzz/fuzz_support.h"
#include "network/config_document.h"
#include "network/configurar_interface.h"
#include "network/configurar_interface_mfe.h"
#include "xml/xml_security.h"

#include <libxml/tree.h>

#include <algorithm>
#include <span>
#include <stdexcept>

namespace {

void requireDocument(std::string_view document) {
    fuzz::require(fuzz::isUtf8(document), "the document is UTF-8", document);
    fuzz::require(document.find_first_of("\r\n|") == std::string_view::npos,
                  "the document is one line without separators", document);
    fuzz::require(fuzz::isWellFormedXml(document), "the document is well-formed", document);
}

void checkPage(std::string_view name, std::span<const core::InputField> fields,
               std::string_view values) {
    core::Inputs inputs;
    inputs.set("codigo", "12345678");
    const auto given = fuzz::parts(values, '\0', fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].kind != core::InputField::Kind::FileContents && fields[i].key != "codigo")
            inputs.set(fields[i].key, given[i]);
    }
    const core::Operation* operation = core::operationByName(name);
    core::OperationLogic logic = name == "ConfigurarInterfaceDeRede"
                                     ? network::bindConfigurarInterface(*operation, inputs, {})
                                     : network::bindConfigurarInterfaceMfe(*operation, inputs, {});
    // The window's edits give UTF-8; only then must the analysis, which quotes values, be UTF-8.
    const core::Lines analysis = logic.analyse();
    if (std::all_of(given.begin(), given.end(), fuzz::isUtf8))
        fuzz::requireUtf8(analysis, "the analysis");

    core::PreparedCall call;
    try {
        call = logic.prepare("000001");
    } catch (const std::exception&) {
        return; // a value no document can carry: "Mostrar" says so and sends nothing
    }
    fuzz::require(fuzz::isUtf8(call.text), "the call text is UTF-8", call.text);
    const std::string& text = call.arguments.back().text;
    if (name == "ConfigurarInterfaceDeRede") {
        requireDocument(text);
        return;
    }
    const auto slots = fuzz::parts(text, '|', 5);
    fuzz::require(slots[3].empty() && slots[4].empty() && text.ends_with("||"),
                  "the extended text has four slots, the last two empty", text);
    requireDocument(slots[0]);
    if (!slots[1].empty())
        requireDocument(slots[1]);
}

// The writer alone: up to eight elements with the given values.
void checkWriter(std::string_view values) {
    static constexpr std::string_view names[] = {"tipoInter",  "tipoLan",    "lanIP",
                                                 "lanMask",    "lanGW",      "lanDNS1",
                                                 "proxy_user", "proxy_senha"};
    const auto given = fuzz::parts(values, '\0', std::size(names));
    std::vector<network::ConfigElement> elements;
    for (std::size_t i = 0; i < given.size(); ++i)
        elements.push_back({names[i], given[i]});
    std::string document;
    try {
        document = network::configurationText(elements);
    } catch (const std::invalid_argument&) {
        return;
    }
    requireDocument(document);
    const auto parsed = xml::parseXmlSafely(document);
    const xmlNode* child = xmlDocGetRootElement(parsed.doc.get())->children;
    for (const auto& element : elements) {
        while (child && child->type != XML_ELEMENT_NODE)
            child = child->next;
        fuzz::require(child && element.name == reinterpret_cast<const char*>(child->name),
                      "the elements in order", element.name);
        xmlChar* content = xmlNodeGetContent(child);
        const std::string text(reinterpret_cast<const char*>(content));
        xmlFree(content);
        fuzz::require(text == element.value, "a value reads back as given", element.value);
        child = child->next;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [selector, values] = fuzz::splitSelector(data, size);
    switch (selector % 3) {
    case 0:
        checkPage("ConfigurarInterfaceDeRede", network::configurarInterfaceFields, values);
        break;
    case 1:
        checkPage("ConfigurarInterfaceDeRedeMFE", network::configurarInterfaceMfeFields, values);
        break;
    default:
        checkWriter(values);
        break;
    }
    return 0;
}
