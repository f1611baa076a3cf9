// Validation of a document file against a fixed small schema (schema/venda_minima.xsd): the
// findings are UTF-8; a text the reader refuses gives exactly one finding and IsValidXMLFile
// says so; a well-formed one has no finding exactly when libxml2 finds it valid as a whole, so
// no error of the schema is ever lost on the way to the elements.

#include "fuzz/fuzz_support.h"
#include "xml/xml_validation.h"

#include <libxml/xmlschemas.h>

namespace {

bool validAsAWhole(xmlDoc* doc) {
    static const xml::XsdSchema schema = xml::loadXsdSchema(FUZZ_SCHEMA_FILE);
    xmlSchemaValidCtxt* context = xmlSchemaNewValidCtxt(schema.schema.get());
    xmlSchemaSetValidStructuredErrors(
        context, [](void*, xmlError*) {}, nullptr);
    const int result = xmlSchemaValidateDoc(context, doc);
    xmlSchemaFreeValidCtxt(context);
    return result == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto file = fuzz::scratchFolder() / "CFe.xml";
    fuzz::writeFile(file, bytes);

    const core::Lines findings = xml::ValidarXmlComXsd(file, FUZZ_SCHEMA_FILE);
    fuzz::requireUtf8(findings, "the findings");
    std::string message;
    const bool readable = xml::IsValidXMLFile(file, message);
    const auto parsed = xml::parseXmlSafely(bytes);
    fuzz::require(readable == (parsed.doc != nullptr), "IsValidXMLFile agrees with the reader");
    if (!readable) {
        fuzz::require(findings.size() == 1 && findings[0] == message,
                      "a refused text gives its one message", message);
        return 0;
    }
    fuzz::require(findings.empty() == validAsAWhole(parsed.doc.get()),
                  "no finding exactly when the document is valid",
                  findings.empty() ? "" : findings[0]);
    return 0;
}
