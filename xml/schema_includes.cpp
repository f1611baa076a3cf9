#include "xml/schema_includes.h"

#include "core/path_text.h"
#include "xml/xml_security.h"
#include "xml/xsd_schema.h"

#include <libxml/parserInternals.h>
#include <libxml/uri.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace xml {
namespace {

thread_local SafeSchemaIncludes* active = nullptr;

std::string unescaped(std::string_view text) {
    char* plain = xmlURIUnescapeString(std::string(text).c_str(), 0, nullptr);
    std::string result = plain ? plain : "";
    xmlFree(plain);
    return result;
}

// The path of a file URL as libxml2 builds them: file:///home/x here; file:///C:/x and
// file:/C:/x on Windows, where the slash before the drive letter is not part of the path.
std::filesystem::path fileUrlPath(std::string_view afterScheme) {
    if (afterScheme.starts_with("//"))
        afterScheme.remove_prefix(2);
#ifdef _WIN32
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (afterScheme.size() >= 3 && afterScheme[0] == '/' && isLetter(afterScheme[1]) &&
        afterScheme[2] == ':')
        afterScheme.remove_prefix(1);
#endif
    return core::pathFromUtf8(unescaped(afterScheme));
}

// The local file a URL built by libxml2 names; nothing for any other scheme than file.
std::optional<std::filesystem::path> localFile(std::string_view url) {
    constexpr std::string_view fileScheme = "file:";
    if (url.starts_with(fileScheme))
        return fileUrlPath(url.substr(fileScheme.size()));
    if (url.find("://") != std::string_view::npos)
        return std::nullopt;
    const std::filesystem::path asGiven = core::pathFromUtf8(url);
    std::error_code ec;
    if (std::filesystem::exists(asGiven, ec))
        return asGiven;
    return core::pathFromUtf8(unescaped(url)); // a folder name with blanks comes escaped
}

} // namespace

SafeSchemaIncludes::SafeSchemaIncludes() : previous_(xmlGetExternalEntityLoader()), outer_(active) {
    active = this;
    xmlSetExternalEntityLoader(&SafeSchemaIncludes::load);
}

SafeSchemaIncludes::~SafeSchemaIncludes() {
    xmlSetExternalEntityLoader(previous_);
    active = outer_;
}

xmlParserInputPtr SafeSchemaIncludes::load(const char* url, const char*, xmlParserCtxtPtr ctxt) {
    const auto file = url && active ? localFile(url) : std::nullopt;
    if (!file)
        return nullptr;
    const XmlParseResult parsed = readXmlFileSafely(*file);
    if (!parsed.doc)
        return nullptr;
    stripPatternAnchors(*parsed.doc);
    xmlChar* text = nullptr;
    int size = 0;
    xmlDocDumpMemory(parsed.doc.get(), &text, &size);
    if (!text)
        return nullptr;
    const std::string& kept =
        active->texts_.emplace_back(reinterpret_cast<char*>(text), static_cast<std::size_t>(size));
    xmlFree(text);

    xmlParserInputBufferPtr buffer =
        xmlParserInputBufferCreateMem(kept.data(), size, XML_CHAR_ENCODING_NONE);
    if (!buffer)
        return nullptr;
    xmlParserInputPtr input = xmlNewIOInputStream(ctxt, buffer, XML_CHAR_ENCODING_NONE);
    if (!input) {
        xmlFreeParserInputBuffer(buffer);
        return nullptr;
    }
    // The included file's own includes are found relative to it.
    input->filename = reinterpret_cast<char*>(xmlStrdup(reinterpret_cast<const xmlChar*>(url)));
    return input;
}

} // namespace xml
