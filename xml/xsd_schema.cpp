#include "xml/xsd_schema.h"

#include "core/path_text.h"
#include "xml/schema_includes.h"

#include <libxml/xmlerror.h>

#include <new>
#include <stdexcept>
#include <vector>

namespace xml {
namespace {

constexpr char kXsdNamespace[] = "http://www.w3.org/2001/XMLSchema";
constexpr std::size_t kMaxReportedSchemaErrors = 10;

const xmlChar* xml(const char* text) {
    return reinterpret_cast<const xmlChar*>(text);
}

void stripUnder(xmlNode* node) {
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE)
            continue;
        if (isXsdElement(child, "pattern")) {
            if (xmlChar* value = xmlGetNoNsProp(child, xml("value"))) {
                const std::string stripped = withoutAnchors(reinterpret_cast<const char*>(value));
                xmlFree(value);
                xmlSetProp(child, xml("value"), xml(stripped.c_str()));
            }
        }
        stripUnder(child);
    }
}

struct SchemaParseErrors {
    std::string file;
    std::vector<std::string> lines;
};

void onSchemaError(void* data, xmlErrorPtr error) {
    auto& errors = *static_cast<SchemaParseErrors*>(data);
    if (error->level < XML_ERR_ERROR || errors.lines.size() >= kMaxReportedSchemaErrors)
        return;
    errors.lines.push_back(errors.file + ":" + std::to_string(error->line) + ": " +
                           libxmlMessage(error->message));
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

} // namespace

bool isXsdElement(const xmlNode* node, const char* localName) {
    return node->type == XML_ELEMENT_NODE && node->ns &&
           xmlStrEqual(node->ns->href, xml(kXsdNamespace)) &&
           xmlStrEqual(node->name, xml(localName));
}

std::string withoutAnchors(std::string_view pattern) {
    std::string result;
    std::size_t branchStart = 0;
    bool escaped = false;
    int classDepth = 0;
    int groupDepth = 0;
    bool endsWithAnchor = false; // the last character seen is an unescaped top-level '$'

    const auto addBranch = [&](std::size_t end) {
        std::string_view branch = pattern.substr(branchStart, end - branchStart);
        if (!branch.empty() && branch.front() == '^')
            branch.remove_prefix(1);
        if (endsWithAnchor && !branch.empty())
            branch.remove_suffix(1);
        result += branch;
    };

    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        const bool literal = escaped;
        escaped = !literal && c == '\\';
        const bool topLevel = !literal && classDepth == 0 && groupDepth == 0;
        if (topLevel && c == '|') {
            addBranch(i);
            result += '|';
            branchStart = i + 1;
        }
        endsWithAnchor = topLevel && c == '$';
        if (literal)
            continue;
        if (c == '[')
            ++classDepth;
        else if (c == ']' && classDepth > 0)
            --classDepth;
        else if (classDepth == 0 && c == '(')
            ++groupDepth;
        else if (classDepth == 0 && c == ')' && groupDepth > 0)
            --groupDepth;
    }
    addBranch(pattern.size());
    return result;
}

void stripPatternAnchors(xmlDoc& schemaDoc) {
    stripUnder(reinterpret_cast<xmlNode*>(&schemaDoc));
}

XsdSchema compileXsdSchema(XmlDoc schemaDoc, const std::string& name) {
    std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> ctxt(
        xmlSchemaNewDocParserCtxt(schemaDoc.get()), &xmlSchemaFreeParserCtxt);
    if (!ctxt)
        throw std::bad_alloc();
    SchemaParseErrors errors{name, {}};
    xmlSchemaSetParserStructuredErrors(ctxt.get(), &onSchemaError, &errors);
    XsdSchema result{std::move(schemaDoc), {}};
    {
        const SafeSchemaIncludes includes;
        result.schema.reset(xmlSchemaParse(ctxt.get()));
    }
    if (!result.schema || !errors.lines.empty())
        throw std::runtime_error(errors.lines.empty() ? name + ": esquema XSD inválido."
                                                      : joined(errors.lines));
    return result;
}

XmlDoc readSchemaDocument(const std::filesystem::path& file) {
    XmlParseResult parsed = readXmlFileSafely(file);
    if (!parsed.doc)
        throw std::runtime_error(core::utf8FromPath(file) + ":" +
                                 std::to_string(parsed.error.line) + ": " + parsed.error.reason);
    stripPatternAnchors(*parsed.doc);
    return std::move(parsed.doc);
}

XsdSchema loadXsdSchema(const std::filesystem::path& file) {
    return compileXsdSchema(readSchemaDocument(file), core::utf8FromPath(file));
}

} // namespace xml
