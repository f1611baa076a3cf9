// The cancellation generators, on any issued CF-e file: both generated CFeCanc documents are
// well-formed UTF-8 on one line, carry the issued CF-e's Id as chCanc, are saved as written (with
// CR LF after them), and say the values they took from the CF-e.

#include "documents/cancellation_request.h"
#include "fuzz/fuzz_support.h"
#include "xml/xml_security.h"

#include <libxml/tree.h>

namespace {

// The text of the first element of this name below `node`, or nothing when there is none.
std::optional<std::string> elementText(const xmlNode* node, std::string_view name) {
    for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (name == reinterpret_cast<const char*>(child->name)) {
            xmlChar* content = xmlNodeGetContent(child);
            std::string text(content ? reinterpret_cast<const char*>(content) : "");
            xmlFree(content);
            return text;
        }
        if (auto found = elementText(child, name))
            return found;
    }
    return std::nullopt;
}

void check(const documents::GeneratedCancellation& generated,
           const documents::IssuedCFeValues& values) {
    const std::string& document = generated.document;
    fuzz::require(fuzz::isUtf8(document), "the CFeCanc is UTF-8", document);
    fuzz::require(document.find_first_of("\r\n") == std::string::npos, "the CFeCanc is one line");
    const auto parsed = xml::parseXmlSafely(document);
    fuzz::require(parsed.doc != nullptr, "the CFeCanc is well-formed", document);
    fuzz::require(generated.key == values.key, "the key is the CF-e's Id", generated.key);
    fuzz::require(documents::cancellationKeyOf(generated.file) == values.key,
                  "the saved CFeCanc's chCanc is the CF-e's Id", generated.key);
    fuzz::require(fuzz::readFile(generated.file) == document + "\r\n", "saved as written");
    const xmlNode* root = xmlDocGetRootElement(parsed.doc.get());
    for (const auto& [name, expected] :
         {std::pair{"signAC", &values.signAC}, std::pair{"numeroCaixa", &values.numeroCaixa}}) {
        fuzz::require(elementText(root, name) == *expected, "values are written as read", name);
    }
    fuzz::require(fuzz::isUtf8(generated.message), "the page's message is UTF-8");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto& folder = fuzz::scratchFolder();
    const auto issued = folder / "Resp_venda.xml";
    fuzz::writeFile(issued, {reinterpret_cast<const char*>(data), size});
    const documents::IssuedCFeValues values = documents::readIssuedCFe(issued);
    for (const auto* value : {&values.key, &values.cnpj, &values.signAC, &values.numeroCaixa,
                              &values.customerCnpj, &values.customerCpf})
        fuzz::require(fuzz::isUtf8(*value), "values read are UTF-8", *value);

    for (const auto layout : {documents::Layout::V006, documents::Layout::V007}) {
        check(documents::generateFromIssuedCFe(issued.string(), layout, folder), values);
        check(documents::generateAfterSale(issued, "venda.xml", layout, folder), values);
    }
    return 0;
}
