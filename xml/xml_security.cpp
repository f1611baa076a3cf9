#include "xml/xml_security.h"

#include "core/path_text.h"
#include "core/text.h"
#include "xml/leaf_text_references.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <fstream>
#include <system_error>

namespace xml {
namespace {

// What one parse has seen; reached from libxml2's callbacks through the context's _private.
struct ParseState {
    bool failed = false;
    XmlParseError first;
};

ParseState& stateOf(void* ctx) {
    return *static_cast<ParseState*>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

long bytesConsumed(xmlParserCtxtPtr ctxt) {
    return ctxt->input ? std::max(0L, xmlByteConsumed(ctxt)) : 0L;
}

void record(ParseState& state, XmlParseError error) {
    if (state.failed)
        return;
    state.failed = true;
    state.first = std::move(error);
}

// Only the first error is kept: later ones are usually consequences of it.
void onError(void* ctx, xmlErrorPtr error) {
    if (error->level < XML_ERR_ERROR)
        return;
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    record(stateOf(ctx), {error->code, libxmlMessage(error->message), error->line, error->int2,
                          bytesConsumed(ctxt)});
}

void refuseEntity(void* ctx, const xmlChar* name) {
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    const std::string entity = name ? reinterpret_cast<const char*>(name) : "";
    record(stateOf(ctx), {XML_ERR_USER_STOP,
                          "Declaração da entidade '" + entity +
                              "' recusada: documentos que declaram entidades não são aceitos.",
                          ctxt->input ? ctxt->input->line : 0, ctxt->input ? ctxt->input->col : 0,
                          bytesConsumed(ctxt)});
    xmlStopParser(ctxt);
}

void onEntityDecl(void* ctx, const xmlChar* name, int, const xmlChar*, const xmlChar*, xmlChar*) {
    refuseEntity(ctx, name);
}

void onUnparsedEntityDecl(void* ctx, const xmlChar* name, const xmlChar*, const xmlChar*,
                          const xmlChar*) {
    refuseEntity(ctx, name);
}

XmlParseResult failure(int code, std::string reason) {
    XmlParseResult result;
    result.error.code = code;
    result.error.reason = std::move(reason);
    return result;
}

XmlParseResult tooBig(std::size_t size, std::size_t limit) {
    return failure(XML_IO_EFBIG, "O documento tem " + std::to_string(size) +
                                     " bytes e excede o limite de " + std::to_string(limit) +
                                     " bytes.");
}

std::size_t effectiveLimit(const XmlReadOptions& options) {
    return std::min<std::size_t>(options.maxBytes, INT_MAX);
}

void ignoreMessage(void*, const char*, ...) {}

// Some libxml2 failures (a document in an encoding it cannot convert, for one) are reported only
// through its generic error output, which prints to standard error. The parse records its own
// finding; the generic output is silenced while it runs.
class SilentGenericErrors {
public:
    SilentGenericErrors() : handler_(xmlGenericError), context_(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, &ignoreMessage);
    }
    ~SilentGenericErrors() { xmlSetGenericErrorFunc(context_, handler_); }
    SilentGenericErrors(const SilentGenericErrors&) = delete;
    SilentGenericErrors& operator=(const SilentGenericErrors&) = delete;

private:
    xmlGenericErrorFunc handler_;
    void* context_;
};

// Removes the whitespace-only text children of every element whose content is elements laid out
// with blanks (no other text, no xml:space="preserve"). Done on the tree rather than by the
// parser, whose choice depends on where its input chunks happen to end (a CR can split a run of
// blanks), so the same content gives the same tree whatever its line breaks.
void dropLayoutBlanks(xmlNode* element) {
    bool hasElement = false;
    bool hasOtherText = false;
    for (xmlNode* child = element->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) {
            hasElement = true;
            dropLayoutBlanks(child);
        } else if (child->type == XML_CDATA_SECTION_NODE ||
                   (child->type == XML_TEXT_NODE && !xmlIsBlankNode(child))) {
            hasOtherText = true;
        }
    }
    if (!hasElement || hasOtherText || xmlNodeGetSpacePreserve(element) == 1)
        return;
    for (xmlNode* child = element->children; child;) {
        xmlNode* next = child->next;
        if (child->type == XML_TEXT_NODE) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
}

XmlParseResult parseText(std::string_view bytes, const char* url, const XmlReadOptions& options) {
    if (bytes.size() > effectiveLimit(options))
        return tooBig(bytes.size(), effectiveLimit(options));

    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> ctxt(xmlNewParserCtxt(),
                                                                      &xmlFreeParserCtxt);
    if (!ctxt)
        return failure(XML_ERR_NO_MEMORY, "Memória insuficiente para ler o documento.");
    ParseState state;
    ctxt->_private = &state;
    ctxt->sax->serror = &onError;
    ctxt->sax->entityDecl = &onEntityDecl;
    ctxt->sax->unparsedEntityDecl = &onUnparsedEntityDecl;

    // No XML_PARSE_NOENT, DTDLOAD, DTDATTR, DTDVALID, XINCLUDE or HUGE: nothing outside the text
    // is fetched and libxml2's own limits on depth and node sizes stay on.
    const int flags = XML_PARSE_NONET;
    const SilentGenericErrors silent;
    XmlDoc doc(xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), url,
                                 nullptr, flags));
    if (!state.failed && (!doc || !ctxt->wellFormed))
        record(state, {ctxt->errNo, "Documento XML inválido.", 0, 0, bytesConsumed(ctxt.get())});
    if (state.failed) {
        XmlParseResult result;
        result.error = std::move(state.first);
        return result;
    }
    if (options.dropBlankText)
        dropLayoutBlanks(xmlDocGetRootElement(doc.get()));
    return {std::move(doc), {}};
}

XmlParseResult parse(std::string_view bytes, const char* url, const XmlReadOptions& options) {
    static const bool initialised = (xmlInitParser(), true);
    (void)initialised;
    // The same tree, read faster; a rewritten text that is refused says nothing about the
    // original, which is then read as it is.
    if (bytes.size() <= effectiveLimit(options))
        if (const auto faster = leafTextAsCharacterReferences(bytes)) {
            XmlParseResult parsed = parseText(*faster, url, options);
            if (parsed.doc)
                return parsed;
        }
    return parseText(bytes, url, options);
}

} // namespace

std::string libxmlMessage(const char* message) {
    std::string line;
    for (const char* c = message ? message : ""; *c; ++c)
        line += (*c == '\n' || *c == '\r') ? ' ' : *c;
    return core::trimmed(line);
}

XmlParseResult parseXmlSafely(std::string_view bytes, const XmlReadOptions& options) {
    return parse(bytes, nullptr, options);
}

XmlParseResult readXmlFileSafely(const std::filesystem::path& file, const XmlReadOptions& options) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec == std::errc::no_such_file_or_directory)
        return failure(XML_IO_ENOENT, "Arquivo não encontrado: " + core::utf8FromPath(file));
    if (ec)
        return failure(XML_IO_EIO, "Não foi possível ler o arquivo: " + core::utf8FromPath(file));
    if (size > effectiveLimit(options))
        return tooBig(size, effectiveLimit(options));

    std::string bytes(size, '\0');
    std::ifstream in(file, std::ios::binary);
    if (!in.read(bytes.data(), static_cast<std::streamsize>(size)))
        return failure(XML_IO_EIO, "Não foi possível ler o arquivo: " + core::utf8FromPath(file));
    return parse(bytes, core::utf8FromPath(file).c_str(), options);
}

} // namespace xml
